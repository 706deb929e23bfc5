// The dataset commands of the document window: import, save, open, export and print.
#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/StringTable.h"
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
    if (m_mvals.strMVals.isEmpty()) {
        ReportNoDataset();
    }
    // Printing the dataset arrives with the printing of datasets.
}

void frmDocument::MenuExport() {
    if (m_mvals.strMVals.isEmpty()) {
        ReportNoDataset();
    }
    // Writing the spreadsheet arrives with the spreadsheet export.
}

bool frmDocument::FillFromFile(const QString&) {
    // Reading a dataset file arrives with the dataset files.
    return false;
}
