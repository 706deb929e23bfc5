#include "engine/MeterEngine.h"

#include "engine/Answers.h"

#include <gtest/gtest.h>

namespace {

MeterEngine Engine(const QString& model = QStringLiteral("Zentravox"),
                   const QString& firmware = QStringLiteral("2.05")) {
    MeterSetup setup;
    setup.model = model;
    setup.firmware = firmware;
    setup.serial = QStringLiteral("SN-4711");
    setup.variant = QStringLiteral("var 429637");
    return MeterEngine(setup);
}

QByteArray Ask(MeterEngine& engine, const QByteArray& line) {
    return engine.Answer(line).value_or(QByteArrayLiteral("<silent>"));
}

// The comma-separated values of a protocol answer, the framing checked and removed.
QList<QByteArray> ProtocolFields(MeterEngine& engine, const QByteArray& command) {
    const QByteArray answer = Ask(engine, command);
    EXPECT_TRUE(answer.startsWith("\r\n") && answer.endsWith(SimAnswer::kOk)) << answer.data();
    return answer.mid(2, answer.size() - 8).split(',');
}

TEST(MeterEngine, IdentificationAnswersCarryTheConfiguredValues) {
    MeterEngine engine = Engine(QStringLiteral("Ardel 60 IR"), QStringLiteral("2.42"));
    EXPECT_EQ(Ask(engine, "U.400"), SimAnswer::kOk);
    EXPECT_EQ(Ask(engine, "U.597"), QByteArray("\r\n2.42\r\n!\r\n>"));
    EXPECT_EQ(Ask(engine, "U.595"), QByteArray("\r\nArdel 60 IR\r\n!\r\n>"));
    EXPECT_EQ(Ask(engine, "U.596"), QByteArray("\r\nSN-4711\r\n!\r\n>"));
    EXPECT_EQ(Ask(engine, "U.592"), QByteArray("\r\nvar 429637\r\n!\r\n>"));
    EXPECT_EQ(Ask(engine, "U.999"), SimAnswer::kOk);
}

TEST(MeterEngine, VariantQueryNeedsFirmwareTwo) {
    MeterEngine old = Engine(QStringLiteral("Zentravox"), QStringLiteral("1.99"));
    EXPECT_EQ(Ask(old, "U.592"), SimAnswer::kRefused);
    MeterEngine current = Engine(QStringLiteral("Zentravox"), QStringLiteral("2.00"));
    EXPECT_TRUE(Ask(current, "U.592").endsWith(SimAnswer::kOk));
}

TEST(MeterEngine, UnknownOrMalformedCommandsAreRefused) {
    MeterEngine engine = Engine();
    for (const QByteArray line : {"U.401", "", "u.400", "U.400#1,5", "U.513#2,900", "U.513#x,900",
                                  "U.513", "U.512#1,900"}) {
        EXPECT_EQ(Ask(engine, line), SimAnswer::kRefused) << line.data();
    }
}

TEST(MeterEngine, DataMemoryIsOneAnswerOfTheRecordLines) {
    MeterSetup setup;
    setup.records = {"1;a;b", "2;c;d"};
    MeterEngine engine(setup);
    EXPECT_EQ(Ask(engine, "U.581"), QByteArray("\r\n1;a;b\r\n2;c;d\r\n!\r\n>"));
    // An empty memory still has its (empty) value line.
    MeterEngine empty{MeterSetup()};
    EXPECT_EQ(Ask(empty, "U.581"), QByteArray("\r\n\r\n!\r\n>"));
}

TEST(MeterEngine, ProtocolsFollowTheModelsChannels) {
    struct Case {
        const char* model;
        bool ph, turbidity, extended;
    };
    for (const Case& c :
         {Case{"Zentravox", true, false, false}, Case{"Zentravox Turb", true, true, false},
          Case{"Zentravox STD", false, false, false}, Case{"R-2600", false, false, false},
          Case{"DEVICENAME", true, true, false}, Case{"Ardel 20 T", false, true, false},
          Case{"Ardel 60 T", false, true, true}}) {
        MeterEngine engine = Engine(QString::fromLatin1(c.model));
        EXPECT_EQ(Ask(engine, "U.586").endsWith(SimAnswer::kOk), c.ph) << c.model;
        EXPECT_EQ(Ask(engine, "U.585").endsWith(SimAnswer::kOk), c.turbidity) << c.model;
        EXPECT_EQ(Ask(engine, "U.587").endsWith(SimAnswer::kOk), c.extended) << c.model;
    }
}

TEST(MeterEngine, ProtocolAnswersHaveTheReadableLayouts) {
    MeterEngine photometer = Engine(QStringLiteral("Zentravox"));
    const QList<QByteArray> ph = ProtocolFields(photometer, "U.586");
    // 15 leading fields, then pH, mV and °C of each calibration point.
    const int points = ph.value(14).toInt();
    ASSERT_GE(points, 1);
    ASSERT_LE(points, 3);
    EXPECT_EQ(ph.size(), 15 + 3 * points);
    for (const QByteArray& field : ph.mid(1)) {
        bool number = false;
        field.toDouble(&number);
        EXPECT_TRUE(number) << field.data();
    }

    MeterEngine ardel = Engine(QStringLiteral("Ardel 60 IR"), QStringLiteral("2.42"));
    EXPECT_EQ(ProtocolFields(ardel, "U.585").size(), 8);
    const QList<QByteArray> extended = ProtocolFields(ardel, "U.587");
    const int standards = extended.value(9).toInt();
    ASSERT_GE(standards, 1);
    ASSERT_LE(standards, 5);
    EXPECT_EQ(extended.size(), 10 + standards);
}

TEST(MeterEngine, RefuseAndSilentFaultsMatchACodeOrAWholeLine) {
    MeterSetup setup;
    QString error;
    ASSERT_TRUE(setup.faults.Add(QStringLiteral("refuse:U.581"), error));
    ASSERT_TRUE(setup.faults.Add(QStringLiteral("silent:U.513#1,901"), error));
    setup.programs = 3;
    MeterEngine engine(setup);
    EXPECT_EQ(Ask(engine, "U.581"), SimAnswer::kRefused);
    EXPECT_FALSE(engine.Answer("U.513#1,901").has_value());
    EXPECT_TRUE(Ask(engine, "U.513#1,900").endsWith(SimAnswer::kOk));
    EXPECT_EQ(Ask(engine, "U.400"), SimAnswer::kOk);
}

TEST(MeterEngine, GarbageFollowsEveryTerminator) {
    MeterSetup setup;
    QString error;
    ASSERT_TRUE(setup.faults.Add(QStringLiteral("garbage-after"), error));
    MeterEngine engine(setup);
    EXPECT_EQ(Ask(engine, "U.400"), SimAnswer::kOk + Faults::kGarbage);
    EXPECT_EQ(Ask(engine, "U.123"), SimAnswer::kRefused + Faults::kGarbage);
}

TEST(Faults, ParsesEachKindAndRejectsTheRest) {
    Faults faults;
    QString error;
    for (const char* option :
         {"refuse:U.597", "silent:U.400", "chunk:7", "delay-ms:250", "garbage-after"}) {
        EXPECT_TRUE(faults.Add(QString::fromLatin1(option), error)) << option;
    }
    EXPECT_EQ(faults.refuse, QStringList{"U.597"});
    EXPECT_EQ(faults.silent, QStringList{"U.400"});
    EXPECT_EQ(faults.chunk, 7);
    EXPECT_EQ(faults.delayMs, 250);
    EXPECT_TRUE(faults.garbageAfter);
    for (const char* option :
         {"refuse:", "chunk:0", "chunk:x", "delay-ms:-5", "garbage-after:1", "explode"}) {
        error.clear();
        EXPECT_FALSE(faults.Add(QString::fromLatin1(option), error)) << option;
        EXPECT_FALSE(error.isEmpty()) << option;
    }
}

} // namespace
