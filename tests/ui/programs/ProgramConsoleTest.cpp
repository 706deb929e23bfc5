#include "ProgramWindowFixture.h"
#include "app/TextTables.h"
#include "meter/MeterCommands.h"
#include "ui/app/frmWait.h"
#include "ui/dialogs/frmChangeDir.h"
#include "ui/dialogs/frmConfirm.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/frmProgConsole.h"
#include "ui/programs/frmProgEdit.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QStringList Entries(const QListWidget* list) {
    QStringList entries;
    for (int row = 0; row < list->count(); ++row) {
        entries << list->item(row)->text();
    }
    return entries;
}

QString Selected(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

// The names of the enabled buttons among the console's twelve.
QStringList EnabledButtons(const frmProgConsole& console) {
    QStringList names;
    for (const QPushButton* button : console.findChildren<QPushButton*>()) {
        if (button->objectName().startsWith("cmd") && button->isEnabled()) {
            names << button->objectName();
        }
    }
    names.sort();
    return names;
}

void AnswerConfirm(frmConfirm& confirm, bool yes) {
    (yes ? confirm.optYes : confirm.optNo)->setChecked(true);
    confirm.cmdOK->click();
}

} // namespace

TEST_F(ProgramWindowTest, ConsoleOpensWithBothListsAndTheFirstMeterProgram) {
    Connect({"--programs", "3"});
    WriteProgramFile("PROG 905.csv", Program("905"));
    WriteBytes(work.file("broken.csv"), "not a program");
    WriteProgramFile("upper.CSV", Program("906"));
    QList<int> pointers;
    QObject::connect(&services->busy, &BusyState::Changed,
                     [&](bool busy) { pointers << (busy ? 11 : 0); });
    frmProgConsole console(Programs(), nullptr);
    EXPECT_EQ(console.windowTitle(), LoadResString(1102));
    EXPECT_TRUE(console.MeterListValid());
    EXPECT_EQ(pointers, QList<int>({11, 0}));
    EXPECT_EQ(Entries(console.lstProgsMeter), QStringList({"900", "901", "902"}));
    EXPECT_EQ(Entries(console.lstProgsPC), QStringList({"905   (PROG 905.csv)"}));
    EXPECT_EQ(Selected(console.lstProgsMeter), "900");
    EXPECT_EQ(Selected(console.lstProgsPC), "");
    EXPECT_EQ(console.fraProgram->txtProgNum->text(), "900");
    EXPECT_EQ(console.fraProgram->txtUserName->text(), "---");
    EXPECT_TRUE(console.fraProgram->txtModel->isReadOnly());
    // Nothing selected on the file side: its single-file buttons wait for a selection.
    EXPECT_EQ(EnabledButtons(console),
              QStringList({"cmdCancel", "cmdChangeWorkDir", "cmdCopyToMeterAll", "cmdCopyToPC",
                           "cmdCopyToPCAll", "cmdDeleteAllMeter", "cmdDeleteAllPC",
                           "cmdDeleteMeter", "cmdModifyProgram", "cmdNewProgram"}));
    EXPECT_EQ(console.sbWorkDirText->text(), LoadResString(1173) + " " + work.path());
    EXPECT_EQ(console.timUpdate->interval(), 5000);
    EXPECT_TRUE(console.timUpdate->isActive());

    // A click on a file shows it and takes the selection from the meter list.
    console.lstProgsPC->setCurrentRow(0);
    EXPECT_EQ(console.fraProgram->txtProgNum->text(), "905");
    EXPECT_EQ(console.fraProgram->txtUserName->text(), "Ann");
    EXPECT_EQ(Selected(console.lstProgsMeter), "");
    QString number, fileName;
    bool meter = true;
    ASSERT_TRUE(console.GetSelProgram(number, fileName, meter));
    EXPECT_EQ(fileName, "PROG 905.csv");
    EXPECT_FALSE(meter);
    EXPECT_TRUE(console.cmdCopyToMeter->isEnabled());
    EXPECT_FALSE(console.cmdCopyToPC->isEnabled());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramWindowTest, ConsolePcListIsSortedByProgramNumber) {
    Offline();
    for (const auto& [name, number] : {std::pair{"z.csv", "950"},
                                       {"PROG 910.csv", "910"},
                                       {"m.csv", "903"},
                                       {"a.csv", "999"},
                                       {"b.csv", "903"},
                                       {"y.csv", "900"}}) {
        WriteProgramFile(QLatin1String(name), Program(number));
    }
    frmProgConsole console(Programs(), nullptr);
    EXPECT_EQ(Entries(console.lstProgsPC),
              QStringList({"900   (y.csv)", "903   (b.csv)", "903   (m.csv)",
                           "910   (PROG 910.csv)", "950   (z.csv)", "999   (a.csv)"}));
}

