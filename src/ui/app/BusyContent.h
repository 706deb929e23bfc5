#pragma once

class BusyState;
class QWidget;

// The surface that holds a window's controls, disabled while the program is busy. The
// controls keep their own enabled states and show them again afterwards, and a message
// the window opens meanwhile stays usable (it is no child of the surface). While busy the
// window also ignores Escape and its close box: closing the wait dialog is how a wait
// ends, and the window must not go away under its own running operation.
QWidget* NewBusyContent(QWidget& window, BusyState& busy);

#include "app/BusyState.h"

#include <QAbstractButton>

// Connects a button to a command of its window that is ignored while the program is busy
// (a double-click's second click, a click queued before the button was disabled).
template <typename Window>
void ConnectCommand(QAbstractButton* button, Window* window, BusyState& busy,
                    void (Window::*command)()) {
    QObject::connect(button, &QAbstractButton::clicked, window,
                     [window, &busy, command] { busy.RunCommand([&] { (window->*command)(); }); });
}
