#include "app/Services.h"
#include "meter/SerialLink.h"
#include "programs/ProgramFile.h"
#include "support/CliRunner.h"
#include "support/MeterSim.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

const QStringList kProgramCodes{"U.500", "U.502", "U.512", "U.513", "U.520", "U.521"};

// Every program command the emulator received came right after the opening command (the
// link sends a refused command once more, so a repeat may stand between them).
void ExpectEveryConversationOpened(const QStringList& log) {
    int programCommands = 0;
    for (int i = 0; i < log.size(); ++i) {
        if (kProgramCodes.contains(log[i].left(5))) {
            ++programCommands;
            int before = i - 1;
            while (before >= 0 && log[before] == log[i]) {
                --before;
            }
            EXPECT_EQ(log.value(before), "U.400") << "before " << log[i].toStdString();
        }
    }
    EXPECT_GT(programCommands, 0);
}

// The program store of the desktop program talking to the emulator over its device.
class ProgramStoreOverEmulator : public ::testing::Test {
protected:
    void Start(const QStringList& args) {
        sim = std::make_unique<MeterSim>(args);
        ASSERT_FALSE(sim->device().isEmpty()) << sim->errors().toStdString();
        services = std::make_unique<Services>(ui, MakeSerialLink(ui, {sim->device()}));
        QString name;
        QString serial;
        ASSERT_EQ(services->device.Recognise(name, serial, false), 0);
    }

    CUsrDefProg& store() { return services->usrDefProg; }

    QStringList Listed() {
        QStringList list(100);
        short n = -1;
        EXPECT_TRUE(store().ListMeter(list, n));
        return list.mid(0, n);
    }

    static ProgramRecord Program(const QString& no, const QString& model = "Nit1") {
        ProgramRecord r = EmptyProgramRecord();
        const QStringList values{no,     model, "16",   "436", "0.0",  "2.0",
                                 "0.01", "1.5", "0.01", "NO3", "mg/l", "Lab1"};
        for (int i = 0; i < values.size(); ++i) {
            r[i] = values[i];
        }
        r[ProgramField::BLANKREQ] = "1";
        r[ProgramField::CALPSB] = "0";
        r[ProgramField::CALREQ] = "1";
        return r;
    }

    ScriptedUi ui;
    std::unique_ptr<MeterSim> sim;
    std::unique_ptr<Services> services;
};

} // namespace

TEST_F(ProgramStoreOverEmulator, EmptyMeterOffersTheFirstNumber) {
    Start({"--model", "Zentravox", "--programs", "0"});
    ASSERT_TRUE(store().Update());
    EXPECT_TRUE(Listed().isEmpty());
    QString free;
    ASSERT_TRUE(store().GetFreeProgNumMeter(free));
    EXPECT_EQ(free, "900");
    ExpectEveryConversationOpened(sim->log());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramStoreOverEmulator, AddNewModifyAndDeleteKeepTheListInStepWithTheMeter) {
    Start({"--model", "Zentravox", "--programs", "2"});
    ASSERT_TRUE(store().Update());
    ASSERT_EQ(Listed(), QStringList({"900", "901"}));
    ASSERT_TRUE(store().AddNew(Program("905")));
    ASSERT_TRUE(store().AddNew(Program("903")));
    EXPECT_EQ(Listed(), QStringList({"900", "901", "903", "905"}));
    // A number the meter already holds is refused.
    EXPECT_FALSE(store().AddNew(Program("903")));

    ASSERT_TRUE(store().Modify(Program("903", "Chg")));
    ProgramRecord read = EmptyProgramRecord();
    ASSERT_TRUE(store().GetProgramMeter(read, "903"));
    ProgramRecord expected = Program("903", "Chg");
    expected[ProgramField::USER] = "---"; // the meter keeps neither user nor pairs
    EXPECT_EQ(read, expected);

    // Deleting the middle entry of three.
    ASSERT_TRUE(store().Delete("901"));
    ASSERT_TRUE(store().Delete("905"));
    EXPECT_EQ(Listed(), QStringList({"900", "903"}));

    // The meter agrees with the list.
    ASSERT_TRUE(store().Update());
    EXPECT_EQ(Listed(), QStringList({"900", "903"}));
    ASSERT_TRUE(store().GetProgramMeter(read, "903"));
    EXPECT_EQ(read, expected);

    ASSERT_TRUE(store().DeleteAll());
    ASSERT_TRUE(store().Update());
    EXPECT_TRUE(Listed().isEmpty());
    ExpectEveryConversationOpened(sim->log());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramStoreOverEmulator, ReducedSetIsFullAtFortyNine) {
    Start({"--model", "R-2600", "--programs", "50"});
    ASSERT_TRUE(store().Update());
    EXPECT_EQ(Listed().size(), 50);
    EXPECT_EQ(Listed().last(), "949");
    QString free = "x";
    EXPECT_FALSE(store().GetFreeProgNumMeter(free));
    EXPECT_EQ(free, "");
    EXPECT_FALSE(store().AddNew(Program("950")));
    EXPECT_EQ(Listed().size(), 50);
    ExpectEveryConversationOpened(sim->log());
}

TEST(CliProgramsOverTheEmulator, CopiesProgramsBothWays) {
    TempDir dir;
    MeterSim sim({"--model", "Zentravox", "--programs", "3"});
    ASSERT_FALSE(sim.device().isEmpty()) << sim.errors().toStdString();
    const QStringList port{"--port", sim.device(), "--user", "Zoé;Lab"};

    const CliResult list = RunCli(port + QStringList{"programs", "list"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, "900\n901\n902\n");

    const QString file = dir.file("PROG 901.csv");
    const CliResult get = RunCli(port + QStringList{"programs", "get", "901", file});
    ASSERT_EQ(get.exitCode, 0) << get.err.toStdString();
    const QByteArray bytes = ReadBytes(file);
    EXPECT_TRUE(bytes.startsWith("NO;MODEL;CUV;LAMBDA;MRB;MRE;E0;SLOPE;RES;FORM;UNIT;USER;"
                                 "BLANKREQ;CALPSB;CALREQ\r\n901;"));
    EXPECT_TRUE(bytes.contains(";Zo\xe9.Lab;")); // --user after the login rules
    EXPECT_EQ(RunCli(port + QStringList{"programs", "get", "950", file}).err,
              "Lecture des programmes a échoué!\n");

    // Back under another number, then over an existing one only with --replace.
    WriteBytes(file, QByteArray(bytes).replace("\r\n901;", "\r\n907;"));
    EXPECT_EQ(RunCli(port + QStringList{"programs", "put", file}).exitCode, 0);
    const CliResult again = RunCli(port + QStringList{"programs", "put", file});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "Programme déjà existant!\n");
    EXPECT_EQ(RunCli(port + QStringList{"programs", "put", file, "--replace"}).exitCode, 0);

    EXPECT_EQ(RunCli(port + QStringList{"programs", "delete", "900"}).exitCode, 0);
    const CliResult missing = RunCli(port + QStringList{"programs", "delete", "900"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Effacement du programme a échoué!\n");
    EXPECT_EQ(RunCli(port + QStringList{"programs", "list"}).out, "901\n902\n907\n");
    EXPECT_EQ(RunCli(port + QStringList{"programs", "delete", "--all"}).exitCode, 0);
    EXPECT_EQ(RunCli(port + QStringList{"programs", "list"}).out, "");

    const QStringList log = sim.log();
    ExpectEveryConversationOpened(log);
    EXPECT_EQ(log.filter("U.502#14,907,").size(), 1);
}
