#include "ui/dialogs/frmConfirm.h"

#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/Pictures.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmConfirm::frmConfirm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmConfirm"));
    setProperty("Tag", QStringLiteral("1095"));
    lblText = NewControl<QLabel>(this, "lblText");
    lblText->setWordWrap(true);
    fraSelection = NewControl<QGroupBox>(this, "fraSelection");
    optYes = NewControl<QRadioButton>(fraSelection, "optYes", "1153");
    optNo = NewControl<QRadioButton>(fraSelection, "optNo", "1154");
    cmdOK = NewControl<QPushButton>(this, "cmdOK", "1026");
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");

    auto* options = new QHBoxLayout(fraSelection);
    options->addWidget(optYes);
    options->addWidget(optNo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblText);
    layout->addWidget(fraSelection);
    layout->addLayout(buttons);

    // Cancel has the focus first, then OK, then the options.
    setTabOrder(cmdCancel, cmdOK);
    setTabOrder(cmdOK, optYes);
    setTabOrder(optYes, optNo);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        m_answer = optYes->isChecked();
        accept();
    });
    // Cancel, Escape and the close box all reject: the answer is no.
    connect(cmdCancel, &QPushButton::clicked, this, &frmConfirm::reject);
    connect(this, &QDialog::rejected, this, [this] { m_answer = false; });

    setWindowIcon(ProgramIcon());
    ApplyCaptions(this);
    fraSelection->setTitle(QString());
    optNo->setChecked(true);
}

bool frmConfirm::SetText(const QString& strText) {
    lblText->setText(strText);
    return true;
}

bool frmConfirm::Result() {
    m_answer = false;
    exec();
    return m_answer;
}

void frmConfirm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cmdCancel->setFocus();
}
