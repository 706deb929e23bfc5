#include "ui/programs/ProgramMessages.h"

#include "app/Paths.h"
#include "app/TextTables.h"

#include <QFileInfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString ProgramNumberInBrackets(const QString& strProgNum) {
    return QStringLiteral("(") + LoadResString(1076) + QLatin1Char(' ') + strProgNum +
           QLatin1Char(')');
}

QString ReplaceProgramQuestion(const QString& strProgNum, bool fAlreadyExists) {
    const QString exists = fAlreadyExists ? LoadResString(1146) + kCrLf : QString();
    return exists + LoadResString(1105) + kCrLf + ProgramNumberInBrackets(strProgNum);
}

std::optional<QString> AskProgramFilePath(Ui& ui, const QString& workDir,
                                          const QString& strProgNum) {
    const QString name = QStringLiteral("PROG ") + strProgNum;
    const bool inWorkDir = !workDir.isEmpty() && QFileInfo(workDir).isDir();
    FileDialogRequest request;
    request.title = LoadResString(1112);
    request.kind = FileKind::Program;
    request.filter = LoadResString(1113) + QStringLiteral(" (*.csv)|*.csv");
    request.initialDir = inWorkDir ? workDir : QString();
    request.fileName = inWorkDir ? JoinPath(workDir, name) : name;
    request.defaultExtension = QStringLiteral("csv");
    request.overwritePrompt = true;
    request.pathMustExist = true;
    request.hideReadOnly = true;
    return ui.SaveFileDialog(request);
}

void ReportProgramMessage(Ui& ui, int message, int title, MsgIcon icon) {
    ui.Message(LoadResString(message), LoadResString(title), icon);
}
