#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The short text an action on archived records asks for: a reason, which the action cannot
// go without (OK stays disabled while the field is blank), or an optional comment. The
// title is the action's caption without its ellipsis.
class frmReason : public QDialog {
    Q_OBJECT
public:
    // `action`: the string number of the command's caption ("Invalider…").
    frmReason(int action, bool required, QWidget* parent = nullptr);

    // Shows the dialog modally: the text given, trimmed; nothing when it was cancelled.
    std::optional<QString> Ask();

    QLabel* lblReason = nullptr;
    QLineEdit* txtReason = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    bool m_required;
};
