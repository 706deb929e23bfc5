#include "ProgramWindowFixture.h"
#include "app/TextTables.h"
#include "support/TempDir.h"
#include "ui/programs/CalibrationPlotView.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/frmProgEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The pair rows hold these values, the others are empty.
void SetPairs(frmProgEdit& editor, const QList<QPair<QString, QString>>& rows) {
    for (int i = 0; i < kNumPairs; ++i) {
        editor.txtValX[i]->clear();
        editor.txtValY[i]->clear();
    }
    for (int i = 0; i < rows.size(); ++i) {
        editor.txtValX[i]->setText(rows[i].first);
        editor.txtValY[i]->setText(rows[i].second);
    }
}

QStringList Results(const frmProgEdit& editor) {
    QStringList texts;
    for (const QLabel* value : editor.resultValues) {
        texts << value->text();
    }
    return texts;
}

} // namespace

TEST_F(ProgramWindowTest, EditorTypingRulesAndLengths) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    ProgramPanel& p = *editor.fraProgram;
    p.txtMRB->clear();
    QTest::keyClicks(p.txtMRB, "1,5");
    EXPECT_EQ(p.txtMRB->text(), "1.5");
    p.txtFormula->clear();
    QTest::keyClicks(p.txtFormula, "a b;c,d");
    EXPECT_EQ(p.txtFormula->text(), "a_b.c.d");
    p.txtMeasUnit->clear();
    QTest::keyClicks(p.txtMeasUnit, "mg per l");
    EXPECT_EQ(p.txtMeasUnit->text(), "mg_per_");
    p.txtModel->clear();
    QTest::keyClicks(p.txtModel, "N;1,abc");
    EXPECT_EQ(p.txtModel->text(), "N.1.a");

    // Pair boxes: "," typed is ".", a number is written canonically on leaving.
    QTest::keyClicks(editor.txtValX[0], "2,50");
    LeaveField(editor.txtValX[0]);
    EXPECT_EQ(editor.txtValX[0]->text(), "2.5");
    editor.txtValY[0]->setText(" 1e-5 ");
    LeaveField(editor.txtValY[0]);
    EXPECT_EQ(editor.txtValY[0]->text(), "0.00001");
    editor.txtValY[1]->setText("abc");
    LeaveField(editor.txtValY[1]);
    EXPECT_EQ(editor.txtValY[1]->text(), "");
    EXPECT_TRUE(ui.messages.isEmpty());
}

// The window opens in its first field (the number of a change is fixed) and Tab walks the
// fields before it reaches a button.
TEST_F(ProgramWindowTest, EditorOpensInTheFirstFieldAndTabsThroughTheFieldsFirst) {
    Offline();
    FakeSelection selection(false);
    frmProgEdit editor(Programs(), selection);
    editor.show();
    QApplication::setActiveWindow(&editor);
    const ProgramPanel& p = *editor.fraProgram;
    EXPECT_EQ(QApplication::focusWidget(), p.txtModel);
    const auto tab = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(tab(), p.cboCuvette);
    p.chkCalLineRequired->setFocus();
    EXPECT_EQ(tab(), editor.cmdSaveFile) << "offline: no saving into the meter";
}

// In both states the editor stays inside the screen's available area (the test screen is
// 800 × 600) and can be resized; what its layout needs fits a 1366 × 768 screen and a
// 2560 × 1600 one at 2× scaling (1280 × 800) with a window frame and a panel, and at that
// size the fields, the plot and every result are whole.
TEST_F(ProgramWindowTest, EditorFitsTheScreenWithAndWithoutItsCalibration) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    editor.show();
    const QRect area = editor.screen()->availableGeometry();
    const auto where = [&](const QWidget* w) {
        const QPoint at = w->mapTo(&editor, QPoint(0, 0));
        return QStringLiteral("%1 at %2,%3 size %4x%5 in %6x%7")
            .arg(w->objectName())
            .arg(at.x())
            .arg(at.y())
            .arg(w->width())
            .arg(w->height())
            .arg(editor.width())
            .arg(editor.height())
            .toStdString();
    };
    const auto whole = [&](const QWidget* w) {
        const QRect place(w->mapTo(&editor, QPoint(0, 0)), w->size());
        return w->isVisible() && editor.rect().contains(place) &&
               w->width() >= w->minimumSizeHint().width() &&
               w->height() >= w->minimumSizeHint().height();
    };
    for (const bool extended : {true, false}) {
        editor.cmdExtended->click();
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(editor.frameGeometry())) << extended;
        EXPECT_LT(editor.minimumWidth(), editor.maximumWidth()) << "resizable";
        const QSize needed = editor.minimumSizeHint();
        EXPECT_LE(needed.width(), 1260) << extended;
        EXPECT_LE(needed.height(), 680) << extended;
        editor.resize(needed.expandedTo(editor.minimumSize()));
        QApplication::processEvents();
        QList<const QWidget*> parts{editor.fraProgram->txtUserName, editor.cmdCancel};
        if (extended) {
            parts << editor.picCalLine << editor.txtValY.back();
            for (const QLabel* value : editor.resultValues) {
                parts << value;
            }
        }
        for (const QWidget* part : parts) {
            EXPECT_TRUE(whole(part)) << where(part);
        }
    }
}

