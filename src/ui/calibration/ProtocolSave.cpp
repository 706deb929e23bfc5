#include "ui/calibration/ProtocolSave.h"

#include "app/ErrorTrap.h"
#include "app/SaveQuestion.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CCalProtocol.h"

QString ProtocolFileFilter() {
    return LoadResString(1113) + QStringLiteral(" (*.csv)|*.csv");
}

QString ProposedProtocolName(CCalProtocol& protocol, const QString& kind) {
    short year = 0;
    short month = 0;
    short day = 0;
    if (!protocol.GetProtocolDate(year, month, day)) {
        return QString();
    }
    return QStringLiteral("CalProt %1 %2%3%4")
        .arg(kind)
        .arg(year)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

bool SaveProtocolAs(Ui& ui, CCalProtocol& protocol, const QString& kind) {
    return Trapped(ui, false, [&] {
        const QString name = ProposedProtocolName(protocol, kind);
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
            const std::optional<QString> path = ui.SaveFileDialog(request);
            if (!path) {
                return false;
            }
            if (protocol.SaveToFile(*path)) {
                return true;
            }
        }
        ui.Message(LoadResString(1229), LoadResString(1033), MsgIcon::Critical);
        return false;
    });
}

QString HeldProtocolKind(CCalProtocol& protocol) {
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

bool MayDropEditedLot(Ui& ui, CCalProtocol& protocol, const std::function<QString()>& kind) {
    return !protocol.IsLotModified() ||
           MayDropChanges(ui, [&] { return SaveProtocolAs(ui, protocol, kind()); });
}
