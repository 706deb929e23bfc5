#include "ui/app/frmWait.h"

#include "app/ErrorTrap.h"
#include "data/TransferProgress.h"
#include "meter/MeterLink.h"
#include "programs/CUsrDefProg.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Pictures.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmWait::frmWait(TaskServices services, QWidget* parent) : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmWait"));
    setProperty("Tag", QStringLiteral("1054"));
    setModal(false);
    lblPleaseWait = new QLabel(this);
    lblPleaseWait->setObjectName(QStringLiteral("lblPleaseWait"));
    lblPleaseWait->setProperty("Tag", QStringLiteral("1070"));
    lblText = new QLabel(this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setMinimumWidth(260);
    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->hide(); // only a transfer of the data memory counts its records
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setProperty("Tag", QStringLiteral("1069"));
    connect(cmdCancel, &QPushButton::clicked, this, &frmWait::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPleaseWait);
    layout->addWidget(lblText);
    layout->addWidget(lblProgress);
    layout->addLayout(buttons);

    setWindowIcon(ProgramIcon());
    ApplyCaptions(this);
}

frmWait::~frmWait() {
    Unload();
}

bool frmWait::SetText(const QString& strText) {
    if (m_unloaded) {
        return false;
    }
    lblText->setText(strText);
    return true;
}

void frmWait::SetProgress(qsizetype records, qint64 elapsedMs) {
    if (m_unloaded) {
        return;
    }
    lblProgress->setText(TransferProgressText(records, elapsedMs));
    lblProgress->show();
}

void frmWait::closeEvent(QCloseEvent* event) {
    Unload();
    QDialog::closeEvent(event);
}

void frmWait::done(int result) {
    Unload();
    QDialog::done(result);
}

void frmWait::Unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    if (!m_stopsLink) {
        return;
    }
    // Ends a wait for a meter answer at its next poll (the next exchange starts anew) and
    // a running update of the meter's program list after the program being read.
    TrappedVoid(m_services.ui, [&] {
        m_services.link.COMStop();
        m_services.usrDefProg.StopUpdate();
    });
}