TEST_F(ProgramWindowTest, ConsoleWithNothingToShow) {
    Offline();
    frmProgConsole console(Programs(), nullptr);
    EXPECT_TRUE(console.MeterListValid()); // offline: read, and empty
    EXPECT_EQ(EnabledButtons(console),
              QStringList({"cmdCancel", "cmdChangeWorkDir", "cmdNewProgram"}));
    EXPECT_EQ(console.fraProgram->txtProgNum->text(), "");
    EXPECT_EQ(console.fraProgram->txtModel->text(), "");
    QString number, fileName;
    bool meter = true;
    EXPECT_FALSE(console.GetSelProgram(number, fileName, meter));
    EXPECT_FALSE(meter);
}

TEST_F(ProgramWindowTest, ConsoleEnterInTheMeterListPressesNoButton) {
    Connect({"--programs", "2"});
    frmProgConsole console(Programs(), nullptr);
    console.show();
    for (const QPushButton* button : console.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault())
            << button->objectName().toStdString();
    }
    ui.Clear();
    console.lstProgsMeter->setFocus();
    QTest::keyClick(console.lstProgsMeter, Qt::Key_Return);
    QTest::keyClick(console.lstProgsMeter, Qt::Key_Enter);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(Entries(console.lstProgsMeter), QStringList({"900", "901"}));
    console.timUpdate->stop();
}

TEST_F(ProgramWindowTest, ConsoleOfflineEditsFilesButCannotCopyToTheMeter) {
    Offline();
    WriteProgramFile("PROG 905.csv", Program("905"));
    frmProgConsole console(Programs(), nullptr);
    EXPECT_EQ(Selected(console.lstProgsPC), "905   (PROG 905.csv)");
    EXPECT_FALSE(console.cmdCopyToMeter->isEnabled());
    EXPECT_FALSE(console.cmdCopyToMeterAll->isEnabled());
    EXPECT_TRUE(console.cmdDeletePC->isEnabled());
    EXPECT_TRUE(console.cmdModifyProgram->isEnabled());

    bool timerDuringEdit = true;
    dialogs.Expect<frmProgEdit>([&](frmProgEdit& editor) {
        timerDuringEdit = console.timUpdate->isActive();
        EXPECT_EQ(editor.fraProgram->txtProgNum->text(), "905");
        EXPECT_FALSE(editor.cmdSaveDevice->isEnabled());
        editor.fraProgram->txtModel->setText("Edit");
        ui.dialogAnswers = {work.file("PROG 905.csv")};
        editor.cmdSaveFile_Click();
        editor.reject();
    });
    console.cmdModifyProgram->click();
    EXPECT_FALSE(timerDuringEdit);
    EXPECT_TRUE(console.timUpdate->isActive());
    EXPECT_EQ(Selected(console.lstProgsPC), "905   (PROG 905.csv)");
    EXPECT_EQ(console.fraProgram->txtModel->text(), "Edit");
}

