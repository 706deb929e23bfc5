#include "ui/shell/FileOpening.h"

#include "app/RecentFiles.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CalProtocolFile.h"

#include <QDir>
#include <QFileInfo>
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
