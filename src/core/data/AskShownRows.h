#pragma once

#include "data/RecordSelection.h"

#include <optional>

class Ui;

// Before a file is written from a filtered or sorted table: "Le tableau est filtré ou trié:
// il affiche 41 enregistrements sur 300. Ne prendre que les lignes affichées, dans l'ordre du
// tableau?" The records to write: `shown` on Yes, `whole` (the whole dataset, or every
// record of it that counts) on No, nothing on Cancel; `preferShown` makes Yes the default
// button. A table that shows the whole dataset in the meter's order gives it without a
// question.
std::optional<RecordSelection> AskShownRows(Ui& ui, const RecordSelection& shown,
                                            const RecordSelection& whole, bool preferShown);
