#include "ui/calibration/ProtocolSave.h"

#include "app/ErrorTrap.h"
#include "app/SaveQuestion.h"
#include "app/Services.h"
#include "app/TextTables.h"

QString ProtocolFileFilter() {
    return LoadResString(1113) + QStringLiteral(" (*.csv)|*.csv");
}

QString ProposedProtocolName(Services& services, const QString& kind) {
    short year = 0;
    short month = 0;
    short day = 0;
    if (!services.calProtocol.GetProtocolDate(year, month, day)) {
        return QString();
    }
    return QStringLiteral("CalProt %1 %2%3%4")
        .arg(kind)
        .arg(year)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

bool SaveProtocolAs(Services& services, const QString& kind) {
    return Trapped(services.ui, false, [&] {
        CCalProtocol& protocol = services.calProtocol;
        const QString name = ProposedProtocolName(services, kind);
        if (!name.isEmpty()) {
            FileDialogRequest request;
            request.title = LoadResString(1112);
            request.filter = ProtocolFileFilter();
            request.kind = FileKind::Protocol;
            request.initialDir = protocol.WorkDir();
            request.fileName = name;
            request.defaultExtension = QStringLiteral("csv");
            request.overwritePrompt = true;
            request.pathMustExist = true;
            request.hideReadOnly = true;
            const std::optional<QString> path = services.ui.SaveFileDialog(request);
            if (!path) {
                return false;
            }
            if (protocol.SaveToFile(*path)) {
                return true;
            }
        }
        services.ui.Message(LoadResString(1229), LoadResString(1033), MsgIcon::Critical);
        return false;
    });
}

QString HeldProtocolKind(Services& services) {
    CCalProtocol& protocol = services.calProtocol;
    if (protocol.IsProtocolPH()) {
        return QStringLiteral("pH");
    }
    QString meter, serNo, user, date, time, interval, mode;
    short points = 0;
    QStringList standards;
    protocol.GetProtocolTurbidity(meter, serNo, user, date, time, interval, mode, points,
                                  standards);
    return QStringLiteral("Turb ") + mode;
}

bool MayDropEditedLot(Services& services, const std::function<QString()>& kind) {
    return !services.calProtocol.IsLotModified() ||
           MayDropChanges(services.ui, [&] { return SaveProtocolAs(services, kind()); });
}
