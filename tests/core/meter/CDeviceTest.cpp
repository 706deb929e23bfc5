#include "meter/CDevice.h"

#include "app/BusyState.h"
#include "app/TextTables.h"
#include "meter/CCommunication.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString Cmd(const char* command) {
    return QLatin1String(command) + kCrLf;
}

class CDeviceTest : public ::testing::Test {
protected:
    // A meter answering the identification commands; no variant answer unless given.
    void Meter(const QString& model, const QString& firmware,
               const QString& variant = QStringLiteral("000000")) {
        link->ScriptOk(Cmd("U.400"), QStringLiteral("ok"));
        link->ScriptOk(Cmd("U.597"), firmware);
        link->ScriptOk(Cmd("U.595"), model);
        link->ScriptOk(Cmd("U.596"), QStringLiteral("SN-4711"));
        link->ScriptOk(Cmd("U.592"), variant);
    }

    short Recognise(bool onlyArdel60 = false) {
        name = QStringLiteral("stale");
        serial = QStringLiteral("stale");
        return device().Recognise(name, serial, onlyArdel60);
    }

    CDevice& device() { return m_device; }

    ScriptedUi ui;
    ScriptedMeterLink scripted;
    ScriptedMeterLink* link = &scripted;
    BusyState busy;
    CCommunication communication{scripted};
    CDevice m_device{{scripted, communication, busy, ui}};
    QString name;
    QString serial;
};

} // namespace

TEST_F(CDeviceTest, FirmwareBoundaryOfEachFamily) {
    struct Case {
        const char* model;
        const char* firmware;
        short expected;
    };
    const Case cases[] = {
        {"Ardel 20 T", "1.59", -2}, {"Ardel 20 T", "1.60", 0},   {"Ardel 20 IR", "1.59", -2},
        {"Ardel 20 IR", "1.60", 0}, {"Ardel 60 IR", "2.41", -2}, {"Ardel 60 IR", "2.42", 0},
        {"Ardel 60 T", "2.41", -2}, {"Ardel 60 T", "2.42", 0},   {"Zentravox", "1.79", -2},
        {"Zentravox", "1.80", 0},   {"R-2600 Turb", "1.79", -2}, {"DEVICENAME", "1.80", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.firmware);
        Meter(QLatin1String(c.model), QLatin1String(c.firmware));
        EXPECT_EQ(Recognise(), c.expected);
        EXPECT_EQ(device().Online(), c.expected == 0);
        EXPECT_EQ(device().DeviceName(), QLatin1String(c.model));
        EXPECT_EQ(name, c.expected == 0 ? QLatin1String(c.model) : QString());
        EXPECT_EQ(serial, c.expected == 0 ? QStringLiteral("SN-4711") : QString());
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CDeviceTest, IdentificationCommandsInOrderAndVariantOnlyFromTwoHundred) {
    Meter(QStringLiteral("Zentravox"), QStringLiteral("1.99"));
    ASSERT_EQ(Recognise(), 0);
    EXPECT_EQ(link->sent, QStringList({Cmd("U.400"), Cmd("U.597"), Cmd("U.595"), Cmd("U.596")}));
    EXPECT_EQ(link->calls.first(), QStringLiteral("COMScanPorts"));
    EXPECT_EQ(link->calls[1], QStringLiteral("COMInit 1 4800 4"));
    EXPECT_EQ(link->calls.last(), QStringLiteral("COMDeinit"));

    link->sent.clear();
    Meter(QStringLiteral("Zentravox"), QStringLiteral("2.00"));
    ASSERT_EQ(Recognise(), 0);
    EXPECT_EQ(link->sent,
              QStringList({Cmd("U.400"), Cmd("U.597"), Cmd("U.595"), Cmd("U.596"), Cmd("U.592")}));
}

TEST_F(CDeviceTest, FirmwareTextRules) {
    struct Case {
        const char* firmware;
        short expected;
        bool variantAsked; // tells the parsed version: U.592 from 200 on
    };
    const Case cases[] = {
        {"02.5", 0, true}, // minor is a plain number: 2 * 100 + 5
        {"2.05", 0, true},   {"1.100", 0, true},  {" 1.80", 0, false},
        {"2.5", -2, false}, // three characters or fewer are rejected
        {"2.1", -2, false},  {".180", -2, false}, {"180.", -2, false},
        {"1800", -2, false}, {"", -2, false},     {"abc.de", -2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firmware);
        link->sent.clear();
        Meter(QStringLiteral("Ardel 20 T"), QLatin1String(c.firmware));
        EXPECT_EQ(Recognise(), c.expected);
        EXPECT_EQ(link->sent.contains(Cmd("U.592")), c.variantAsked);
        EXPECT_EQ(link->calls.last(), QStringLiteral("COMDeinit"));
    }
    EXPECT_TRUE(ui.messages.isEmpty());

    // A version beyond the 16-bit range is a reported run-time error, then "too old".
    Meter(QStringLiteral("Ardel 20 T"), QStringLiteral("400.00"));
    EXPECT_EQ(Recognise(), -2);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, LoadResString(1033));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
}

