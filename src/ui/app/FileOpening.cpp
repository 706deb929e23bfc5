#include "ui/app/FileOpening.h"

#include "app/RecentFiles.h"
#include "app/Services.h"
#include "app/StringTable.h"
#include "calibration/CalProtocolFile.h"
#include "ui/app/frmMain.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

void ReportMissing(Ui& ui, const QString& path) {
    ui.Message(LoadResString(1761).arg(QDir::toNativeSeparators(path)), LoadResString(1054),
               MsgIcon::Warning);
}

} // namespace

void OpenFiles(frmMain& main, const QStringList& paths) {
    Services& services = main.services();
    QStringList datasets;
    QList<std::pair<QString, bool>> protocols;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isFile()) {
            RecentFiles::Remove(QFileInfo(path).absoluteFilePath());
            ReportMissing(services.ui, path);
            continue;
        }
        switch (ProtocolKindOfFile(path)) {
        case ProtocolFileKind::PH:
            protocols.append({path, true});
            break;
        case ProtocolFileKind::Turbidity:
            protocols.append({path, false});
            break;
        case ProtocolFileKind::None:
            datasets << path;
            break;
        }
    }
    // One round of save questions for the whole lot; a document kept open ends it.
    if (!datasets.isEmpty() && !main.CloseAllDocuments()) {
        return;
    }
    for (const QString& path : datasets) {
        main.AddDocument(path);
    }
    for (const auto& [path, fPH] : protocols) {
        main.OpenProtocolFile(path, fPH);
    }
}

QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files << url.toLocalFile();
        }
    }
    return files;
}

void FillRecentMenu(QMenu* menu, frmMain& main) {
    menu->clear();
    const QStringList files = RecentFiles::List();
    menu->menuAction()->setEnabled(!files.isEmpty());
    int number = 0;
    for (const QString& path : files) {
        ++number;
        const QString name =
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(number).arg(name));
        entry->setObjectName(QStringLiteral("mnuFileRecent%1").arg(number));
        entry->setData(path);
        entry->setStatusTip(QDir::toNativeSeparators(path));
        QObject::connect(entry, &QAction::triggered, &main, [&main, path] {
            if (main.services().busy.Busy()) {
                return; // a command that arrives while an operation runs is ignored
            }
            OpenFiles(main, {path});
        });
    }
}
