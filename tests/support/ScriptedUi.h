#pragma once

#include "app/Ui.h"
#include "data/PrintRequest.h"
#include "support/QtPrint.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

// A Ui that records every call and answers from queues; an empty queue gives the
// message's default button, a cancelled dialog and a cancelled input box.
class ScriptedUi : public Ui {
public:
    struct MessageCall {
        QString text;
        QString title;
        MsgIcon icon;
        MsgButtons buttons;
        MsgResult defaultButton;
    };
    struct DialogCall {
        bool save;
        FileDialogRequest request;
    };

    MsgResult Message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                      MsgResult defaultButton) override;
    std::optional<QString> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    void Yield() override;
    // Recorded; the printer comes from onPrintDialog (none: cancelled).
    std::unique_ptr<LinePrinter> PrintDialog(const PrintRequest& request) override;
    // Recorded; runs onPrintPreview (e.g. the desktop's real preview).
    void PrintPreview(const PrintRequest& request) override;

    std::deque<MsgResult> messageAnswers;
    std::deque<std::optional<QString>> dialogAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    // Runs at every Yield (after processing events), e.g. to close a wait dialog.
    std::function<void()> onYield;
    std::function<std::unique_ptr<LinePrinter>(const PrintRequest&)> onPrintDialog;
    std::function<void(const PrintRequest&)> onPrintPreview;
    bool processEvents = true;

    QList<MessageCall> messages;
    QList<DialogCall> dialogs;
    QList<QString> inputPrompts;
    QList<QString> inputDefaults;
    // The printer names of the print dialogs and previews shown.
    QStringList printDialogs;
    QStringList printPreviews;
    int yields = 0;

    QStringList MessageTexts() const;
    void Clear();
};