TEST_F(CDeviceTest, EveryFailureAfterInitEndsTheConversation) {
    for (const char* silent : {"U.400", "U.597", "U.595", "U.596", "U.592"}) {
        SCOPED_TRACE(silent);
        link->calls.clear();
        Meter(QStringLiteral("Ardel 60 T"), QStringLiteral("2.50"));
        link->Script(Cmd(silent), {QString()});
        EXPECT_EQ(Recognise(), -1);
        EXPECT_EQ(link->calls.last(), QStringLiteral("COMDeinit"));
        EXPECT_EQ(link->calls.count(QStringLiteral("COMDeinit")), 1);
        EXPECT_FALSE(link->active);
    }

    // A refused firmware query means firmware too old.
    link->calls.clear();
    Meter(QStringLiteral("Ardel 60 T"), QStringLiteral("2.50"));
    link->Script(Cmd("U.597"), {ScriptedMeterLink::RefusedAnswer()});
    EXPECT_EQ(Recognise(), -2);
    EXPECT_EQ(link->calls.last(), QStringLiteral("COMDeinit"));

    // Refused value commands after the firmware check: no supported meter.
    for (const char* refused : {"U.595", "U.596", "U.592"}) {
        SCOPED_TRACE(refused);
        Meter(QStringLiteral("Ardel 60 T"), QStringLiteral("2.50"));
        link->Script(Cmd(refused), {ScriptedMeterLink::RefusedAnswer()});
        EXPECT_EQ(Recognise(), -1);
        EXPECT_FALSE(device().Online());
    }

    // A failed start of the conversation sends nothing.
    link->sent.clear();
    link->initSucceeds = false;
    EXPECT_EQ(Recognise(), -1);
    EXPECT_TRUE(link->sent.isEmpty());
}

TEST_F(CDeviceTest, NoMeterRunsTheSearchTwice) {
    link->meterPresent = false;
    EXPECT_EQ(Recognise(), -1);
    EXPECT_EQ(link->calls, QStringList({"COMScanPorts", "COMScanPortsAgain"}));
    EXPECT_EQ(communication.COMPort, 0);
    EXPECT_TRUE(communication.Baudrate.isEmpty());
    EXPECT_TRUE(name.isEmpty());
}

TEST_F(CDeviceTest, AnOkAnswerTooShortForAValueIsReported) {
    Meter(QStringLiteral("Zentravox"), QStringLiteral("1.80"));
    link->Script(Cmd("U.595"), {QStringLiteral("x\r\n!\r\n>")});
    EXPECT_EQ(Recognise(), -1);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, LoadResString(1033));

    // An empty value between CR LF and the terminator is a value.
    link->Script(Cmd("U.595"), {QStringLiteral("\r\n\r\n!\r\n>")});
    EXPECT_EQ(Recognise(), -1); // "" is no known model
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(CDeviceTest, VariantNumberAnywhereInTheAnswerEnablesTheCalibrationLine) {
    for (const char* number : {"418250", "418251", "429637", "429638"}) {
        SCOPED_TRACE(number);
        Meter(QStringLiteral("Zentravox Turb"), QStringLiteral("2.05"),
              QStringLiteral("V;x") + QLatin1String(number) + "9;");
        ASSERT_EQ(Recognise(), 0);
        EXPECT_TRUE(device().SupportsCalLine());
    }
    for (const char* value : {"429636", "42963", "4-18250", ""}) {
        SCOPED_TRACE(value);
        Meter(QStringLiteral("Zentravox Turb"), QStringLiteral("2.05"), QLatin1String(value));
        ASSERT_EQ(Recognise(), 0);
        EXPECT_FALSE(device().SupportsCalLine());
        EXPECT_FALSE(device().SupportsCalLine(QStringLiteral("R-2600 Turb")));
        EXPECT_TRUE(device().SupportsCalLine(QStringLiteral("R-2600")));
    }
    // Below 2.00 nothing is asked, so no variant either.
    Meter(QStringLiteral("R-2600 Turb"), QStringLiteral("1.99"), QStringLiteral("429637"));
    ASSERT_EQ(Recognise(), 0);
    EXPECT_FALSE(device().SupportsCalLine());
}