TEST_F(ProgramWindowTest, EditorProgramNumberMustBeNineHundredSomething) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    QLineEdit* number = editor.fraProgram->txtProgNum;
    EXPECT_EQ(number->text(), "900"); // the free number of an empty meter list
    for (const char* wrong : {"1000", "89", "9a0", "", "0905", "9e2"}) {
        ui.Clear();
        number->setText(wrong);
        LeaveField(number);
        ASSERT_EQ(ui.messages.size(), 1) << wrong;
        EXPECT_EQ(ui.messages[0].text, LoadResString(1114));
        EXPECT_EQ(ui.messages[0].title, LoadResString(1115));
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
        EXPECT_EQ(number->text(), "900");
    }
    ui.Clear();
    number->setText("999");
    LeaveField(number);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(number->text(), "999");
}

TEST_F(ProgramWindowTest, EditorRefusesIncompleteOrOutOfRangePrograms) {
    Connect({"--programs", "1"});
    ASSERT_TRUE(services->usrDefProg.Update());
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    ProgramPanel& p = *editor.fraProgram;
    p.txtModel->clear();
    editor.cmdSaveDevice_Click();
    editor.cmdSaveFile_Click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1159), LoadResString(1159)}));

    // 2.0 E is reached at 16 with zero point 0 and slope 0.125.
    ui.Clear();
    p.txtModel->setText("M");
    p.txtMRB->setText("0");
    p.txtE0->setText("0");
    p.txtSlope->setText("0.125");
    p.txtMRE->setText("16.5");
    editor.cmdSaveDevice_Click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, LoadResString(1212) + kCrLf + LoadResString(1213));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(ui.dialogs.isEmpty());
    EXPECT_TRUE(MeterLog().filter("U.500").isEmpty());

    ui.Clear();
    p.txtMRE->setText("16");
    editor.cmdSaveDevice_Click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1160)}));
    EXPECT_EQ(MeterLog().filter("U.500#14,901,M,").size(), 1);
    EXPECT_EQ(selection.requested, QStringList({"901", "", "meter"}));
}

TEST_F(ProgramWindowTest, EditorRefusesRangeZeroPointAndSlopeThatAreNoNumber) {
    Connect({"--programs", "1"});
    ASSERT_TRUE(services->usrDefProg.Update());
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    ProgramPanel& p = *editor.fraProgram;
    const QList<std::pair<QLineEdit*, int>> fields = {
        {p.txtMRB, 1080}, {p.txtMRE, 1081}, {p.txtE0, 1082}, {p.txtSlope, 1083}};
    for (const auto& [box, label] : fields) {
        for (const QString bad : {"0;5", "1a", "1.2.3", "-", ".", "1e3", " 1", "1\n"}) {
            const QString good = box->text();
            box->setText(bad);
            ui.Clear();
            editor.cmdSaveFile_Click();
            editor.cmdSaveDevice_Click();
            const QString expected = LoadResString(label) + " " + LoadResString(1402);
            EXPECT_EQ(ui.MessageTexts(), QStringList({expected, expected})) << bad.toStdString();
            EXPECT_EQ(ui.messages.value(0).icon, MsgIcon::Warning);
            EXPECT_TRUE(ui.dialogs.isEmpty());
            box->setText(good);
        }
    }
    EXPECT_TRUE(MeterLog().filter("U.500").isEmpty());
    EXPECT_TRUE(QDir(work.path()).entryList(QDir::Files).isEmpty());

    // Signs, a lone fraction and a typed "," (which becomes ".") are numbers.
    ui.Clear();
    p.txtMRB->setText("-0.1");
    p.txtMRE->clear();
    QTest::keyClicks(p.txtMRE, "1,5");
    p.txtE0->setText("+0");
    p.txtSlope->setText(".5");
    editor.cmdSaveDevice_Click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1160)}));
    EXPECT_EQ(MeterLog().filter("U.500#14,901,test,16,436,-0.1,1.5,+0,.5,").size(), 1);
}

