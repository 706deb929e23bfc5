#include "ui/calibration/frmCalProtEdit.h"

#include "app/ErrorTrap.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/HelpContext.h"
#include "ui/calibration/ProtocolWindowParts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr std::array<const char*, frmCalProtEdit::kStandards> kStdNames{"Low", "Mid", "High", "4",
                                                                        "5"};

// The rules for what the user types: ";" separates the fields of a protocol file, so typed
// or pasted it becomes ","; the text may not grow beyond 15 characters. A longer text the
// caller gave (a lot read from a file) may be shortened, never lengthened.
void TakeTypedText(QLineEdit* box, const QString& text) {
    const int limit = std::max<int>(frmCalProtEdit::kMaxLength, text.size());
    const bool shortened = limit < box->maxLength();
    if (!shortened && !text.contains(QLatin1Char(';'))) {
        return;
    }
    // Both steps set the text anew, which would put the cursor at the end.
    const int cursor = box->cursorPosition();
    if (shortened) {
        box->setMaxLength(limit);
    }
    box->setText(QString(text).replace(QLatin1Char(';'), QLatin1Char(',')));
    box->setCursorPosition(cursor);
}

// The caller's text is shown and given back as it is, whatever its length: confirming the
// editor without typing must not cut a lot that came from a file.
void SetGivenText(QLineEdit* box, const QString& text) {
    box->setMaxLength(std::max<int>(frmCalProtEdit::kMaxLength, text.size()));
    box->setText(text);
}

} // namespace

frmCalProtEdit::frmCalProtEdit(Ui& ui, CIni& ini, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_ini(ini) {
    BuildControls();
    LayOut();
    Form_Load();
}

QLineEdit* frmCalProtEdit::NewTextBox(const char* name) {
    auto* box = NewControl<QLineEdit>(frmLOT, name);
    box->setMaxLength(kMaxLength);
    connect(box, &QLineEdit::textEdited, this,
            [box](const QString& text) { TakeTypedText(box, text); });
    return box;
}

void frmCalProtEdit::BuildControls() {
    setObjectName(QStringLiteral("frmCalProtEdit"));
    setProperty("Tag", QStringLiteral("1231"));
    SetHelpContext(this, HelpContext::kLotEditor);
    imgHead = NewControl<QLabel>(this, "imgHead");
    imgLogo = NewControl<QLabel>(this, "imgLogo");
    frmLOT = NewControl<QGroupBox>(this, "frmLOT");
    lblLOTTotal = NewControl<QLabel>(frmLOT, "lblLOTTotal", "1232");
    lblExpiry = NewControl<QLabel>(frmLOT, "lblExpiry", "1233");
    lblManufacturer = NewControl<QLabel>(frmLOT, "lblManufacturer", "1234");
    lblUsedStds = NewControl<QLabel>(frmLOT, "lblUsedStds", "1235");
    lblStdComment = NewControl<QLabel>(frmLOT, "lblStdComment", "1236");
    txtLOTTotal = NewTextBox("txtLOTTotal");
    txtExpiry = NewTextBox("txtExpiry");
    txtManufacturer = NewTextBox("txtManufacturer");
    for (int i = 0; i < kStandards; ++i) {
        lblStd[i] = NewControl<QLabel>(frmLOT, ("lblStd" + QByteArray(kStdNames[i])).constData());
        txtStd[i] = NewTextBox(("txtStd" + QByteArray(kStdNames[i])).constData());
    }
    cmdAccept = NewControl<QPushButton>(this, "cmdAccept", "1141");
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");
    cmdAccept->setDefault(true);
    connect(cmdAccept, &QPushButton::clicked, this, &frmCalProtEdit::cmdAccept_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCalProtEdit::cmdCancel_Click);
}

void frmCalProtEdit::LayOut() {
    auto* grid = new QGridLayout(frmLOT);
    int row = AddCaptionRows(
        grid, 0,
        {{lblLOTTotal, txtLOTTotal}, {lblExpiry, txtExpiry}, {lblManufacturer, txtManufacturer}});
    grid->addWidget(lblUsedStds, row, 0);
    grid->addWidget(lblStdComment, row++, 1);
    for (int i = 0; i < kStandards; ++i) {
        grid->addWidget(lblStd[i], row, 0);
        grid->addWidget(txtStd[i], row++, 1);
    }
    auto* head = new QHBoxLayout;
    head->addWidget(imgHead);
    head->addStretch();
    head->addWidget(imgLogo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAccept);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(frmLOT);
    layout->addLayout(buttons);
    const QList<QWidget*> order{txtLOTTotal, txtExpiry, txtManufacturer, txtStd[0], txtStd[1],
                                txtStd[2],   txtStd[3], txtStd[4],       cmdAccept, cmdCancel};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void frmCalProtEdit::Form_Load() {
    TrappedVoid(m_ui, [&] {
        ApplyCaptions(this);
        LoadProtocolPictures(m_ini, this, imgHead, imgLogo);
        for (QLabel* standard : lblStd) {
            standard->clear();
            standard->hide();
        }
        for (QLineEdit* box : txtStd) {
            box->hide();
        }
        frmLOT->setTitle(QString());
    });
}

QString frmCalProtEdit::ChargeIDTotal() const {
    return txtLOTTotal->text();
}

void frmCalProtEdit::ChargeIDTotal(const QString& value) {
    SetGivenText(txtLOTTotal, value);
}

QString frmCalProtEdit::Expiry() const {
    return txtExpiry->text();
}

void frmCalProtEdit::Expiry(const QString& value) {
    SetGivenText(txtExpiry, value);
}

QString frmCalProtEdit::Manufacturer() const {
    return txtManufacturer->text();
}

void frmCalProtEdit::Manufacturer(const QString& value) {
    SetGivenText(txtManufacturer, value);
}

void frmCalProtEdit::NumCalPoints(short value) {
    m_numCalPoints = std::min<short>(value, kStandards);
}

QString frmCalProtEdit::ChargeIDStd(int i) const {
    return txtStd.at(i)->text();
}

void frmCalProtEdit::ChargeIDStd(int i, const QString& value) {
    SetGivenText(txtStd.at(i), value);
}

void frmCalProtEdit::Std_FNUNTU(int i, const QString& caption) {
    lblStd.at(i)->setText(caption);
}

void frmCalProtEdit::showEvent(QShowEvent* event) {
    m_dlgRetVal = false;
    for (int i = 0; i < kStandards; ++i) {
        lblStd[i]->setVisible(i < m_numCalPoints);
        txtStd[i]->setVisible(i < m_numCalPoints);
    }
    QDialog::showEvent(event);
}

void frmCalProtEdit::closeEvent(QCloseEvent* event) {
    // The frame's close box unloads the dialog: the next use makes a new one.
    m_dlgRetVal = false;
    QDialog::closeEvent(event);
    deleteLater();
}

void frmCalProtEdit::cmdAccept_Click() {
    m_dlgRetVal = true;
    hide();
}

void frmCalProtEdit::cmdCancel_Click() {
    m_dlgRetVal = false;
    hide();
}
