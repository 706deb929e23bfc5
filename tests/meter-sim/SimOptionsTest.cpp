#include "engine/SimOptions.h"

#include <gtest/gtest.h>

namespace {

std::optional<SimOptions> Parse(const QStringList& args, QString* error = nullptr) {
    QString message;
    QString help;
    auto options =
        ParseSimOptions(QStringList{QStringLiteral("mervex-meter-sim")} << args, message, help);
    if (error != nullptr) {
        *error = message;
    }
    return options;
}

TEST(SimOptions, DefaultsDescribeAPhotometerAt4800Baud) {
    const std::optional<SimOptions> options = Parse({});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->setup.model, QStringLiteral("Zentravox"));
    EXPECT_EQ(options->setup.firmware, QStringLiteral("2.05"));
    EXPECT_EQ(options->baud, 4800);
    EXPECT_GT(options->records, 0);
    EXPECT_EQ(options->setup.programs, 0);
}

TEST(SimOptions, TakesEveryOptionAndRepeatedFaults) {
    const std::optional<SimOptions> options =
        Parse({"--model",        "Ardel 60 T", "--firmware", "2.42",        "--serial",
               "A60-1",          "--variant",  "x",          "--baud",      "2400",
               "--records-file", "/tmp/m.txt", "--programs", "4",           "--link",
               "/tmp/meter",     "--log",      "/tmp/log",   "--fault",     "refuse:U.581",
               "--fault",        "chunk:5",    "--fault",    "refuse:U.512"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->setup.model, QStringLiteral("Ardel 60 T"));
    EXPECT_EQ(options->setup.serial, QStringLiteral("A60-1"));
    EXPECT_EQ(options->baud, 2400);
    EXPECT_EQ(options->recordsFile, QStringLiteral("/tmp/m.txt"));
    EXPECT_EQ(options->setup.programs, 4);
    EXPECT_EQ(options->link, QStringLiteral("/tmp/meter"));
    EXPECT_EQ(options->setup.faults.refuse, (QStringList{"U.581", "U.512"}));
    EXPECT_EQ(options->setup.faults.chunk, 5);
}

TEST(SimOptions, Ardel60ModelsDefaultToAFirmwareTheyShipWith) {
    const std::optional<SimOptions> ardel60 = Parse({"--model", "Ardel 60 IR"});
    ASSERT_TRUE(ardel60);
    EXPECT_GE(FirmwareNumber(ardel60->setup.firmware), 242);
    const std::optional<SimOptions> old = Parse({"--model", "Ardel 60 IR", "--firmware", "2.41"});
    ASSERT_TRUE(old);
    EXPECT_EQ(old->setup.firmware, QStringLiteral("2.41"));
    const std::optional<SimOptions> ardel20 = Parse({"--model", "Ardel 20 IR"});
    ASSERT_TRUE(ardel20);
    EXPECT_EQ(ardel20->setup.firmware, QStringLiteral("2.05"));
}

TEST(SimOptions, UsageErrorsAreExplained) {
    const QList<QStringList> wrong{{"--records", "5", "--records-file", "f"},
                                   {"--records", "-1"},
                                   {"--baud", "fast"},
                                   {"--programs", "101"},
                                   {"--fault", "crash"},
                                   {"--colour"},
                                   {"extra"}};
    for (const QStringList& args : wrong) {
        QString error;
        EXPECT_FALSE(Parse(args, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty()) << args.join(' ').toStdString();
    }
}

} // namespace
