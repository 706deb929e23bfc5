#pragma once

#include "app/Ui.h"

#include <QPointer>
#include <QWidget>

class QFileDialog;

// The Ui of the desktop program: real message boxes, file dialogs and input boxes, owned
// by the window the user is working in.
class DesktopUi : public Ui {
public:
    // The window that owns the dialogs when no other window of the program is active.
    void SetMainWindow(QWidget* window) { m_main = window; }

    MsgResult Message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok,
                      MsgResult defaultButton = MsgResult::Ok) override;
    std::optional<QString> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    void Yield() override;
    std::unique_ptr<LinePrinter> PrintDialog(const PrintRequest& request) override;
    void PrintPreview(const PrintRequest& request) override;

private:
    QWidget* Owner() const;
    std::optional<QString> RunFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

    QPointer<QWidget> m_main;
};
