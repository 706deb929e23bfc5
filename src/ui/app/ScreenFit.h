#pragma once

#include <QSize>

class QWidget;

// Gives a window the size it was designed with (`wanted`, at least what its layout asks
// for) as far as the screen's available area allows, lets the user resize it down to what
// its layout needs, and moves it back onto that area when it would stick out.
void FitOnScreen(QWidget& window, QSize wanted);