TEST_F(CDeviceTest, Ardel60OnlyModeRejectsOtherModelsButKeepsTheName) {
    for (const char* model : {"Zentravox", "Ardel 20 T", "Ardel 60"}) {
        SCOPED_TRACE(model);
        Meter(QLatin1String(model), QStringLiteral("2.50"));
        EXPECT_EQ(Recognise(true), -1);
        EXPECT_EQ(device().DeviceName(), QLatin1String(model));
        EXPECT_FALSE(device().Online());
        EXPECT_TRUE(name.isEmpty());
        EXPECT_TRUE(serial.isEmpty());
    }
    for (const char* model : {"Ardel 60 T", "Ardel 60 IR"}) {
        Meter(QLatin1String(model), QStringLiteral("2.50"));
        EXPECT_EQ(Recognise(true), 0) << model;
    }
    // Outside that mode only the exact known names count.
    for (const char* model : {"zentravox", "Zentravox ", "R-2600 PRO", "Other"}) {
        Meter(QLatin1String(model), QStringLiteral("2.50"));
        EXPECT_EQ(Recognise(), -1) << model;
    }
}

TEST_F(CDeviceTest, CapabilitiesOfEveryModelOnline) {
    struct Case {
        const char* model;
        bool ardel20, ardel60, reduced, calLine, pH, turbidity;
    };
    const Case cases[] = {
        {"Zentravox", false, false, false, true, true, false},
        {"Zentravox Turb", false, false, false, false, true, true},
        {"Zentravox pH", false, false, false, true, true, false},
        {"Zentravox STD", false, false, true, true, false, false},
        {"R-2600", false, false, true, true, false, false},
        {"R-2600 Pro", false, false, false, true, true, false},
        {"R-2600 Turb", false, false, false, false, true, true},
        {"DEVICENAME", false, false, false, true, true, true},
        {"Ardel 20 IR", true, false, false, true, false, true},
        {"Ardel 20 T", true, false, false, true, false, true},
        {"Ardel 60 IR", false, true, false, true, false, true},
        {"Ardel 60 T", false, true, false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        const QString model = QLatin1String(c.model);
        Meter(model, QStringLiteral("2.50"));
        ASSERT_EQ(Recognise(), 0);
        EXPECT_EQ(device().IsArdel20(), c.ardel20);
        EXPECT_EQ(device().IsArdel60(), c.ardel60);
        EXPECT_EQ(device().HasReducedUserMethods(), c.reduced);
        EXPECT_EQ(device().SupportsCalLine(), c.calLine);
        EXPECT_EQ(device().SupportsPH(), c.pH);
        EXPECT_EQ(device().SupportsTurbidity(), c.turbidity);

        // Offline the stored model no longer counts; a given name still does.
        device().Online(false);
        EXPECT_FALSE(device().SupportsPH());
        EXPECT_FALSE(device().SupportsTurbidity());
        EXPECT_FALSE(device().IsArdel20());
        EXPECT_FALSE(device().HasReducedUserMethods());
        EXPECT_TRUE(device().SupportsCalLine());
        EXPECT_EQ(device().IsArdel20(model), c.ardel20);
        EXPECT_EQ(device().IsArdel60(model), c.ardel60);
        EXPECT_EQ(device().HasReducedUserMethods(model), c.reduced);
        EXPECT_EQ(device().SupportsCalLine(model), c.calLine);
    }
}

TEST_F(CDeviceTest, TableConfigNeedsSixteenElementsInEveryArray) {
    for (int small = 0; small < 3; ++small) {
        QStringList titles(small == 0 ? 15 : 16, QStringLiteral("keep"));
        QList<short> widths(small == 1 ? 15 : 16, short{-1});
        QList<int> kinds(small == 2 ? 15 : 16, -1);
        EXPECT_EQ(device().GetTableConfig(titles, widths, kinds, QStringLiteral("Ardel 20 T")), 0);
        EXPECT_EQ(titles.count(QStringLiteral("keep")), titles.size());
        EXPECT_EQ(widths.count(short{-1}), widths.size());
        EXPECT_EQ(kinds.count(-1), kinds.size());
    }
}

TEST_F(CDeviceTest, TableLayoutsPerModel) {
    auto config = [&](const QString& model, QStringList& titles, QList<short>& widths,
                      QList<int>& kinds) {
        titles = QStringList(20, QStringLiteral("keep"));
        widths = QList<short>(20, short{-1});
        kinds = QList<int>(20, -1);
        return device().GetTableConfig(titles, widths, kinds, model);
    };
    QStringList titles;
    QList<short> widths;
    QList<int> kinds;

    ASSERT_EQ(config(QStringLiteral("Ardel 20 IR"), titles, widths, kinds), 10);
    EXPECT_EQ(titles.mid(0, 10), QStringList({"No", "Date", "Heure", "ID", "Valeur", "Unité",
                                              "Etat", "CQA/Cal", "Date cal.", "Heure cal."}));
    EXPECT_EQ(widths.mid(0, 10),
              QList<short>({500, 800, 800, 500, 800, 1000, 800, 1600, 1000, 800}));
    EXPECT_EQ(kinds.mid(0, 10), QList<int>({0, 2, 2, 0, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(titles[10], QStringLiteral("keep"));
    EXPECT_EQ(widths[15], -1);
    EXPECT_EQ(kinds[10], -1);

    ASSERT_EQ(config(QStringLiteral("Ardel 60 T"), titles, widths, kinds), 10);
    EXPECT_EQ(titles[3], QStringLiteral("ID"));
    EXPECT_EQ(widths[3], 1200);
    EXPECT_EQ(kinds[3], 2);
    EXPECT_EQ(titles[7], QStringLiteral("CQA/Cal"));

    ASSERT_EQ(config(QStringLiteral("R-2600"), titles, widths, kinds), 16);
    EXPECT_EQ(titles.mid(0, 16),
              QStringList({"No", "Date", "Heure", "ID", "PROG", "Cit.", "AR/VB/Cal", "Dil.",
                           "Valeur 1", "Unité 1", "Etat 1", "Valeur 2", "Unité 2", "Etat 2",
                           "Date cal.", "Heure cal."}));
    EXPECT_EQ(widths.mid(0, 16), QList<short>({500, 800, 800, 500, 800, 1000, 1000, 800, 800, 1000,
                                               800, 800, 1000, 800, 1000, 800}));
    EXPECT_EQ(kinds.mid(0, 16), QList<int>({0, 2, 2, 0, 0, 2, 2, 2, 1, 2, 2, 1, 2, 2, 2, 2}));
    EXPECT_EQ(titles[16], QStringLiteral("keep"));

    // No name: the stored model when online, the 16 columns offline.
    EXPECT_EQ(config(QString(), titles, widths, kinds), 16);
    Meter(QStringLiteral("Ardel 20 T"), QStringLiteral("1.60"));
    ASSERT_EQ(Recognise(), 0);
    EXPECT_EQ(config(QString(), titles, widths, kinds), 10);
    device().Online(false);
    EXPECT_EQ(config(QString(), titles, widths, kinds), 16);
}

TEST(FirmwareSufficient, UnknownModelsNeedThePhotometerVersion) {
    EXPECT_FALSE(FirmwareSufficient(179, QStringLiteral("Someone")));
    EXPECT_TRUE(FirmwareSufficient(180, QStringLiteral("Someone")));
    EXPECT_TRUE(FirmwareSufficient(160, QStringLiteral("Ardel 20 IR")));
    EXPECT_FALSE(FirmwareSufficient(241, QStringLiteral("Ardel 60 IR")));
}
