#include "ui/meter/DeviceSearch.h"

#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/StringTable.h"
#include "ui/app/frmMain.h"
#include "ui/dialogs/frmWait.h"

#include <optional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void ReportError(Services& services, const QString& text) {
    services.ui.Message(text, LoadResString(1033), MsgIcon::Critical);
}

void ReportRecognised(frmMain& main, const QString& name, const QString& serial) {
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

void Report(frmMain& main, short r, bool fOnlyArdel60, const QString& name, const QString& serial) {
    Services& services = main.services();
    if (r == 0) {
        ReportRecognised(main, name, serial);
    } else if (r == -2) {
        ReportError(services, LoadResString(1201) + kCrLf + LoadResString(1202));
    } else {
        ReportError(services, LoadResString(fOnlyArdel60 ? 1245 : 1060));
    }
}

// Steps 3 to 5 of the search: the wait dialog is open and shows its text. The program is
// busy from before the wait dialog opened until the search has come back.
void RecogniseAndReport(frmMain& main, std::optional<BusyState::Hold>& busy, frmWait& wait,
                        bool fOnlyArdel60) {
    QString name;
    QString serial;
    const short r = main.services().device.Recognise(name, serial, fOnlyArdel60);
    wait.close();
    busy.reset();
    main.SetMousePointer(0);
    main.SetStatusBarCOM(LoadResString(1062), QString());
    Report(main, r, fOnlyArdel60, name, serial);
}

} // namespace

void StartupSearch(frmMain& main, bool fOnlyArdel60) {
    std::optional<BusyState::Hold> busy(std::in_place, main.services().busy);
    main.SetMousePointer(11);
    frmWait wait(main.services(), &main);
    wait.show();
    wait.SetText(LoadResString(1071));
    RecogniseAndReport(main, busy, wait, fOnlyArdel60);
}

void MenuSearch(frmMain& main) {
    Services& services = main.services();
    TrappedVoid(services.ui, [&] {
        // The search ends in a new document: a document the user keeps abandons it.
        if (!main.CloseAllDocuments()) {
            return;
        }
        const bool onlyArdel60 = services.ini.OnlyArdel60();
        std::optional<BusyState::Hold> busy(std::in_place, services.busy);
        main.SetStatusBarDevice(QString(), QString());
        main.SetMousePointer(11);
        frmWait wait(services, &main);
        wait.show();
        if (!wait.SetText(LoadResString(1071))) {
            wait.close();
            main.SetMousePointer(0);
            ReportError(services, LoadResString(1151));
            return;
        }
        RecogniseAndReport(main, busy, wait, onlyArdel60);
        main.OpenDocument(QString());
        main.UpdateCommandStates(true);
    });
}