TEST_F(ProgramWindowTest, EditorEnterPressesNoButtonAndEscapeAsksForUnsavedChanges) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    editor.show();
    for (const QPushButton* button : editor.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault())
            << button->objectName().toStdString();
    }
    ProgramPanel& p = *editor.fraProgram;
    p.txtModel->setText("Mine");
    QTest::keyClick(p.txtMRB, Qt::Key_Return);
    QTest::keyClick(p.txtModel, Qt::Key_Enter);
    EXPECT_EQ(p.txtModel->text(), "Mine");
    EXPECT_EQ(p.txtMeasUnit->text(), "mg/l");

    // Escape with a change: asked; "Non" keeps the editor open with its values.
    ui.messageAnswers = {MsgResult::No};
    QTest::keyClick(p.txtModel, Qt::Key_Escape);
    ASSERT_EQ(ui.MessageTexts(), QStringList{LoadResString(1403)});
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(p.txtModel->text(), "Mine");
    ui.Clear();
    ui.messageAnswers = {MsgResult::Yes};
    editor.cmdCancel->click();
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_FALSE(editor.isVisible());

    // Saved, or nothing changed: no question.
    frmProgEdit again(Programs(), selection);
    again.show();
    ui.Clear();
    QTest::keyClick(again.fraProgram->txtModel, Qt::Key_Escape);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(again.isVisible());
    frmProgEdit saved(Programs(), selection);
    saved.show();
    saved.fraProgram->txtModel->setText("Saved");
    ui.dialogAnswers = {work.file("saved.csv")};
    saved.cmdSaveFile_Click();
    ui.Clear();
    saved.reject();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(saved.isVisible());
}

