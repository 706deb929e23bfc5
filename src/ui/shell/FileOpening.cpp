#include "ui/app/FileOpening.h"

#include "app/RecentFiles.h"
#include "app/Services.h"
#include "app/StringTable.h"
#include "calibration/CalProtocolFile.h"
#include "ui/app/MainFrame.h"

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

FilesToOpen SortFilesToOpen(Ui& ui, const QStringList& paths) {
    FilesToOpen files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isFile()) {
            RecentFiles::Remove(QFileInfo(path).absoluteFilePath());
            ReportMissing(ui, path);
            continue;
        }
        switch (ProtocolKindOfFile(path)) {
        case ProtocolFileKind::PH:
            files.protocols.append({path, true});
            break;
        case ProtocolFileKind::Turbidity:
            files.protocols.append({path, false});
            break;
        case ProtocolFileKind::None:
            files.datasets << path;
            break;
        }
    }
    return files;
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

void FillRecentMenu(QMenu* menu, MainFrame& main) {
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
        QObject::connect(entry, &QAction::triggered, main.FrameWindow(), [&main, path] {
            if (main.services().busy.Busy()) {
                return; // a command that arrives while an operation runs is ignored
            }
            main.OpenFiles({path});
        });
    }
}
