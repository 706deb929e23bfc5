#pragma once

#include <QString>

class QLineEdit;

// Replaces characters as they are typed (or pasted) into the box: from[i] becomes to[i].
// The fields of a program end up in ";"- and ","-separated files and commands.
void ReplaceTypedChars(QLineEdit* box, const QString& from, const QString& to);

// Program number, measuring range, zero point, slope and pair values: "," becomes ".".
void AcceptCommaAsPoint(QLineEdit* box);
