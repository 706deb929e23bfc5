#include "ui/shell/StartUp.h"

#include "app/Services.h"
#include "app/TextTables.h"
#include "ui/meter/DeviceSearch.h"
#include "ui/meter/MeterServices.h"
#include "ui/shell/WindowServices.h"
#include "ui/shell/frmMain.h"

bool StartUp(frmMain& main, const LoginDialog& showLogin) {
    Services& services = main.services();
    const bool onlyArdel60 = services.ini.OnlyArdel60();
    main.SetStatusBarCOM(LoadResString(1062), QString());
    showLogin(services.login);
    if (!services.login.Successful()) {
        main.MenuFileExit();
        return false;
    }
    if (services.login.SearchDevice()) {
        StartupSearch(MeterServicesOf(services), main, main, onlyArdel60);
    }
    main.SetStatusBarUserName(services.login.UserName());
    main.UpdateCommandStates(true);
    return true;
}
