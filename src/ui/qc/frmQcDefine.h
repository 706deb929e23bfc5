#pragma once

#include "qc/QcJudge.h"
#include "ui/archive/ArchiveServices.h"
#include "ui/archive/ArchiveWindowWork.h"

#include <QDialog>
#include <QList>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Defines a control sample, or a new version of one (its name fixed, its recognition and
// latest values proposed): how its records are recognised, its target and standard
// deviation typed from a certificate or estimated from a period's points (shown before they
// are taken; a period of fewer than 20 points or of one value is refused), its unit, the date
// from which the values hold (unticked: from the control's earliest archived point) and its
// rules. OK saves the version in the archive, off the dialog's thread; the dialog stays open
// when that fails.
class frmQcDefine : public QDialog {
    Q_OBJECT
public:
    // A new control, or with `control` a new version of it.
    frmQcDefine(ArchiveServices services, const QcControl* control, QWidget* parent = nullptr);
    ~frmQcDefine() override;

    QLineEdit* txtName = nullptr;
    QLineEdit* txtProgram = nullptr;
    QLineEdit* txtCitation = nullptr;
    QRadioButton* optIdEquals = nullptr;
    QRadioButton* optIdPrefix = nullptr;
    QLineEdit* txtMatch = nullptr;
    QRadioButton* optTyped = nullptr;
    QLineEdit* txtTarget = nullptr;
    QLineEdit* txtSD = nullptr;
    QRadioButton* optEstimate = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QPushButton* cmdEstimate = nullptr;
    QLabel* lblEstimate = nullptr;
    QLineEdit* txtUnit = nullptr;
    QCheckBox* chkValidFrom = nullptr;
    QDateEdit* dtpValidFrom = nullptr;
    QList<QCheckBox*> chkRules; // chk12s … chkNx, in the order of the rules' codes
    QComboBox* cboRunLength = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Reads the control's points of the period and shows the estimate; false (after the
    // refusal's message) when the period cannot give one, or the archive cannot be read.
    bool Estimate();
    // The name of the control saved, once the dialog was accepted.
    const QString& Defined() const { return m_defined; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildDialog();
    void LayOut();
    void Propose(const QcControl& control);
    void FollowValueSource();
    void ForgetEstimate();
    // The control as the fields recognise it; nothing when its name or text is missing.
    std::optional<QcControl> Recognition() const;
    // The version the fields give; nothing when the values are missing or not numbers.
    std::optional<QcVersion> Version() const;
    QcRules Rules() const;
    bool RunWork(const ArchiveJob::Work& work);

    ArchiveServices m_services;
    ArchiveWindowWork m_work;
    std::optional<QcEstimate> m_estimate; // for the recognition and period as they stand
    QString m_defined;
};
