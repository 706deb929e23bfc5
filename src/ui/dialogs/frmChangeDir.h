#pragma once

#include <QDialog>

class CUsrDefProg;
class QComboBox;
class QFileSystemModel;
class QModelIndex;
class QPushButton;
class QTreeView;
class Ui;

// Chooses the work directory: a volume, a directory in the tree of the file system, or a
// new directory made on the spot.
class frmChangeDir : public QDialog {
    Q_OBJECT
public:
    frmChangeDir(const CUsrDefProg& usrDefProg, Ui& ui, QWidget* parent = nullptr);

    // Shows the dialog modally; the chosen directory, or "" when the user cancelled.
    QString Path();

    // The directory selected in the tree (the volume's root when none is).
    QString SelectedDirectory() const;
    void SetDirectory(const QString& path);

    QComboBox* drv = nullptr;
    QTreeView* dir = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdNewDir = nullptr;

    void drv_Change();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdNewDir_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LayOut();
    void KeepSelectionInView(const QModelIndex& changed);
    void Form_Load();
    void FillVolumes();
    void ShowRoot(const QString& root);

    const CUsrDefProg& m_usrDefProg;
    Ui& m_ui;
    QFileSystemModel* m_model = nullptr;
    QString m_path;
    // The tree keeps the selected directory in view while it fills, until the user moves it.
    bool m_followSelection = true;
};
