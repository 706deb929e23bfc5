#pragma once

#include <functional>

class CLogin;
class frmMain;

// Shows the login dialog and leaves its answers in the login object.
using LoginDialog = std::function<void(CLogin&)>;

// What happens once the main window has loaded: the login, then the meter search or the
// offline state. Returns false when the login was cancelled: the main window is closed
// then and the program ends, before any serial port was opened.
bool StartUp(frmMain& main, const LoginDialog& showLogin);
