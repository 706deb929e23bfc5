#include "ui/meter/DeviceSearch.h"

#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "ui/app/MainFrame.h"
#include "ui/app/MeterTask.h"

#include <optional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void ReportError(Services& services, const QString& text) {
    services.ui.Message(text, LoadResString(1033), MsgIcon::Critical);
}

void ReportRecognised(MainFrame& main, const QString& name, const QString& serial) {
    Services& services = main.services();
    main.SetStatusBarCOM(services.link().PortName(services.communication.COMPort),
                         services.communication.Baudrate + QStringLiteral(" Baud"));
    const MsgResult answer =
        services.ui.Message(name + QLatin1Char(' ') + LoadResString(1061), LoadResString(1054),
                            MsgIcon::Information, MsgButtons::OkCancel, MsgResult::Ok);
    if (answer == MsgResult::Ok) {
        main.SetStatusBarDevice(name, serial);
        return;
    }
    main.SetStatusBarCOM(LoadResString(1062), QString());
    services.device.Online(false);
}

// A search that did not recognise a meter.
void Report(MainFrame& main, short r, bool fOnlyArdel60) {
    Services& services = main.services();
    if (r == -2) {
        ReportError(services, LoadResString(1201) + kCrLf + LoadResString(1202));
    } else {
        ReportError(services, LoadResString(fOnlyArdel60 ? 1245 : 1060));
    }
}

// Steps 3 to 5 of the search, behind the wait dialog. False when the wait dialog could
// not show its text: the search did not run.
bool Search(MainFrame& main, bool fOnlyArdel60) {
    Services& services = main.services();
    std::optional<short> r;
    QString name;
    QString serial;
    MeterTask task(services, main.FrameWindow(), LoadResString(1071));
    const bool recognised = task.Run(
        [&] {
            r = services.device.Recognise(name, serial, fOnlyArdel60);
            main.SetStatusBarCOM(LoadResString(1062), QString());
            return *r == 0;
        },
        [&] {
            if (r) {
                Report(main, *r, fOnlyArdel60);
            } else {
                ReportError(services, LoadResString(1151));
            }
        });
    if (recognised && services.busy.Quitting()) {
        // Nobody is left to confirm the meter: it stays offline, as if refused.
        main.SetStatusBarCOM(LoadResString(1062), QString());
        services.device.Online(false);
    } else if (recognised) {
        ReportRecognised(main, name, serial);
    }
    return r.has_value();
}

} // namespace

void StartupSearch(MainFrame& main, bool fOnlyArdel60) {
    Search(main, fOnlyArdel60);
}

void MenuSearch(MainFrame& main) {
    Services& services = main.services();
    TrappedVoid(services.ui, [&] {
        // The search ends in a new document: a document the user keeps abandons it.
        if (!main.CloseAllDocuments()) {
            return;
        }
        main.SetStatusBarDevice(QString(), QString());
        if (!Search(main, services.ini.OnlyArdel60()) || services.busy.Quitting()) {
            return;
        }
        main.OpenDocument(QString());
        main.UpdateCommandStates(true);
    });
}
