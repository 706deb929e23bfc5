#pragma once

#include <functional>

class Ui;

// Asks "Des données ont été modifiées! Désirez-vous sauvegarder les données?" before
// something the user changed and did not save is dropped. "Non" goes on, "Oui" goes on once
// `save` succeeded, "Annuler" (also Escape and the close box) does not go on: a cancelled
// save dialog asks nothing again and keeps the data.
bool MayDropChanges(Ui& ui, const std::function<bool()>& save);
