// The dataset commands of the document window: import, save, open, export and print.
#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/StringTable.h"
#include "data/AskAndPrint.h"
#include "ui/data/frmDocument.h"

#include <QFileInfo>

bool frmDocument::ReportNoDataset() {
    m_services.ui.Message(LoadResString(1055), LoadResString(1054), MsgIcon::Information);
    return false;
}

void frmDocument::MenuImport() {
    // Reading the meter's data memory arrives with the dataset import.
}

bool frmDocument::SaveDocument(QString& strNewPath, bool, const QString&, const MValSet& mvals) {
    strNewPath.clear();
    if (mvals.strMVals.isEmpty()) {
        return ReportNoDataset();
    }
    // Writing the dataset file arrives with the dataset files; until then nothing is saved.
    return false;
}

void frmDocument::MenuFileSave() {
    if (m_strFilePath.isEmpty()) {
        MenuFileSaveAs();
        return;
    }
    SaveAndRemember(true);
}

void frmDocument::MenuFileSaveAs() {
    SaveAndRemember(false);
}

void frmDocument::SaveAndRemember(bool fUseKnownPath) {
    TrappedVoid(m_services.ui, [&] {
        QString newPath;
        if (SaveDocument(newPath, fUseKnownPath, fUseKnownPath ? m_strFilePath : QString(),
                         m_mvals)) {
            m_strFilePath = newPath;
            setWindowTitle(QFileInfo(newPath).fileName());
            m_modified = false;
        }
    });
}

void frmDocument::MenuFilePrint() {
    TrappedVoid(m_services.ui, [&] { PrintDocument(); });
}

bool frmDocument::PrintDocument() {
    if (m_mvals.strMVals.isEmpty()) {
        return ReportNoDataset();
    }
    return AskAndPrint(m_services, [&] {
        return m_services.print.PrintMVals(m_mvals.strMeter, m_mvals.strSerNo, m_mvals.strUser,
                                           m_mvals.curDate, m_mvals.strMVals);
    });
}

void frmDocument::MenuExport() {
    TrappedVoid(m_services.ui, [&] {
        if (m_mvals.strMVals.isEmpty()) {
            ReportNoDataset();
            return;
        }
        FileDialogRequest request;
        request.title = LoadResString(1112);
        request.filter = LoadResString(1059) + QStringLiteral(" (*.xls)|*.xls");
        request.fileName = m_mvals.strMeter;
        request.defaultExtension = QStringLiteral("xls");
        request.overwritePrompt = true;
        request.pathMustExist = true;
        request.hideReadOnly = true;
        const std::optional<QString> path = m_services.ui.SaveFileDialog(request);
        if (!path) {
            return;
        }
        if (!m_services.exportExcel.SetMVals(m_mvals.strMVals, m_mvals.strMeter, m_mvals.strSerNo,
                                             m_mvals.strUser, m_mvals.curDate, *path)) {
            m_services.ui.Message(LoadResString(1058), LoadResString(1033), MsgIcon::Critical);
        }
    });
}

bool frmDocument::FillFromFile(const QString&) {
    // Reading a dataset file arrives with the dataset files.
    return false;
}
