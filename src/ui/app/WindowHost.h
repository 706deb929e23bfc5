#pragma once

class QWidget;
class Services;

// What every window inside the program needs of the frame around it: the services and the
// owner of the dialogs it opens.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual Services& services() = 0;
    virtual QWidget* FrameWindow() = 0;

protected:
    WindowHost() = default;
    WindowHost(const WindowHost&) = default;
    WindowHost& operator=(const WindowHost&) = default;
};
