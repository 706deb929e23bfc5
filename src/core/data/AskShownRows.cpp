#include "data/AskShownRows.h"

#include "app/TextTables.h"
#include "app/Ui.h"

std::optional<RecordSelection> AskShownRows(Ui& ui, const RecordSelection& shown,
                                            const RecordSelection& whole, bool preferShown) {
    if (shown == whole) {
        return shown;
    }
    switch (ui.Message(LoadResString(1647).arg(shown.Count()).arg(shown.Total()),
                       LoadResString(1648), MsgIcon::Question, MsgButtons::YesNoCancel,
                       preferShown ? MsgResult::Yes : MsgResult::No)) {
    case MsgResult::Yes:
        return shown;
    case MsgResult::No:
        return whole;
    default:
        return std::nullopt;
    }
}