namespace {

// The plot's context menu saves the picture, as PNG and as SVG, where the user chose.
void ExpectPlotSaves(frmProgEdit& editor, ScriptedUi& ui) {
    TempDir dir;
    CalibrationPlotView* plot = editor.picCalLine;
    ASSERT_TRUE(plot->actions().contains(plot->savePngAction));
    ASSERT_TRUE(plot->actions().contains(plot->saveSvgAction));
    EXPECT_EQ(plot->contextMenuPolicy(), Qt::ActionsContextMenu);
    ui.Clear();
    ui.dialogAnswers = {dir.file("plot.png"), dir.file("plot.svg")};
    plot->savePngAction->trigger();
    plot->saveSvgAction->trigger();
    ASSERT_EQ(ui.dialogs.size(), 2);
    EXPECT_EQ(ui.dialogs[0].request.filter, QStringLiteral("Image PNG (*.png)|*.png"));
    EXPECT_EQ(ui.dialogs[1].request.filter, QStringLiteral("Image SVG (*.svg)|*.svg"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    const QImage png(dir.file("plot.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(640, 440));
    // Something besides the background was drawn.
    EXPECT_NE(png.pixel(320, 220), png.pixel(1, 1));
    const QByteArray svg = ReadBytes(dir.file("plot.svg"));
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("R\xC2\xB2 = ")) << "the R² text is part of the drawing";
    // A file that cannot be written is reported.
    ui.Clear();
    ui.dialogAnswers = {dir.file("no/such/plot.png")};
    plot->savePngAction->trigger();
    EXPECT_EQ(ui.messages.size(), 1);
    ui.Clear();
}

} // namespace

TEST_F(ProgramWindowTest, EditorCalculatesShowsPlotsAndTransfers) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    EXPECT_FALSE(editor.pnlCalibration->isVisibleTo(&editor));
    editor.cmdExtended_Click();
    EXPECT_TRUE(editor.pnlCalibration->isVisibleTo(&editor));
    EXPECT_FALSE(editor.fraProgram->txtE0->isEnabled());
    EXPECT_EQ(editor.cmdExtended->text(), LoadResString(1214));

    // Transfer does nothing before a calculation.
    editor.cmdTransfer_Click();
    EXPECT_EQ(editor.fraProgram->txtE0->text(), "0.0");

    SetPairs(editor,
             {{"0", "0.010"}, {"1", "0.205"}, {"2", "0.390"}, {"3", "0.610"}, {"4", "0.800"}});
    editor.cmdCalCalculate_Click();
    ASSERT_TRUE(editor.CalibrationValid());
    EXPECT_EQ(Results(editor),
              QStringList({"6.000E-03", "1.985E-01  1/(mg/l)", "4.030E-01", "2.000E+00  mg/l", "5",
                           "4.667E-02  mg/l", "2.3  %", "3.675E-01  mg/l", "5.474E-01  mg/l"}));
    EXPECT_TRUE(editor.picCalLine->HasPlot());
    ExpectPlotSaves(editor, ui);
    EXPECT_EQ(editor.lblX->text(), "c [mg/l]");
    EXPECT_EQ(editor.lblY->text(), "Ext");
    editor.cmdTransfer_Click();
    EXPECT_EQ(editor.fraProgram->txtE0->text(), "0.006");
    EXPECT_EQ(editor.fraProgram->txtSlope->text(), "0.1985");

    // Four significant digits, in plain decimal form.
    SetPairs(editor, {{"0", "0.0123456"}, {"1", "0.1358023"}, {"2", "0.259259"}});
    editor.cmdCalCalculate_Click();
    editor.cmdTransfer_Click();
    EXPECT_EQ(editor.fraProgram->txtE0->text(), "0.01235");
    EXPECT_EQ(editor.fraProgram->txtSlope->text(), "0.1235");

    // Collapsing makes zero point and slope editable again; the pairs stay.
    editor.cmdExtended_Click();
    EXPECT_FALSE(editor.pnlCalibration->isVisibleTo(&editor));
    EXPECT_TRUE(editor.fraProgram->txtE0->isEnabled());
    EXPECT_EQ(editor.cmdExtended->text(), LoadResString(1117));
    EXPECT_EQ(editor.txtValY[0]->text(), "0.0123456");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramWindowTest, EditorCalculationFailures) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    // Row 2 empty: only two pairs count.
    SetPairs(editor, {{"1", "0.1"}, {"2", "0.2"}, {"", "0.3"}, {"4", "0.4"}});
    editor.cmdCalCalculate_Click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1143)}));
    EXPECT_EQ(ui.messages[0].title, LoadResString(1115));
    EXPECT_FALSE(editor.CalibrationValid());

    ui.Clear();
    SetPairs(editor, {{"1", "0.5"}, {"2", "0.5"}, {"3", "0.5"}});
    editor.cmdCalCalculate_Click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1144)}));
    EXPECT_FALSE(editor.CalibrationValid());
    EXPECT_EQ(Results(editor), QStringList(9));

    // Computed, but no positive concentration to draw the axis to.
    ui.Clear();
    SetPairs(editor, {{"0", "0.3"}, {"-1", "0.2"}, {"-2", "0.1"}});
    editor.cmdCalCalculate_Click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1145)}));
    EXPECT_FALSE(editor.picCalLine->HasPlot());
}

