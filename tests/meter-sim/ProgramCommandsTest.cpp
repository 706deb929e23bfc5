#include "engine/Answers.h"
#include "engine/MeterEngine.h"

#include <gtest/gtest.h>

namespace {

QByteArray Program(int number, const QByteArray& unit = "mg/l") {
    return "U.500#14," + QByteArray::number(number) + ",Nit1,16,436,0.0,2.0,0.0,1.0,0.01,NO3," +
           unit + ",0,1,0";
}

QByteArray Replacement(int number) {
    return "U.502#14," + QByteArray::number(number) +
           ",Nit2,28,517,0.5,9.5,0.01,2.5,0.1,NO3-N,ppm,1,0,1";
}

class ProgramCommands : public ::testing::Test {
protected:
    explicit ProgramCommands(const QString& model = QStringLiteral("Zentravox")) {
        MeterSetup setup;
        setup.model = model;
        m_engine.emplace(setup);
    }
    QByteArray Ask(const QByteArray& line) { return m_engine->Answer(line).value(); }
    QByteArray List() { return Ask("U.512"); }

    std::optional<MeterEngine> m_engine;
};

TEST_F(ProgramCommands, ListIsTheBareTerminatorWhenEmptyAndAscendingOtherwise) {
    EXPECT_EQ(List(), SimAnswer::kOk);
    for (int number : {905, 900, 999, 903}) {
        EXPECT_EQ(Ask(Program(number)), SimAnswer::kOk) << number;
    }
    EXPECT_EQ(List(), QByteArray("\r\n900\r\n903\r\n905\r\n999\r\n!\r\n>"));
}

TEST_F(ProgramCommands, ReadBackHasTheReservedZeroAsSeventhField) {
    ASSERT_EQ(Ask(Program(905)), SimAnswer::kOk);
    EXPECT_EQ(Ask("U.513#1,905"),
              QByteArray("\r\n905;Nit1;16;436;0.0;2.0;0;0.0;1.0;0.01;NO3;mg/l;0;1;0\r\n!\r\n>"));
    EXPECT_EQ(Ask("U.513#1,906"), SimAnswer::kRefused);
}

TEST_F(ProgramCommands, AddRefusesDuplicatesAndNumbersOutsideTheRange) {
    ASSERT_EQ(Ask(Program(910)), SimAnswer::kOk);
    EXPECT_EQ(Ask(Program(910)), SimAnswer::kRefused);
    for (int number : {899, 1000, 0, 90}) {
        EXPECT_EQ(Ask(Program(number)), SimAnswer::kRefused) << number;
    }
    EXPECT_EQ(List(), QByteArray("\r\n910\r\n!\r\n>"));
}

TEST_F(ProgramCommands, WritesThatTheMeterCouldNotHoldAreRefusedWhole) {
    const QByteArray good = Program(920);
    QList<QByteArray> bad;
    bad << QByteArray(good).replace("Nit1", "Nitrat")   // MODEL longer than 5
        << QByteArray(good).replace(",436,", ",x,")     // LAMBDA not a number
        << QByteArray(good).replace(",0,1,0", ",0,2,0") // a flag other than 0 or 1
        << QByteArray(good).replace("NO3", "N;O3")      // would break the read-back line
        << QByteArray(good).replace("#14,", "#13,")     // count does not match
        << QByteArray(good).replace(",0,1,0", ",0,1");  // 13 values
    for (const QByteArray& line : bad) {
        EXPECT_EQ(Ask(line), SimAnswer::kRefused) << line.data();
    }
    EXPECT_EQ(List(), SimAnswer::kOk);
}

TEST_F(ProgramCommands, ReplaceChangesOnlyAnExistingProgram) {
    EXPECT_EQ(Ask(Replacement(930)), SimAnswer::kRefused);
    ASSERT_EQ(Ask(Program(930)), SimAnswer::kOk);
    ASSERT_EQ(Ask(Replacement(930)), SimAnswer::kOk);
    EXPECT_EQ(Ask("U.513#1,930"),
              QByteArray("\r\n930;Nit2;28;517;0.5;9.5;0;0.01;2.5;0.1;NO3-N;ppm;1;0;1\r\n!\r\n>"));
    EXPECT_EQ(List(), QByteArray("\r\n930\r\n!\r\n>"));
}

TEST_F(ProgramCommands, DeleteOneKeepsTheOthersInOrderAndDeleteAllEmpties) {
    for (int number : {900, 901, 902}) {
        ASSERT_EQ(Ask(Program(number)), SimAnswer::kOk);
    }
    EXPECT_EQ(Ask("U.521#1,901"), SimAnswer::kOk);
    EXPECT_EQ(Ask("U.521#1,901"), SimAnswer::kRefused);
    EXPECT_EQ(List(), QByteArray("\r\n900\r\n902\r\n!\r\n>"));
    EXPECT_EQ(Ask("U.520"), SimAnswer::kOk);
    EXPECT_EQ(List(), SimAnswer::kOk);
    EXPECT_EQ(Ask("U.513#1,900"), SimAnswer::kRefused);
}

TEST_F(ProgramCommands, NonAsciiTextTravelsAsWindows1252) {
    ASSERT_EQ(Ask(Program(940, "\xb0"
                               "dH")),
              SimAnswer::kOk);
    EXPECT_TRUE(Ask("U.513#1,940")
                    .contains(";NO3;\xb0"
                              "dH;0;1;0\r\n"));
}

class ReducedProgramCommands : public ProgramCommands {
protected:
    ReducedProgramCommands() : ProgramCommands(QStringLiteral("R-2600")) {}
};

TEST_F(ReducedProgramCommands, AcceptOnly900To949) {
    EXPECT_EQ(Ask(Program(949)), SimAnswer::kOk);
    EXPECT_EQ(Ask(Program(950)), SimAnswer::kRefused);
    EXPECT_EQ(Ask("U.513#1,950"), SimAnswer::kRefused);
    EXPECT_EQ(List(), QByteArray("\r\n949\r\n!\r\n>"));
}

class TurbidimeterProgramCommands : public ProgramCommands {
protected:
    TurbidimeterProgramCommands() : ProgramCommands(QStringLiteral("Ardel 20 IR")) {}
};

TEST_F(TurbidimeterProgramCommands, AreAllRefused) {
    for (const QByteArray& line :
         {QByteArray("U.512"), Program(900), Replacement(900), QByteArray("U.513#1,900"),
          QByteArray("U.521#1,900"), QByteArray("U.520")}) {
        EXPECT_EQ(Ask(line), SimAnswer::kRefused) << line.data();
    }
}

TEST(SeededPrograms, AreValidAndStayWithinTheModelsRange) {
    MeterSetup setup;
    setup.model = QStringLiteral("Zentravox STD");
    setup.programs = 60;
    MeterEngine engine(setup);
    const QStringList numbers = engine.programs().Numbers();
    ASSERT_EQ(numbers.size(), 50);
    EXPECT_EQ(numbers.first(), QStringLiteral("900"));
    EXPECT_EQ(numbers.last(), QStringLiteral("949"));
    const QByteArray answer = engine.Answer("U.513#1,903").value();
    EXPECT_EQ(answer.split(';').size(), 15);
    EXPECT_EQ(answer.split(';').value(6), QByteArray("0"));
}

} // namespace
