#include "ui/programs/frmProgEdit.h"

#include "app/BusyState.h"
#include "app/CIni.h"
#include "app/ErrorTrap.h"
#include "app/TextTables.h"
#include "app/Twips.h"
#include "app/Ui.h"
#include "calibration/CalibrationText.h"
#include "meter/CDevice.h"
#include "meter/CLogin.h"
#include "programs/CUsrDefProg.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/BusyContent.h"
#include "ui/app/HelpContext.h"
#include "ui/app/ScreenFit.h"
#include "ui/programs/CalibrationPlotView.h"
#include "ui/programs/KeyFilter.h"
#include "ui/programs/ProgEditLayout.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/ProgramSave.h"
#include "ui/programs/ProgramSelection.h"
#include "ui/programs/WindowPictures.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

// Window sizes of the design, in twips; the layout may need more for its texts.
constexpr int kCompactWidth = 6075;
constexpr int kCompactHeight = 6550;
constexpr int kExtendedWidth = 13770;
constexpr int kExtendedHeight = 8895;

const QString kPlotUnit = QStringLiteral("mg/l");

} // namespace

frmProgEdit::frmProgEdit(ProgramServices services, ProgramSelection& selection, QWidget* parent)
    : QDialog(parent), m_services(services), m_selection(selection),
      m_calibration(services.ui, services.calibration, services.math, *this),
      m_save(services.tasks(), services.calibration, selection, *this) {
    setObjectName(QStringLiteral("frmProgEdit"));
    ProgEditLayout layout(*this);
    layout.CreateControls();
    layout.LayOut(m_services.busy);
    layout.SetTabOrder();
    for (int i = 0; i < kNumPairs; ++i) {
        for (QLineEdit* box : {txtValX[i], txtValY[i]}) {
            AcceptCommaAsPoint(box);
            box->installEventFilter(this);
        }
    }
    fraProgram->txtProgNum->installEventFilter(this);
    // Enter in a field must not press a button ("Remettre à zéro" cleared everything).
    NoDefaultButtons(this);
    // A click that arrives while the program talks to the meter is ignored.
    const auto onClick = [this](QPushButton* button, void (frmProgEdit::*handler)()) {
        ConnectCommand(button, this, m_services.busy, handler);
    };
    onClick(cmdSaveDevice, &frmProgEdit::cmdSaveDevice_Click);
    onClick(cmdSaveFile, &frmProgEdit::cmdSaveFile_Click);
    onClick(cmdClear, &frmProgEdit::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    onClick(cmdExtended, &frmProgEdit::cmdExtended_Click);
    onClick(cmdCalCalculate, &frmProgEdit::cmdCalCalculate_Click);
    onClick(cmdTransfer, &frmProgEdit::cmdTransfer_Click);
    connect(picCalLine, &CalibrationPlotView::saveRequested, this, &frmProgEdit::SavePlot);
    Form_Load();
}

void frmProgEdit::NamePairFields() {
    // "Couples de valeurs 3: Ext": the pair and the column, as the eye reads the grid.
    for (int i = 0; i < kNumPairs; ++i) {
        const QString pair = QStringLiteral("%1 %2: ").arg(fraPairsOfVariates->title()).arg(i + 1);
        txtValX[i]->setAccessibleName(pair + lblX->text());
        txtValY[i]->setAccessibleName(pair + lblY->text());
    }
}

void frmProgEdit::Form_Load() {
    TrappedVoid(m_services.ui, [&] {
        const bool isNew = m_selection.NewProgramPressed();
        setProperty("Tag", isNew ? QStringLiteral("1074") : QStringLiteral("1162"));
        lblX->setText(QStringLiteral("c [") + kPlotUnit + QLatin1Char(']'));
        lblXAxis->setText(lblX->text());
        ApplyCaptions(this);
        NamePairFields();
        LoadWindowPictures(m_services.ini, this, imgHeader, imgLogo);
        SetCompact();
        // The number of an existing program cannot be changed.
        fraProgram->txtProgNum->setEnabled(isNew);
        if (!m_services.device.SupportsCalLine(QString())) {
            fraProgram->chkCalLinePossible->setEnabled(false);
            fraProgram->chkCalLineRequired->setEnabled(false);
        }
        m_calibration.Reset();
        ShowSelection();
        fraProgram->txtUserName->setText(m_services.login.UserName());
        cmdSaveDevice->setEnabled(m_services.device.Online());
        m_extended = false;
    });
    m_save.MarkSaved();
}

// A new program starts as a copy of the selected one; a change shows the selected one.
void frmProgEdit::ShowSelection() {
    QString number;
    QString fileName;
    bool meterSelected = false;
    const bool selected = m_selection.GetSelProgram(number, fileName, meterSelected);
    if (selected) {
        LoadProgram(meterSelected ? Source::Meter : Source::File, meterSelected ? number : fileName,
                    true);
    } else {
        fraProgram->ShowInitialTexts();
    }
    if (m_selection.NewProgramPressed()) {
        QString free;
        if (m_services.usrDefProg.GetFreeProgNumMeter(free)) {
            fraProgram->txtProgNum->setText(free);
        } else {
            m_services.ui.Message(LoadResString(1158), LoadResString(1033), MsgIcon::Critical);
            fraProgram->txtProgNum->clear();
        }
    } else if (selected && meterSelected) {
        fraProgram->txtProgNum->setText(number);
    }
}

bool frmProgEdit::LoadProgram(Source source, const QString& key, bool withPairs) {
    ProgramRecord program = EmptyProgramRecord();
    CUsrDefProg& store = m_services.usrDefProg;
    const bool read = source == Source::Meter ? store.GetProgramMeter(program, key)
                                              : store.ReadFromFile(program, key);
    if (!read) {
        return false;
    }
    fraProgram->ShowProgram(program);
    if (withPairs) {
        for (int i = 0; i < kNumPairs; ++i) {
            txtValX[i]->setText(program[ProgramField::PairX(i)]);
            txtValY[i]->setText(program[ProgramField::PairY(i)]);
        }
    }
    m_calibration.Calculate(false);
    return true;
}

bool frmProgEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window: switching to another program is no edit.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == fraProgram->txtProgNum) {
                txtProgNum_LostFocus();
            } else if (auto* box = qobject_cast<QLineEdit*>(watched)) {
                txtVal_LostFocus(box);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmProgEdit::txtProgNum_LostFocus() {
    static const QRegularExpression kDigits(QStringLiteral("^[0-9]{1,3}$"));
    const QString text = fraProgram->txtProgNum->text();
    const int number = text.toInt();
    if (!kDigits.match(text).hasMatch() || number < 900 || number > 999) {
        m_services.ui.Message(LoadResString(1114), LoadResString(1115), MsgIcon::Warning);
        fraProgram->txtProgNum->setText(QStringLiteral("900"));
    }
}

void frmProgEdit::txtVal_LostFocus(QLineEdit* box) {
    const std::optional<double> value = NumericValue(box->text());
    box->setText(value ? CanonicalNumberText(*value) : QString());
}

void frmProgEdit::cmdClear_Click() {
    fraProgram->ClearDescription();
    fraProgram->txtUserName->setText(m_services.login.UserName());
}

void frmProgEdit::cmdExtended_Click() {
    m_extended = !m_extended;
    if (m_extended) {
        SetExtendedLayout();
    } else {
        SetCompact();
    }
}

void frmProgEdit::SetCompact() {
    pnlCalibration->hide();
    linDivider->hide();
    cmdExtended->setText(LoadResString(1117));
    fraProgram->txtE0->setEnabled(true);
    fraProgram->txtSlope->setEnabled(true);
    SetHelpContext(this, m_selection.NewProgramPressed() ? HelpContext::kNewProgram
                                                         : HelpContext::kChangeProgram);
    FitDesignedSize(kCompactWidth, kCompactHeight);
}

// Zero point and slope then come from the calibration line only (Transfer).
void frmProgEdit::SetExtendedLayout() {
    pnlCalibration->show();
    linDivider->show();
    cmdExtended->setText(LoadResString(1214));
    fraProgram->txtE0->setEnabled(false);
    fraProgram->txtSlope->setEnabled(false);
    SetHelpContext(this, HelpContext::kProgramCalibration);
    FitDesignedSize(kExtendedWidth, kExtendedHeight);
}

// The design's size where the screen has room for it; the plot and the results must stay
// in view on a small or scaled screen, and the user may resize the window.
void frmProgEdit::FitDesignedSize(int widthTwips, int heightTwips) {
    FitOnScreen(*this, QSize(TwipsToPixels(widthTwips, logicalDpiX()),
                             TwipsToPixels(heightTwips, logicalDpiY())));
}

void frmProgEdit::cmdCalCalculate_Click() {
    TrappedVoid(m_services.ui, [&] { m_calibration.Calculate(true); });
}

void frmProgEdit::cmdTransfer_Click() {
    m_calibration.Transfer();
}

void frmProgEdit::SavePlot(const QString& extension) {
    m_calibration.SavePlot(extension);
}

void frmProgEdit::reject() {
    if (m_save.Unsaved() &&
        m_services.ui.Message(LoadResString(1403), LoadResString(1115), MsgIcon::Question,
                              MsgButtons::YesNo, MsgResult::No) != MsgResult::Yes) {
        return;
    }
    QDialog::reject();
}

void frmProgEdit::cmdSaveDevice_Click() {
    TrappedVoid(m_services.ui, [&] {
        ProgramRecord program;
        if (!m_save.CollectChecked(program)) {
            return;
        }
        const std::optional<bool> written = m_save.SaveInMeter(program);
        if (!written) {
            return;
        }
        ReloadFromMeter();
        if (*written) {
            m_save.MarkSaved();
        }
    });
}

// The fields show what the meter list now holds for the number; the pairs stay.
void frmProgEdit::ReloadFromMeter() {
    if (!LoadProgram(Source::Meter, fraProgram->txtProgNum->text(), false)) {
        m_services.ui.Message(LoadResString(1103), LoadResString(1033), MsgIcon::Critical);
    }
    fraProgram->txtUserName->setText(m_services.login.UserName());
}

void frmProgEdit::cmdSaveFile_Click() {
    TrappedVoid(m_services.ui, [&] {
        ProgramRecord program;
        if (m_save.CollectChecked(program)) {
            m_save.SaveAsFile(program);
        }
    });
}
