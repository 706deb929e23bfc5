#pragma once

#include "app/Ui.h"

class QTextStream;

// The command line's answers: messages go to standard error one line each, questions get
// their default answer, dialogs are cancelled (commands pass file names as arguments).
class ConsoleUi : public Ui {
public:
    explicit ConsoleUi(QTextStream& err) : m_err(err) {}

    MsgResult Message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                      MsgResult defaultButton) override;
    std::optional<QString> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    void Yield() override;

private:
    QTextStream& m_err;
};
