#include "support/ScriptedUi.h"

#include "data/LinePrinter.h"

#include <QCoreApplication>

namespace {

MsgResult Next(std::deque<MsgResult>& queue, MsgResult fallback) {
    if (queue.empty()) {
        return fallback;
    }
    const MsgResult value = queue.front();
    queue.pop_front();
    return value;
}

// An empty queue answers "cancelled".
std::optional<QString> Next(std::deque<std::optional<QString>>& queue) {
    if (queue.empty() || !queue.front()) {
        if (!queue.empty()) {
            queue.pop_front();
        }
        return std::nullopt;
    }
    const QString value = *queue.front();
    queue.pop_front();
    return value;
}

} // namespace

MsgResult ScriptedUi::Message(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons, MsgResult defaultButton) {
    messages.append({text, title, icon, buttons, defaultButton});
    return Next(messageAnswers, defaultButton);
}

std::optional<QString> ScriptedUi::SaveFileDialog(const FileDialogRequest& request) {
    dialogs.append({true, request});
    return Next(dialogAnswers);
}

std::optional<QString> ScriptedUi::OpenFileDialog(const FileDialogRequest& request) {
    dialogs.append({false, request});
    return Next(dialogAnswers);
}

std::optional<QString> ScriptedUi::InputBox(const QString& prompt, const QString&,
                                            const QString& defaultText) {
    inputPrompts.append(prompt);
    inputDefaults.append(defaultText);
    return Next(inputAnswers);
}

std::unique_ptr<LinePrinter> ScriptedUi::PrintDialog(const PrintRequest& request) {
    printDialogs.append(request.printerName);
    return onPrintDialog ? onPrintDialog(request) : nullptr;
}

void ScriptedUi::PrintPreview(const PrintRequest& request) {
    printPreviews.append(request.printerName);
    if (onPrintPreview) {
        onPrintPreview(request);
    }
}

void ScriptedUi::Yield() {
    ++yields;
    if (processEvents) {
        QCoreApplication::processEvents();
    }
    if (onYield) {
        onYield();
    }
}

QStringList ScriptedUi::MessageTexts() const {
    QStringList texts;
    for (const MessageCall& m : messages) {
        texts << m.text;
    }
    return texts;
}

void ScriptedUi::Clear() {
    messages.clear();
    dialogs.clear();
    inputPrompts.clear();
    inputDefaults.clear();
    printDialogs.clear();
    printPreviews.clear();
    yields = 0;
}
