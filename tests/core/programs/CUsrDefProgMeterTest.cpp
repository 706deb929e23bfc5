#include "ProgramStoreFixture.h"

namespace {

QStringList Numbers(int first, int last) {
    QStringList numbers;
    for (int n = first; n <= last; ++n) {
        numbers << QString::number(n);
    }
    return numbers;
}

} // namespace

TEST_F(ProgramStoreTest, OfflineUpdateEmptiesTheListWithoutTalking) {
    ConnectWith({"900", "901"});
    services->device.Online(false);
    EXPECT_TRUE(store().Update());
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_TRUE(link->calls.isEmpty());
}

TEST_F(ProgramStoreTest, UpdateReadsTheNumbersThenEveryProgramInItsOwnConversation) {
    Connect();
    MeterHolds({"900", "905"});
    ASSERT_TRUE(store().Update());
    EXPECT_EQ(Listed(), QStringList({"900", "905"}));
    const QStringList conversation{"COMInit 1 4800 4", "send U.400"};
    const QStringList expected = conversation + QStringList{"send U.512", "COMDeinit"} +
                                 conversation + QStringList{"send U.513#1,900", "COMDeinit"} +
                                 conversation + QStringList{"send U.513#1,905", "COMDeinit"};
    EXPECT_EQ(link->calls, expected);
    EXPECT_GE(ui.yields, 2);

    ProgramRecord program(40);
    ASSERT_TRUE(store().GetProgramMeter(program, "905"));
    EXPECT_EQ(program.size(), 40);
    EXPECT_EQ(program.mid(0, 12), QStringList({"905", "M905", "16", "436", "0.0", "2.0", "0.0",
                                               "1.0", "0.01", "NO3", "mg/l", "---"}));
    EXPECT_EQ(program.mid(12, 20), QStringList(20));
    // CALREQ shares its answer field with the terminator.
    EXPECT_EQ(program.mid(32, 3), QStringList({"0", "1", "1"}));
    EXPECT_FALSE(store().GetProgramMeter(program, "906"));
    EXPECT_EQ(program, QStringList(40));
    ProgramRecord tooShort(34);
    EXPECT_FALSE(store().GetProgramMeter(tooShort, "905"));
}

TEST_F(ProgramStoreTest, EmptyMeterOffersTheFirstNumber) {
    Connect();
    MeterHolds({});
    ASSERT_TRUE(store().Update());
    EXPECT_TRUE(Listed().isEmpty());
    QString free;
    ASSERT_TRUE(store().GetFreeProgNumMeter(free));
    EXPECT_EQ(free, "900");
}

TEST_F(ProgramStoreTest, FreeNumberRangeDependsOnTheModel) {
    Connect();
    MeterHolds(Numbers(900, 949));
    ASSERT_TRUE(store().Update());
    QString free;
    ASSERT_TRUE(store().GetFreeProgNumMeter(free));
    EXPECT_EQ(free, "950");

    Connect(QStringLiteral("R-2600")); // the reduced set: 900 to 949 only
    MeterHolds(Numbers(900, 949));
    ASSERT_TRUE(store().Update());
    EXPECT_FALSE(store().GetFreeProgNumMeter(free));
    EXPECT_EQ(free, "");

    Connect();
    MeterHolds(Numbers(900, 999));
    ASSERT_TRUE(store().Update());
    EXPECT_EQ(Listed().size(), 100);
    EXPECT_FALSE(store().GetFreeProgNumMeter(free));
}

TEST_F(ProgramStoreTest, AnUnexpectedCheckFieldFailsTheUpdateAndEmptiesTheList) {
    ConnectWith({"900", "901"});
    MeterHolds({"900", "901", "902"});
    link->Script(Cmd("U.513#1,901"), {ProgramAnswer("901", "x", "1")});
    EXPECT_FALSE(store().Update());
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_FALSE(link->sent.contains(Cmd("U.513#1,902")));
    EXPECT_EQ(link->calls.last(), "COMDeinit");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramStoreTest, FailedProgramAnswersFailTheUpdate) {
    const QString shortAnswer = "\r\n900;a;b;c;d;e;0;f;g;h;i;j;k;1\r\n!\r\n>"; // 14 fields
    const QString unterminated = "\r\n900;a;b;c;d;e;0;f;g;h;i;j;k;l;1\r\n";
    for (const QString& answer : {shortAnswer, unterminated, QString()}) {
        ConnectWith({"900"});
        link->Script(Cmd("U.513#1,900"), {answer});
        EXPECT_FALSE(store().Update());
        EXPECT_TRUE(Listed().isEmpty());
    }
}

