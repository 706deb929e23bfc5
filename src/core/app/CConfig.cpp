#include "app/CConfig.h"

#include "app/CCSVFile.h"
#include "app/ErrorTrap.h"
#include "app/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kDirPrefix = QStringLiteral("Dir = ");

} // namespace

QString CConfig::SpecialFolderPath(int number) {
    return Trapped(m_ui, QString(), [&] {
        QString path;
        if (number == kDocumentsFolder) {
            path = DocumentsFolder();
        } else if (number == kAppDataFolder) {
            const QString base =
                QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
            if (!base.isEmpty()) {
                path = JoinPath(base, QStringLiteral("Mervex"));
                QDir().mkpath(path);
            }
        }
        const qsizetype nul = path.indexOf(QChar(u'\0'));
        return nul < 0 ? path : path.left(nul);
    });
}

QString CConfig::ConfigFilePath() {
    return JoinPath(SpecialFolderPath(kAppDataFolder), QStringLiteral("MervexConfig.ini"));
}

QString CConfig::WorkDir() {
    const QString fallback = kDirPrefix + SpecialFolderPath(kDocumentsFolder);
    const QString file = ConfigFilePath();
    if (!QFileInfo::exists(file) && !WriteConfigFile(file, fallback)) {
        return QString();
    }
    QString content;
    if (!ReadConfigFile(content, file)) {
        return QString();
    }
    // The prefix is not checked and nothing is trimmed: the file is taken as it stands.
    return content.size() > kDirPrefix.size() ? content.mid(kDirPrefix.size()) : QString();
}

void CConfig::WorkDir(const QString& strWorkDir) {
    // Replaced atomically, so a failed write keeps the previous work directory.
    WriteConfigFile(ConfigFilePath(), kDirPrefix + strWorkDir);
}

bool CConfig::WriteConfigFile(const QString& path, const QString& text) {
    // A folder name outside Windows-1252 (e.g. "ł") would come back as "?" and not exist:
    // only then is this file written in UTF-8, behind a byte order mark.
    return Trapped(m_ui, false, [&] {
        WriteWholeFileBytes(path, EncodeFileTextExactly(text));
        return true;
    });
}

bool CConfig::ReadConfigFile(QString& text, const QString& path) {
    return CCSVFile(m_ui).ReadFile(text, path);
}
