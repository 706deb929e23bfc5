#pragma once

#include <QString>

class QWidget;

// Tells in the main window's status bar, for a few seconds, what a command did ("Enregistré:
// …"); `from` is any window inside the main window (a document, a dialog it owns).
void ShowStatusMessage(QWidget* from, const QString& text);

// "Enregistré: PATH", "Exporté: PATH" with the path in the system's form.
void ShowSavedMessage(QWidget* from, const QString& path);
void ShowExportedMessage(QWidget* from, const QString& path);
// "Imprimé: NAME" after a printout went to the printer.
void ShowPrintedMessage(QWidget* from, const QString& name);