TEST_F(ProgramStoreTest, FailedListRequestAbortsTheTransfer) {
    ConnectWith({"900"});
    link->Script(Cmd("U.512"), {QString()}); // no answer (or a stop by the wait dialog)
    EXPECT_FALSE(store().Update());
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_EQ(link->calls, QStringList({"COMInit 1 4800 4", "send U.400", "send U.512",
                                        "COMContinue", "send U.999", "COMDeinit"}));
}

TEST_F(ProgramStoreTest, NoSecondCommandWithoutTheOpeningAnswer) {
    ConnectWith({"900"});
    link->Script(Cmd("U.400"), {QString()});
    EXPECT_FALSE(store().Update());
    EXPECT_EQ(link->calls, QStringList({"COMInit 1 4800 4", "send U.400", "COMDeinit"}));

    link->calls.clear();
    link->initSucceeds = false;
    EXPECT_FALSE(store().Delete("900"));
    EXPECT_EQ(link->calls, QStringList({"COMInit 1 4800 4"}));
}

TEST_F(ProgramStoreTest, MoreThanAHundredNumbersFail) {
    Connect();
    MeterHolds(Numbers(900, 1000));
    EXPECT_FALSE(store().Update());
    EXPECT_TRUE(Listed().isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(link->sent.contains(Cmd("U.513#1,900")));
}

TEST_F(ProgramStoreTest, StopUpdateSkipsTheRemainingPrograms) {
    ConnectWith({"900", "901"});
    // The wait dialog closes while the first program is being read.
    MeterHolds({"901", "905", "906"});
    link->hookCommand = Cmd("U.513#1,901");
    link->hook = [&] { store().StopUpdate(); };
    EXPECT_TRUE(store().Update());
    EXPECT_EQ(Listed(), QStringList({"901", "905", "906"}));
    EXPECT_FALSE(link->sent.contains(Cmd("U.513#1,905")));
    ProgramRecord program = EmptyProgramRecord();
    ASSERT_TRUE(store().GetProgramMeter(program, "901"));
    EXPECT_EQ(program[ProgramField::MODEL], "M901");
    // 905 sits where 901 was before; it must not show 901's old fields.
    ASSERT_TRUE(store().GetProgramMeter(program, "905"));
    EXPECT_EQ(program[ProgramField::NO], "905");
    EXPECT_EQ(program[ProgramField::MODEL], "");

    // The next Update reads everything again.
    link->hook = nullptr;
    ASSERT_TRUE(store().Update());
    ASSERT_TRUE(store().GetProgramMeter(program, "905"));
    EXPECT_EQ(program[ProgramField::MODEL], "M905");
}

TEST_F(ProgramStoreTest, AddNewWritesReadsBackAndKeepsTheOrder) {
    ConnectWith({"900", "901", "905"});
    const QString write = Cmd("U.500#14,903,Nit1,16,436,0.0,2.0,0.0,1.0,0.01,NO3,mg/l,0,1,0");
    link->Script(write, {CCommunication::AnswerOK});
    link->Script(Cmd("U.513#1,903"), {ProgramAnswer("903", "Stored")});
    ASSERT_TRUE(store().AddNew(Record("903")));
    EXPECT_EQ(link->sent, QStringList({Cmd("U.400"), write, Cmd("U.400"), Cmd("U.513#1,903")}));
    EXPECT_EQ(Listed(), QStringList({"900", "901", "903", "905"}));
    ProgramRecord program = EmptyProgramRecord();
    ASSERT_TRUE(store().GetProgramMeter(program, "903"));
    EXPECT_EQ(program[ProgramField::MODEL], "Stored"); // the meter's copy

    // At the end and at the front too; a number already listed is refused after the write.
    link->Script(Cmd("U.500#14,999,Nit1,16,436,0.0,2.0,0.0,1.0,0.01,NO3,mg/l,0,1,0"),
                 {CCommunication::AnswerOK});
    link->Script(Cmd("U.513#1,999"), {ProgramAnswer("999")});
    ASSERT_TRUE(store().AddNew(Record("999")));
    link->Script(Cmd("U.500#14,901,Nit1,16,436,0.0,2.0,0.0,1.0,0.01,NO3,mg/l,0,1,0"),
                 {CCommunication::AnswerOK});
    EXPECT_FALSE(store().AddNew(Record("901")));
    EXPECT_EQ(Listed(), QStringList({"900", "901", "903", "905", "999"}));
}

TEST_F(ProgramStoreTest, WriteSucceedsOnlyOnTheBareTerminator) {
    ConnectWith({"900"});
    const QString write = Cmd("U.500#14,903,Nit1,16,436,0.0,2.0,0.0,1.0,0.01,NO3,mg/l,0,1,0");
    link->Script(Cmd("U.513#1,903"), {ProgramAnswer("903")});
    for (const QString& answer :
         {ScriptedMeterLink::OkAnswer("1"), ScriptedMeterLink::RefusedAnswer(), QString()}) {
        link->Script(write, {answer});
        link->sent.clear();
        EXPECT_FALSE(store().AddNew(Record("903")));
        EXPECT_FALSE(link->sent.contains(Cmd("U.513#1,903")));
    }
    EXPECT_EQ(Listed(), QStringList({"900"}));

    link->sent.clear();
    EXPECT_FALSE(store().AddNew(ProgramRecord(34)));
    EXPECT_TRUE(link->sent.isEmpty());
}

TEST_F(ProgramStoreTest, ModifyReplacesTheListedProgram) {
    ConnectWith({"900", "905"});
    ProgramRecord changed = Record("905");
    changed[ProgramField::MODEL] = "New";
    link->Script(Cmd("U.502#14,905,New,16,436,0.0,2.0,0.0,1.0,0.01,NO3,mg/l,0,1,0"),
                 {CCommunication::AnswerOK});
    link->Script(Cmd("U.513#1,905"), {ProgramAnswer("905", "New")});
    ASSERT_TRUE(store().Modify(changed));
    EXPECT_EQ(Listed(), QStringList({"900", "905"}));
    ProgramRecord program = EmptyProgramRecord();
    ASSERT_TRUE(store().GetProgramMeter(program, "905"));
    EXPECT_EQ(program[ProgramField::MODEL], "New");

    // A number the list does not hold cannot be replaced in it.
    link->Script(Cmd("U.502#14,907,Nit1,16,436,0.0,2.0,0.0,1.0,0.01,NO3,mg/l,0,1,0"),
                 {CCommunication::AnswerOK});
    link->Script(Cmd("U.513#1,907"), {ProgramAnswer("907")});
    EXPECT_FALSE(store().Modify(Record("907")));
    EXPECT_EQ(Listed(), QStringList({"900", "905"}));
}

TEST_F(ProgramStoreTest, DeleteOneAndAll) {
    ConnectWith({"900", "901", "905"});
    link->Script(Cmd("U.521#1,901"), {ScriptedMeterLink::OkAnswer("")});
    ASSERT_TRUE(store().Delete("901"));
    EXPECT_EQ(Listed(), QStringList({"900", "905"}));
    EXPECT_EQ(link->sent, QStringList({Cmd("U.400"), Cmd("U.521#1,901")}));
    // The meter refuses: the list stays.
    link->Script(Cmd("U.521#1,905"), {ScriptedMeterLink::RefusedAnswer()});
    EXPECT_FALSE(store().Delete("905"));
    EXPECT_EQ(Listed(), QStringList({"900", "905"}));
    // Gone from the meter but not listed.
    link->Script(Cmd("U.521#1,950"), {CCommunication::AnswerOK});
    EXPECT_FALSE(store().Delete("950"));

    link->Script(Cmd("U.520"), {ScriptedMeterLink::RefusedAnswer()});
    EXPECT_FALSE(store().DeleteAll());
    EXPECT_EQ(Listed().size(), 2);
    link->Script(Cmd("U.520"), {CCommunication::AnswerOK});
    ASSERT_TRUE(store().DeleteAll());
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_FALSE(store().AlreadyExistsMeter("900"));
}

TEST_F(ProgramStoreTest, ListMeterNeedsRoomForEveryNumber) {
    ConnectWith({"900", "901", "905"});
    QStringList list(2);
    short n = -1;
    EXPECT_FALSE(store().ListMeter(list, n));
    EXPECT_EQ(n, -1);
    EXPECT_TRUE(store().AlreadyExistsMeter("901"));
    EXPECT_FALSE(store().AlreadyExistsMeter("90"));
    EXPECT_FALSE(store().AlreadyExistsMeter("0"));
}
