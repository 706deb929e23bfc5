#include "ui/dialogs/frmReason.h"

#include "app/TextTables.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/Pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "Invalider…" names the command in a menu or on a button; the dialog it opens is that
// command itself, so its title drops the promise of a dialog.
QString WithoutEllipsis(QString caption) {
    caption.remove(QChar(0x2026));
    if (caption.endsWith(QStringLiteral("..."))) {
        caption.chop(3);
    }
    return caption.remove(QLatin1Char('&')).trimmed();
}

} // namespace

frmReason::frmReason(int action, bool required, QWidget* parent)
    : QDialog(parent), m_required(required) {
    setObjectName(QStringLiteral("frmReason"));
    setWindowTitle(WithoutEllipsis(LoadResString(action)));
    lblReason = NewControl<QLabel>(this, "lblReason", required ? "1861" : "1862");
    txtReason = NewControl<QLineEdit>(this, "txtReason");
    cmdOK = NewControl<QPushButton>(this, "cmdOK", "1026");
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");
    cmdOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblReason);
    layout->addWidget(txtReason);
    layout->addLayout(buttons);
    setTabOrder(txtReason, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    // Blanks are no reason: what is stored must tell a reader why.
    const auto update = [this] {
        cmdOK->setEnabled(!m_required || !txtReason->text().trimmed().isEmpty());
    };
    connect(txtReason, &QLineEdit::textChanged, this, update);
    connect(cmdOK, &QPushButton::clicked, this, &frmReason::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReason::reject);
    update();

    setWindowIcon(ProgramIcon());
    ApplyCaptions(this);
    resize(qMax(width(), 420), height());
}

std::optional<QString> frmReason::Ask() {
    txtReason->setFocus();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return txtReason->text().trimmed();
}
