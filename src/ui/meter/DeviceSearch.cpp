#include "ui/meter/DeviceSearch.h"

#include "app/BusyState.h"
#include "app/CIni.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "meter/CCommunication.h"
#include "meter/CDevice.h"
#include "meter/MeterLink.h"
#include "ui/app/MeterTask.h"
#include "ui/app/StatusSink.h"
#include "ui/app/WindowHost.h"
#include "ui/meter/MeterServices.h"

#include <optional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void ReportError(const MeterServices& services, const QString& text) {
    services.ui.Message(text, LoadResString(1033), MsgIcon::Critical);
}

void ReportRecognised(const MeterServices& services, StatusSink& status, const QString& name,
                      const QString& serial) {
    status.SetStatusBarCOM(services.link.PortName(services.communication.COMPort),
                           services.communication.Baudrate + QStringLiteral(" Baud"));
    const MsgResult answer =
        services.ui.Message(name + QLatin1Char(' ') + LoadResString(1061), LoadResString(1054),
                            MsgIcon::Information, MsgButtons::OkCancel, MsgResult::Ok);
    if (answer == MsgResult::Ok) {
        status.SetStatusBarDevice(name, serial);
        return;
    }
    status.SetStatusBarCOM(LoadResString(1062), QString());
    services.device.Online(false);
}

// A search that did not recognise a meter.
void Report(const MeterServices& services, short r, bool fOnlyArdel60) {
    if (r == -2) {
        ReportError(services, LoadResString(1201) + kCrLf + LoadResString(1202));
    } else {
        ReportError(services, LoadResString(fOnlyArdel60 ? 1245 : 1060));
    }
}

// Steps 3 to 5 of the search, behind the wait dialog. False when the wait dialog could
// not show its text: the search did not run.
bool Search(const MeterServices& services, WindowHost& main, StatusSink& status,
            bool fOnlyArdel60) {
    std::optional<short> r;
    QString name;
    QString serial;
    MeterTask task(services.tasks(), main.FrameWindow(), LoadResString(1071));
    const bool recognised = task.Run(
        [&] {
            r = services.device.Recognise(name, serial, fOnlyArdel60);
            status.SetStatusBarCOM(LoadResString(1062), QString());
            return *r == 0;
        },
        [&] {
            if (r) {
                Report(services, *r, fOnlyArdel60);
            } else {
                ReportError(services, LoadResString(1151));
            }
        });
    if (recognised && services.busy.Quitting()) {
        // Nobody is left to confirm the meter: it stays offline, as if refused.
        status.SetStatusBarCOM(LoadResString(1062), QString());
        services.device.Online(false);
    } else if (recognised) {
        ReportRecognised(services, status, name, serial);
    }
    return r.has_value();
}

} // namespace

void StartupSearch(const MeterServices& services, WindowHost& main, StatusSink& status,
                   bool fOnlyArdel60) {
    Search(services, main, status, fOnlyArdel60);
}

bool MenuSearch(const MeterServices& services, WindowHost& main, StatusSink& status) {
    status.SetStatusBarDevice(QString(), QString());
    return Search(services, main, status, services.ini.OnlyArdel60()) && !services.busy.Quitting();
}