TEST_F(ProgramWindowTest, ConsoleCopyAllToTheMeterAnsweredNoYesCancel) {
    Connect({"--programs", "3"});
    for (const char* no : {"900", "901", "902"}) {
        WriteProgramFile(QStringLiteral("PROG %1.csv").arg(no),
                         Program(no, QStringLiteral("F") + no));
    }
    frmProgConsole console(Programs(), nullptr);
    ASSERT_EQ(console.lstProgsPC->count(), 3);
    // The files are listed by program number; the second one is the one answered Yes.
    const QString second = console.lstProgsPC->item(1)->text().left(3);
    EXPECT_EQ(second, "901");
    ui.messageAnswers = {MsgResult::No, MsgResult::Yes, MsgResult::Cancel};
    console.cmdCopyToMeterAll->click();
    ASSERT_EQ(ui.messages.size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ui.messages[i].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(ui.messages[i].defaultButton, MsgResult::No);
        EXPECT_EQ(ui.messages[i].title, LoadResString(1095));
    }
    EXPECT_EQ(ui.messages[3].text, LoadResString(1169) + kCrLf + LoadResString(1170));
    EXPECT_EQ(ui.messages[3].title, LoadResString(1115));
    const QStringList writes = MeterLog().filter("U.502");
    ASSERT_EQ(writes.size(), 1);
    EXPECT_TRUE(writes[0].startsWith("U.502#14," + second + ",F" + second + ","));
    EXPECT_TRUE(MeterLog().filter("U.500").isEmpty());
}

TEST_F(ProgramWindowTest, ConsoleCopiesOneProgramEachWay) {
    Connect({"--programs", "2"});
    WriteProgramFile("new.csv", Program("907"));
    frmProgConsole console(Programs(), nullptr);
    // Meter -> file, with the logged-in user.
    console.lstProgsMeter->setCurrentRow(1);
    ui.dialogAnswers = {work.file("PROG 901.csv")};
    console.cmdCopyToPC->click();
    EXPECT_EQ(ui.dialogs.at(0).request.fileName, work.file("PROG 901"));
    ProgramRecord saved = EmptyProgramRecord();
    ASSERT_TRUE(services->usrDefProg.ReadFromFile(saved, "PROG 901.csv"));
    EXPECT_EQ(saved[ProgramField::USER], "Lab");
    EXPECT_EQ(console.lstProgsPC->count(), 2);
    EXPECT_EQ(Selected(console.lstProgsMeter), "901");

    // File -> meter: a new number is added and reported.
    for (int row = 0; row < console.lstProgsPC->count(); ++row) {
        if (console.lstProgsPC->item(row)->text().startsWith("907")) {
            console.lstProgsPC->setCurrentRow(row);
        }
    }
    console.cmdCopyToMeter->click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1160)}));
    EXPECT_EQ(Entries(console.lstProgsMeter), QStringList({"900", "901", "907"}));
    EXPECT_EQ(Selected(console.lstProgsPC).left(3), "907");
}

TEST_F(ProgramWindowTest, ConsoleCopyAllToThePcAsksOnceForAFolderAndTellsWhatItDid) {
    Connect({"--programs", "3"});
    WriteProgramFile("PROG 901.csv", Program("901"));
    WriteProgramFile("PROG 902.csv", Program("902"));
    frmProgConsole console(Programs(), nullptr);
    const auto user = [&](const QString& name) {
        ProgramRecord saved = EmptyProgramRecord();
        EXPECT_TRUE(services->usrDefProg.ReadFromFile(saved, name));
        return saved[ProgramField::USER];
    };
    const auto question = [&](const QString& number) {
        return LoadResString(1766).arg(work.file("PROG " + number + ".csv"));
    };
    dialogs.Expect<frmChangeDir>([&](frmChangeDir& chooser) {
        EXPECT_EQ(chooser.windowTitle(), LoadResString(1765));
        EXPECT_EQ(chooser.SelectedDirectory(), work.path()) << "the work directory is proposed";
        chooser.cmdOK->click();
    });
    ui.messageAnswers = {MsgResult::Yes, MsgResult::No};
    console.cmdCopyToPCAll->click();
    EXPECT_TRUE(ui.dialogs.isEmpty()) << "no save dialog per program";
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({question("901"), question("902"),
                           LoadResString(1767).arg(work.path()).arg(1).arg(1).arg(1)}));
    EXPECT_EQ(user("PROG 900.csv"), "Lab");
    EXPECT_EQ(user("PROG 901.csv"), "Lab") << "replaced";
    EXPECT_EQ(user("PROG 902.csv"), "Ann") << "skipped";
    EXPECT_EQ(console.lstProgsPC->count(), 3);

    // Cancel at a question stops the copy and says so, with what was done until then.
    ui.Clear();
    dialogs.Expect<frmChangeDir>([](frmChangeDir& chooser) { chooser.cmdOK->click(); });
    ui.messageAnswers = {MsgResult::Cancel};
    console.cmdCopyToPCAll->click();
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({question("900"),
                           LoadResString(1169) + kCrLf + LoadResString(1170) + kCrLf +
                               LoadResString(1767).arg(work.path()).arg(0).arg(0).arg(0)}));
    // Cancelling the folder copies nothing and says nothing.
    ui.Clear();
    dialogs.Expect<frmChangeDir>([](frmChangeDir& chooser) { chooser.cmdCancel->click(); });
    console.cmdCopyToPCAll->click();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(dialogs.Handled(), 3);
}

