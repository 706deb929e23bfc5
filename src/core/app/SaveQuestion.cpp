#include "app/SaveQuestion.h"

#include "app/TextTables.h"
#include "app/Ui.h"

bool MayDropChanges(Ui& ui, const std::function<bool()>& save) {
    const QString question = LoadResString(1178) + QStringLiteral("\r\n") + LoadResString(1179);
    switch (ui.Message(question, LoadResString(1095), MsgIcon::Question, MsgButtons::YesNoCancel,
                       MsgResult::Yes)) {
    case MsgResult::No:
        return true;
    case MsgResult::Yes:
        return save();
    default:
        return false;
    }
}
