#pragma once

#include <functional>

class CPrint;
class Ui;

// The print command of the windows: without a printer "Pas d'imprimante disponible!";
// otherwise the question naming the default printer, and on Yes `print`, whose failure
// shows "Erreur d'impression!". False when nothing could be printed; No is no failure.
bool AskAndPrint(Ui& ui, CPrint& printer, const std::function<bool()>& print);