TEST_F(ProgramWindowTest, ConsoleWithEveryNumberTakenOpensNoEditor) {
    Connect({"--model", "R-2600", "--programs", "50"});
    frmProgConsole console(Programs(), nullptr);
    console.cmdNewProgram->click();
    EXPECT_EQ(ui.MessageTexts(), QStringList({LoadResString(1156) + kCrLf + LoadResString(1157)}));
    EXPECT_EQ(ui.messages[0].title, LoadResString(1115));
    EXPECT_EQ(dialogs.Handled(), 0);
    EXPECT_TRUE(console.timUpdate->isActive());
}

TEST_F(ProgramWindowTest, ConsoleNewProgramIsSelectedAfterTheEditor) {
    Connect({"--programs", "2"});
    frmProgConsole console(Programs(), nullptr);
    dialogs.Expect<frmProgEdit>([&](frmProgEdit& editor) {
        EXPECT_EQ(editor.windowTitle(), LoadResString(1074));
        EXPECT_EQ(editor.fraProgram->txtProgNum->text(), "902");
        EXPECT_TRUE(console.NewProgramPressed());
        editor.fraProgram->txtProgNum->setText("905");
        editor.fraProgram->txtMRB->setText("0");
        editor.fraProgram->txtMRE->setText("1");
        editor.fraProgram->txtE0->setText("0");
        editor.fraProgram->txtSlope->setText("1");
        editor.cmdSaveDevice->click();
        editor.reject();
    });
    console.cmdNewProgram->click();
    EXPECT_EQ(Entries(console.lstProgsMeter), QStringList({"900", "901", "905"}));
    EXPECT_EQ(Selected(console.lstProgsMeter), "905");
    EXPECT_EQ(console.fraProgram->txtProgNum->text(), "905");
}