TEST_F(ProgramWindowTest, EditorAsksBeforeReplacingAMeterProgram) {
    Connect({"--programs", "2"});
    ASSERT_TRUE(services->usrDefProg.Update());
    FakeSelection selection(true);
    selection.selected = selection.meter = true;
    selection.number = "900";
    frmProgEdit editor(Programs(), selection);
    ProgramPanel& p = *editor.fraProgram;
    // A copy of 900 under the first free number, with the logged-in user.
    EXPECT_EQ(p.txtProgNum->text(), "902");
    EXPECT_EQ(p.txtUserName->text(), "Lab");
    EXPECT_FALSE(p.txtUserName->isEnabled());
    const QString model901 = [&] {
        ProgramRecord r = EmptyProgramRecord();
        services->usrDefProg.GetProgramMeter(r, "901");
        return r[ProgramField::MODEL];
    }();

    p.txtProgNum->setText("901");
    p.txtModel->setText("Mine");
    // A range the photometric range covers: 2.0 E at 2.0 with slope 1.
    p.txtMRB->setText("0");
    p.txtMRE->setText("2.0");
    p.txtE0->setText("0");
    p.txtSlope->setText("1");
    ui.messageAnswers = {MsgResult::No};
    editor.cmdSaveDevice_Click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              LoadResString(1146) + kCrLf + LoadResString(1105) + kCrLf + "(Programme No: 901)");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.messages[0].defaultButton, MsgResult::No);
    EXPECT_TRUE(MeterLog().filter("U.502").isEmpty());
    // "Non" keeps what the editor shows; the meter keeps its own 901.
    EXPECT_EQ(p.txtModel->text(), "Mine");
    EXPECT_EQ(p.txtMRE->text(), "2.0");
    EXPECT_EQ(p.txtSlope->text(), "1");
    EXPECT_EQ(p.txtUserName->text(), "Lab");
    ProgramRecord kept = EmptyProgramRecord();
    services->usrDefProg.GetProgramMeter(kept, "901");
    EXPECT_EQ(kept[ProgramField::MODEL], model901);

    ui.Clear();
    ui.messageAnswers = {MsgResult::Yes};
    editor.cmdSaveDevice_Click();
    EXPECT_EQ(ui.MessageTexts().value(1), LoadResString(1160));
    EXPECT_EQ(MeterLog().filter("U.502#14,901,Mine,").size(), 1);
    EXPECT_EQ(p.txtModel->text(), "Mine");
}

TEST_F(ProgramWindowTest, EditorOfflineSavesFilesOnly) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    EXPECT_FALSE(editor.cmdSaveDevice->isEnabled());
    EXPECT_EQ(editor.windowTitle(), LoadResString(1074));
    editor.txtValX[0]->setText("0");
    editor.txtValY[0]->setText("0.002");

    ui.dialogAnswers = {std::nullopt};
    editor.cmdSaveFile_Click();
    EXPECT_TRUE(selection.requested.isEmpty());
    ASSERT_EQ(ui.dialogs.size(), 1);
    const FileDialogRequest& request = ui.dialogs[0].request;
    EXPECT_EQ(request.title, LoadResString(1112));
    EXPECT_EQ(request.filter, LoadResString(1113) + " (*.csv)|*.csv");
    EXPECT_EQ(request.fileName, work.file("PROG 900"));
    EXPECT_EQ(request.kind, FileKind::Program);
    EXPECT_EQ(request.defaultExtension, "csv");
    EXPECT_TRUE(request.overwritePrompt && request.pathMustExist && request.hideReadOnly);

    ui.dialogAnswers = {work.file("PROG 900.csv")};
    editor.cmdSaveFile_Click();
    EXPECT_EQ(selection.requested, QStringList({"", "PROG 900.csv", "file"}));
    ProgramRecord saved = EmptyProgramRecord();
    ASSERT_TRUE(services->usrDefProg.ReadFromFile(saved, "PROG 900.csv"));
    EXPECT_EQ(saved[ProgramField::MODEL], "test");
    EXPECT_EQ(saved[ProgramField::USER], "Lab");
    EXPECT_EQ(saved[ProgramField::PairY(0)], "0.002");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramWindowTest, EditorChangesAFileProgramWithItsPairs) {
    Offline();
    ProgramRecord program = Program("907");
    program[ProgramField::CALPSB] = "1";
    const QStringList pairs{"0", "0.01", "1", "0.2", "2", "0.41"};
    for (int i = 0; i < pairs.size(); ++i) {
        program[12 + i] = pairs[i];
    }
    WriteProgramFile("mine.csv", program);
    FakeSelection selection(false);
    selection.selected = true;
    selection.fileName = "mine.csv";
    frmProgEdit editor(Programs(), selection);
    ProgramPanel& p = *editor.fraProgram;
    EXPECT_EQ(editor.windowTitle(), LoadResString(1162));
    EXPECT_EQ(p.txtProgNum->text(), "907");
    EXPECT_FALSE(p.txtProgNum->isEnabled());
    EXPECT_TRUE(p.chkBlankRequired->isChecked());
    EXPECT_TRUE(p.chkCalLinePossible->isChecked());
    EXPECT_FALSE(p.chkCalLineRequired->isChecked());
    EXPECT_EQ(editor.txtValY[2]->text(), "0.41");
    // Loaded with three complete rows: the line is there at once, without a message.
    EXPECT_TRUE(editor.CalibrationValid());
    EXPECT_EQ(editor.resultValues[4]->text(), "3");

    // Clear keeps the number and the pairs.
    p.txtUserName->setText("other");
    editor.cmdClear_Click();
    EXPECT_EQ(p.txtProgNum->text(), "907");
    EXPECT_EQ(p.txtModel->text(), "");
    EXPECT_EQ(p.cboCuvette->currentText(), "16");
    EXPECT_EQ(p.cboResolution->currentText(), "0.01");
    EXPECT_FALSE(p.chkBlankRequired->isChecked());
    EXPECT_EQ(p.txtUserName->text(), "Lab");
    EXPECT_EQ(editor.txtValX[1]->text(), "1");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramWindowTest, EditorKeepsListValuesFromStoredPrograms) {
    Offline();
    ProgramRecord program = Program("907");
    program[ProgramField::CUV] = "50";
    program[ProgramField::RES] = "0.5";
    WriteProgramFile("odd.csv", program);
    FakeSelection selection(false);
    selection.selected = true;
    selection.fileName = "odd.csv";
    frmProgEdit editor(Programs(), selection);
    ProgramRecord collected = EmptyProgramRecord();
    editor.fraProgram->CollectInto(collected);
    EXPECT_EQ(collected[ProgramField::CUV], "50");
    EXPECT_EQ(collected[ProgramField::RES], "0.5");
}

