#include "ui/data/DocumentValidity.h"

#include "app/BusyState.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/RecordValidity.h"
#include "meter/CLogin.h"
#include "ui/app/AppMenus.h"
#include "ui/app/MainFrame.h"
#include "ui/archive/ArchiveTask.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"
#include "ui/dialogs/frmReason.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QSet>
#include <QTableView>
#include <memory>

DocumentValidity::DocumentValidity(frmDocument& document, MainFrame& main,
                                   DocumentServices services)
    : m_document(document), m_main(main), m_services(services) {}

void DocumentValidity::AddEntries(const AppMenus& menus) {
    menus.mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuEditBarValidity"));
    const auto add = [&](const char* name, int text, int tip, bool valid) {
        QAction* action = menus.mnuEdit->addAction(LoadResString(text));
        action->setObjectName(QLatin1String(name));
        action->setProperty("Tag", QString::number(text));
        action->setStatusTip(LoadResString(tip));
        QObject::connect(action, &QAction::triggered, &m_document,
                         [this, valid] { m_services.busy.RunCommand([&] { Change(valid); }); });
        return action;
    };
    mnuEditInvalidate = add("mnuEditInvalidate", 1885, 1887, false);
    mnuEditRestore = add("mnuEditRestore", 1886, 1888, true);
    UpdateEntries();
}

void DocumentValidity::UpdateEntries() {
    const QList<RecordOrigin>& origins = m_document.MVals().origins;
    const bool archived = std::any_of(origins.cbegin(), origins.cend(),
                                      [](const RecordOrigin& o) { return o.recordId > 0; });
    for (QAction* action : {mnuEditInvalidate, mnuEditRestore}) {
        if (action != nullptr) {
            action->setEnabled(archived);
        }
    }
}

QList<qint64> DocumentValidity::SelectedIds(bool valid, bool& archived) const {
    archived = false;
    const QList<RecordOrigin>& origins = m_document.MVals().origins;
    const MValTableProxy& proxy = m_document.TableTools().Proxy();
    QSet<int> rows;
    for (const QModelIndex& index : m_document.hfgMVals->selectionModel()->selectedIndexes()) {
        rows.insert(proxy.SourceRow(index.row()));
    }
    QList<int> ordered(rows.cbegin(), rows.cend());
    std::sort(ordered.begin(), ordered.end());
    QList<qint64> ids;
    for (const int row : ordered) {
        if (row < 0 || row >= origins.size() || origins[row].recordId <= 0) {
            continue;
        }
        archived = true;
        if (origins[row].valid != valid) {
            ids << origins[row].recordId;
        }
    }
    return ids;
}

bool DocumentValidity::Change(bool valid) {
    bool archived = false;
    const QList<qint64> ids = SelectedIds(valid, archived);
    if (!archived) {
        m_services.ui.Message(LoadResString(1895), LoadResString(1054), MsgIcon::Information);
        return false;
    }
    if (ids.isEmpty()) {
        return false; // each is in that state already
    }
    frmReason dialog(valid ? 1886 : 1885, true, &m_document);
    dialog.setWindowTitle(LoadResString(valid ? 1890 : 1889).arg(ids.size()));
    const std::optional<QString> reason = dialog.Ask();
    if (!reason) {
        return false;
    }
    const std::optional<QList<qint64>> changed = Write(ids, valid, *reason);
    if (!changed) {
        return false;
    }
    Take(*changed, valid, *reason);
    m_main.ShowStatusNote(LoadResString(valid ? 1894 : 1893).arg(changed->size()));
    return !changed->isEmpty();
}

std::optional<QList<qint64>> DocumentValidity::Write(const QList<qint64>& ids, bool valid,
                                                     const QString& reason) {
    // Shared with the work, which may outlive this call.
    const auto changed = std::make_shared<QList<qint64>>();
    const QString user = m_services.login.UserName();
    ArchiveTask task(m_services.tasks(), m_main.FrameWindow(),
                     ArchiveSettings::Read(m_services.ini));
    const bool written = task.Run(
        [ids, valid, reason, user, changed](ArchiveDatabase& db, const ArchiveJob::Going&) {
            RecordValidity validity(db);
            const ArchiveIdentity who = db.Identity(user);
            return valid ? validity.Restore(ids, reason, who, *changed)
                         : validity.Invalidate(ids, reason, who, *changed);
        },
        [](qint64) { return LoadResString(1892); });
    if (!written) {
        if (!task.Stopped() && !m_services.busy.Quitting()) {
            m_services.ui.Message(LoadResString(1896) + QStringLiteral("\r\n") + task.Error(),
                                  LoadResString(1033), MsgIcon::Warning);
        }
        return std::nullopt;
    }
    return *changed;
}

// The records keep their place and selection; only their state and the tables' counts change.
void DocumentValidity::Take(const QList<qint64>& changed, bool valid, const QString& reason) {
    const QSet<qint64> ids(changed.cbegin(), changed.cend());
    for (RecordOrigin& origin : m_document.MVals().origins) {
        if (ids.contains(origin.recordId)) {
            origin.valid = valid;
            origin.invalidReason = valid ? QString() : reason;
        }
    }
    m_document.ShowValidity();
}
