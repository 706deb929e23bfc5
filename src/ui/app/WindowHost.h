#pragma once

class QWidget;

// What every window inside the program needs of the frame around it: the owner of the
// dialogs it opens. The services a window uses come in its own constructor.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual QWidget* FrameWindow() = 0;

protected:
    WindowHost() = default;
    WindowHost(const WindowHost&) = default;
    WindowHost& operator=(const WindowHost&) = default;
};
