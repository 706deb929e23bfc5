#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Replaces characters as they are typed (or pasted) into the box: from[i] becomes to[i].
// The fields of a program end up in ";"- and ","-separated files and commands.
void ReplaceTypedChars(QLineEdit* box, const QString& from, const QString& to);

// Program number, measuring range, zero point, slope and pair values: "," becomes ".".
void AcceptCommaAsPoint(QLineEdit* box);

// No push button of the window is pressed by Enter: a dialog otherwise makes its buttons
// "auto default", and Enter in any field pressed the first one.
void NoDefaultButtons(QWidget* window);
