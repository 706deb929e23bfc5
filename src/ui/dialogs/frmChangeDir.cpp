#include "ui/dialogs/frmChangeDir.h"

#include "app/ErrorTrap.h"
#include "app/Paths.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "programs/CUsrDefProg.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/Pictures.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

namespace {

const QString kRoot = QStringLiteral("/");

} // namespace

frmChangeDir::frmChangeDir(const CUsrDefProg& usrDefProg, Ui& ui, QWidget* parent)
    : QDialog(parent), m_usrDefProg(usrDefProg), m_ui(ui) {
    setObjectName(QStringLiteral("frmChangeDir"));
    setProperty("Tag", QStringLiteral("1171"));
    drv = NewControl<QComboBox>(this, "drv");
    dir = NewControl<QTreeView>(this, "dir");
    cmdOK = NewControl<QPushButton>(this, "cmdOK", "1026");
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");
    cmdNewDir = NewControl<QPushButton>(this, "cmdNewDir", "1020");
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(kRoot);
    dir->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        dir->hideColumn(column);
    }
    dir->header()->hide();
    // The model reads folders in the background and sorts them later: rows that arrive
    // above the selected directory push it down, out of view, unless the tree follows.
    connect(
        m_model, &QAbstractItemModel::rowsInserted, this,
        [this](const QModelIndex& parent) { KeepSelectionInView(parent); }, Qt::QueuedConnection);
    connect(
        m_model, &QAbstractItemModel::layoutChanged, this,
        [this] { KeepSelectionInView(QModelIndex()); }, Qt::QueuedConnection);
    // Once the user opens, closes or scrolls the tree, the view is theirs.
    const auto userTakesOver = [this] { m_followSelection = false; };
    connect(dir, &QTreeView::expanded, this, userTakesOver);
    connect(dir, &QTreeView::collapsed, this, userTakesOver);
    connect(dir->verticalScrollBar(), &QScrollBar::actionTriggered, this, userTakesOver);
    LayOut();
    setTabOrder(drv, dir);
    setTabOrder(dir, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, cmdNewDir);
    cmdOK->setDefault(true);
    connect(drv, &QComboBox::activated, this, &frmChangeDir::drv_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmChangeDir::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChangeDir::cmdCancel_Click);
    connect(cmdNewDir, &QPushButton::clicked, this, &frmChangeDir::cmdNewDir_Click);
    Form_Load();
}

void frmChangeDir::LayOut() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNewDir);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(drv);
    layout->addWidget(dir, 1);
    layout->addLayout(buttons);
    resize(420, 460);
}

void frmChangeDir::Form_Load() {
    ApplyCaptions(this);
    setWindowIcon(ProgramIcon());
    FillVolumes();
    const QString workDir = m_usrDefProg.WorkDir();
    SetDirectory(!workDir.isEmpty() && QFileInfo(workDir).isDir() ? workDir : kRoot);
    m_path.clear();
}

// The platform's "drives": the root and the mounted volumes.
void frmChangeDir::FillVolumes() {
    QStringList roots{kRoot};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath())) {
            roots << volume.rootPath();
        }
    }
    std::sort(roots.begin() + 1, roots.end());
    drv->addItems(roots);
}

QString frmChangeDir::Path() {
    exec();
    return m_path;
}

QString frmChangeDir::SelectedDirectory() const {
    const QModelIndex current = dir->currentIndex();
    return current.isValid() ? m_model->filePath(current) : drv->currentText();
}

void frmChangeDir::SetDirectory(const QString& path) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // The volume holding the directory: the longest root that starts its path.
    int volume = 0;
    for (int i = 0; i < drv->count(); ++i) {
        const QString root = drv->itemText(i);
        if ((clean == root || clean.startsWith(JoinPath(root, QString()))) &&
            root.size() > drv->itemText(volume).size()) {
            volume = i;
        }
    }
    drv->setCurrentIndex(volume);
    const QModelIndex index = m_model->index(clean);
    dir->setCurrentIndex(index);
    dir->expand(index);
    dir->scrollTo(index);
    m_followSelection = true;
}

void frmChangeDir::KeepSelectionInView(const QModelIndex& changed) {
    if (!m_followSelection) {
        return;
    }
    const QModelIndex current = dir->currentIndex();
    for (QModelIndex above = current.parent(); current.isValid(); above = above.parent()) {
        if (above == changed) {
            dir->scrollTo(current);
            return;
        }
        if (!above.isValid()) {
            return;
        }
    }
}

void frmChangeDir::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    dir->scrollTo(dir->currentIndex());
}

void frmChangeDir::ShowRoot(const QString& root) {
    SetDirectory(root);
}

void frmChangeDir::drv_Change() {
    const QString root = drv->currentText();
    if (QFileInfo(root).isDir() && QFileInfo(root).isReadable()) {
        ShowRoot(root);
        return;
    }
    ReportError(m_ui, root + QStringLiteral(": ") + LoadResString(1164));
    ShowRoot(kRoot);
}

void frmChangeDir::cmdOK_Click() {
    m_path = SelectedDirectory();
    accept();
}

void frmChangeDir::cmdCancel_Click() {
    m_path.clear();
    reject();
}

void frmChangeDir::cmdNewDir_Click() {
    TrappedVoid(m_ui, [&] {
        const QString base = SelectedDirectory();
        const std::optional<QString> name = m_ui.InputBox(
            LoadResString(1174) + QStringLiteral("\r\n") + base, LoadResString(1175), QString());
        if (!name || name->isEmpty()) {
            return;
        }
        const QString created = JoinPath(base, *name);
        if (name->contains(QLatin1Char('/')) || *name == QLatin1String(".") ||
            *name == QLatin1String("..")) {
            throw MervexError(RunTimeText(RtError::InvalidDirName).arg(*name));
        }
        if (QFileInfo::exists(created)) {
            throw MervexError(RunTimeText(RtError::DirExists).arg(created));
        }
        std::error_code reason;
        if (!std::filesystem::create_directory(std::filesystem::path(created.toStdString()),
                                               reason)) {
            throw MervexError(RunTimeText(RtError::DirCannotCreate)
                                  .arg(created, QString::fromLocal8Bit(reason.message())));
        }
        SetDirectory(created);
        // Off the "Nouveau" button, so that Enter now takes the new folder (OK), not
        // another new one.
        dir->setFocus(Qt::OtherFocusReason);
    });
}