TEST_F(ProgramWindowTest, ConsoleDeletingTheSelectedMeterProgramSelectsTheFirstRemaining) {
    Connect({"--programs", "3"});
    frmProgConsole console(Programs(), nullptr);
    console.lstProgsMeter->setCurrentRow(1);
    ASSERT_EQ(console.fraProgram->txtProgNum->text(), "901");

    QString question;
    dialogs.Expect<frmConfirm>([&](frmConfirm& confirm) {
        question = confirm.lblText->text();
        AnswerConfirm(confirm, false);
    });
    console.cmdDeleteMeter->click();
    EXPECT_EQ(question, LoadResString(1096) + kCrLf + "(Programme No: 901)");
    EXPECT_EQ(console.lstProgsMeter->count(), 3);

    dialogs.Expect<frmConfirm>([&](frmConfirm& confirm) { AnswerConfirm(confirm, true); });
    console.cmdDeleteMeter->click();
    EXPECT_EQ(Entries(console.lstProgsMeter), QStringList({"900", "902"}));
    EXPECT_EQ(Selected(console.lstProgsMeter), "900");
    EXPECT_EQ(console.fraProgram->txtProgNum->text(), "900");

    dialogs.Expect<frmConfirm>([&](frmConfirm& confirm) {
        question = confirm.lblText->text();
        AnswerConfirm(confirm, true);
    });
    console.cmdDeleteAllMeter->click();
    EXPECT_EQ(question, LoadResString(1099));
    EXPECT_EQ(console.lstProgsMeter->count(), 0);
    EXPECT_EQ(console.fraProgram->txtProgNum->text(), "");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramWindowTest, ConsoleDeletesFilesToTheTrash) {
    Offline();
    WriteProgramFile("a.csv", Program("900"));
    WriteProgramFile("b.csv", Program("901"));
    // A number of two characters must not shift the file name taken from the entry.
    WriteProgramFile("xbc.csv", Program("95"));
    WriteProgramFile("bc.csv", Program("902"));
    frmProgConsole console(Programs(), nullptr);
    for (int row = 0; row < console.lstProgsPC->count(); ++row) {
        if (console.lstProgsPC->item(row)->text() == "95   (xbc.csv)") {
            console.lstProgsPC->setCurrentRow(row);
        }
    }
    ASSERT_EQ(console.fraProgram->txtProgNum->text(), "95");
    console.cmdDeletePC->click();
    EXPECT_FALSE(QFile::exists(work.file("xbc.csv")));
    EXPECT_TRUE(QFile::exists(work.file("bc.csv")));
    EXPECT_EQ(console.lstProgsPC->count(), 3);

    // Every file at once is asked first, like the meter side; "Non" keeps them all.
    QString question;
    dialogs.Expect<frmConfirm>([&](frmConfirm& confirm) {
        question = confirm.lblText->text();
        AnswerConfirm(confirm, false);
    });
    console.cmdDeleteAllPC->click();
    EXPECT_EQ(question, LoadResString(1410));
    EXPECT_EQ(console.lstProgsPC->count(), 3);
    EXPECT_TRUE(QFile::exists(work.file("a.csv")));

    dialogs.Expect<frmConfirm>([&](frmConfirm& confirm) { AnswerConfirm(confirm, true); });
    console.cmdDeleteAllPC->click();
    EXPECT_EQ(dialogs.Handled(), 2);
    EXPECT_EQ(console.lstProgsPC->count(), 0);
    EXPECT_FALSE(QFile::exists(work.file("a.csv")));
    EXPECT_EQ(EnabledButtons(console),
              QStringList({"cmdCancel", "cmdChangeWorkDir", "cmdNewProgram"}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramWindowTest, ConsoleTimerRereadsTheFilesAndKeepsTheSelection) {
    Offline();
    WriteProgramFile("b.csv", Program("901"));
    frmProgConsole console(Programs(), nullptr);
    ASSERT_EQ(Selected(console.lstProgsPC), "901   (b.csv)");
    WriteProgramFile("a.csv", Program("900"));
    console.timUpdate_Timer();
    EXPECT_EQ(console.lstProgsPC->count(), 2);
    EXPECT_EQ(Selected(console.lstProgsPC), "901   (b.csv)");
    QFile::remove(work.file("b.csv"));
    console.timUpdate_Timer();
    EXPECT_EQ(Entries(console.lstProgsPC), QStringList({"900   (a.csv)"}));
    EXPECT_EQ(Selected(console.lstProgsPC), "900   (a.csv)");
}

TEST_F(ProgramWindowTest, ConsoleChangesTheWorkDirectory) {
    Offline();
    TempDir other;
    QDir(other.path()).mkpath("Data/Lab/Progs");
    const QString progs = other.file("Data/Lab/Progs");
    ASSERT_TRUE(services->usrDefProg.SaveToFile(Program("903"), progs + "/p.csv"));
    frmProgConsole console(Programs(), nullptr);

    dialogs.Expect<frmChangeDir>([&](frmChangeDir& chooser) {
        EXPECT_EQ(chooser.SelectedDirectory(), work.path());
        chooser.cmdCancel->click();
    });
    console.cmdChangeWorkDir->click();
    EXPECT_EQ(services->usrDefProg.WorkDir(), work.path());

    dialogs.Expect<frmChangeDir>([&](frmChangeDir& chooser) {
        chooser.SetDirectory(progs);
        chooser.cmdOK->click();
    });
    console.cmdChangeWorkDir->click();
    EXPECT_EQ(services->usrDefProg.WorkDir(), progs);
    EXPECT_EQ(services->config.WorkDir(), progs);
    EXPECT_EQ(Entries(console.lstProgsPC), QStringList({"903   (p.csv)"}));
    EXPECT_EQ(console.fraProgsPC->title(), "/.../Progs");
    EXPECT_EQ(console.fraProgsPC->toolTip(), progs);
    EXPECT_EQ(console.sbWorkDirText->text(), LoadResString(1173) + " " + progs);
    EXPECT_TRUE(console.timUpdate->isActive());
}

TEST_F(ProgramWindowTest, ConsoleWithoutTheMeterListWorksOnFilesOnly) {
    Connect({"--programs", "2", "--fault", "silent:U.512"});
    WriteProgramFile("a.csv", Program("900"));
    frmProgConsole console(Programs(), nullptr);
    EXPECT_FALSE(console.MeterListValid());
    EXPECT_EQ(ui.MessageTexts().value(0), LoadResString(1150));
    EXPECT_EQ(console.lstProgsMeter->count(), 0);
    EXPECT_FALSE(console.cmdNewProgram->isEnabled());
    EXPECT_FALSE(console.cmdModifyProgram->isEnabled());
    EXPECT_FALSE(console.cmdCopyToMeterAll->isEnabled());
    EXPECT_TRUE(console.cmdDeletePC->isEnabled());
}

// A copy of many programs stops between two of them: what arrived stays, the rest stays on
// its side, and the note says how many were copied.
TEST_F(ProgramWindowTest, ConsoleCopyAllToTheMeterStopsBetweenProgramsKeepingWhatArrived) {
    Connect({"--programs", "0"});
    for (int n = 900; n < 930; ++n) {
        WriteProgramFile(QStringLiteral("PROG %1.csv").arg(n), Program(QString::number(n)));
    }
    frmProgConsole console(Programs(), nullptr);
    console.show();
    console.lstProgsPC->setCurrentRow(0);
    QStringList shown;
    ui.onYield = [&] {
        for (frmWait* wait : console.findChildren<frmWait*>()) {
            if (wait->isVisible() && !shown.contains(wait->lblText->text())) {
                shown << wait->lblText->text();
            }
            if (wait->isVisible() && MeterLog().filter(MeterCommand::kNewProgram).size() >= 3) {
                wait->cmdCancel->click();
            }
        }
    };
    console.cmdCopyToMeterAll->click();
    ui.onYield = nullptr;
    EXPECT_EQ(MeterLog().filter(MeterCommand::kNewProgram).size(), 3);
    EXPECT_EQ(Entries(console.lstProgsMeter), QStringList({"900", "901", "902"}));
    EXPECT_EQ(console.lstProgsPC->count(), 30);
    EXPECT_EQ(shown,
              QStringList({"Programme 1 sur 30", "Programme 2 sur 30", "Programme 3 sur 30"}));
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{LoadResString(1169) + kCrLf + "3 programme(s) sur 30 copié(s)."});
    EXPECT_TRUE(console.isVisible());
}

// The console's close box during a copy of all ends the copy after the program under way,
// then closes the console.
TEST_F(ProgramWindowTest, ConsoleCloseBoxDuringCopyAllEndsTheCopyThenTheConsole) {
    Connect({"--programs", "3"});
    frmProgConsole console(Programs(), nullptr);
    console.show();
    dialogs.Expect<frmChangeDir>([](frmChangeDir& chooser) { chooser.cmdOK->click(); });
    std::optional<bool> closedAtOnce;
    ui.onYield = [&] {
        if (!closedAtOnce && QFile::exists(work.file("PROG 900.csv"))) {
            closedAtOnce = console.close();
        }
    };
    console.cmdCopyToPCAll->click();
    ui.onYield = nullptr;
    EXPECT_EQ(closedAtOnce, false);
    EXPECT_FALSE(QFile::exists(work.file("PROG 901.csv")));
    EXPECT_EQ(ui.MessageTexts(),
              QStringList({LoadResString(1169) + kCrLf + "1 programme(s) sur 3 copié(s).",
                           LoadResString(1767).arg(work.path()).arg(1).arg(0).arg(0)}));
    EXPECT_FALSE(console.isVisible());
}