TEST_F(ProgramWindowTest, EditorWithoutCalLineSupportDisablesTheAdaptationBoxes) {
    Connect({"--model", "Zentravox Turb", "--variant", "000000", "--programs", "0"});
    ProgramRecord program = Program("907");
    program[ProgramField::CALPSB] = "1";
    program[ProgramField::CALREQ] = "1";
    WriteProgramFile("cal.csv", program);
    FakeSelection selection(false);
    selection.selected = true;
    selection.fileName = "cal.csv";
    frmProgEdit editor(Programs(), selection);
    EXPECT_TRUE(editor.cmdSaveDevice->isEnabled());
    EXPECT_FALSE(editor.fraProgram->chkCalLinePossible->isEnabled());
    EXPECT_FALSE(editor.fraProgram->chkCalLineRequired->isEnabled());
    EXPECT_TRUE(editor.fraProgram->chkCalLinePossible->isChecked());
    EXPECT_TRUE(editor.fraProgram->chkCalLineRequired->isChecked());
    EXPECT_TRUE(editor.fraProgram->chkBlankRequired->isEnabled());
}

TEST_F(ProgramWindowTest, EditorInputsAndButtonsHaveTranslatedAccessibleNames) {
    Offline();
    FakeSelection selection(true);
    frmProgEdit editor(Programs(), selection);
    editor.show();
    int inputs = 0;
    for (QWidget* control : editor.findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                           qobject_cast<QCheckBox*>(control);
        if (!(input || qobject_cast<QPushButton*>(control)) || !control->isVisibleTo(&editor)) {
            continue;
        }
        inputs += input ? 1 : 0;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(a, nullptr);
        // On this platform a combo box says its value as name and its label by relation.
        QString name = a->text(QAccessible::Name);
        if (qobject_cast<QComboBox*>(control)) {
            const auto labels = a->relations(QAccessible::Label);
            name = labels.isEmpty() ? QString() : labels[0].first->text(QAccessible::Name);
        }
        bool number = false;
        name.toInt(&number);
        EXPECT_FALSE(name.isEmpty() || number) << control->objectName().toStdString();
    }
    EXPECT_GE(inputs, 12);
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(editor.fraProgram->txtModel)->text(QAccessible::Name),
        QStringLiteral("Modèle"));
    EXPECT_EQ(editor.fraProgram->lblModel->buddy(), editor.fraProgram->txtModel);
}
