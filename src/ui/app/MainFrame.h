#pragma once

#include "ui/app/DocumentHost.h"
#include "ui/app/MenuCommands.h"
#include "ui/app/StatusSink.h"
#include "ui/app/WindowHost.h"

// The whole frame around the windows: the main window implements every part, and a window
// takes only the parts it uses (a protocol window the host, the device search the host and
// the status bar, the Archive window the host and the documents). The document window
// uses them all; a window test can give it a light stand-in instead.
class MainFrame : public WindowHost, public StatusSink, public DocumentHost, public MenuCommands {
protected:
    MainFrame() = default;
    MainFrame(const MainFrame&) = default;
    MainFrame& operator=(const MainFrame&) = default;
};
