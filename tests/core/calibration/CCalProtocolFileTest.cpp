#include "CCalProtocolFixture.h"
#include "app/Windows1252.h"
#include "calibration/CalProtocolFile.h"
#include "support/LinuxText.h"

#include <QFile>

namespace {

const QString kLotLine = QStringLiteral("L-77;03/2026;Formazine SA;a;b;c;d;e");

QString TurbidityFile(const QStringList& tail) {
    QStringList lines{
        QStringLiteral("METER;SERNO;USER;PH"),
        QStringLiteral("Ardel 60 T;A60-9;Léa;False"),
        QStringLiteral("YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;SHOWPC"),
        QStringLiteral("2024;11;2;16;45;0;30;5-P;;;;false;FALSE"),
        QStringLiteral("CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3"),
        QStringLiteral("5;;;;;;;;;"),
    };
    return (lines + tail).join(QStringLiteral("\r\n"));
}

class CCalProtocolFileTest : public CCalProtocolFixture {
protected:
    bool Read(const QString& text) {
        const QString path = File(QStringLiteral("in.csv"));
        QFile::remove(path);
        WriteBytes(path, Windows1252::Encode(text));
        return protocol().ReadFromFile(path);
    }

    QString Saved() {
        const QString path = File(QStringLiteral("out.csv"));
        EXPECT_TRUE(protocol().SaveToFile(path));
        return Windows1252::Decode(ReadBytes(path));
    }

    void FetchPH() {
        Online(QStringLiteral("Zentravox pH"));
        Answers(QStringLiteral("U.586"),
                QStringLiteral("586,2024,3,15,9,5,7,1,-58.9,-3.2,5,7,1,0,2,4.01,172.3,25.0,"
                               "7.00,-3.1,25.1"));
        ASSERT_TRUE(protocol().UpdateFromMeter(true, false));
    }
};

} // namespace

TEST_F(CCalProtocolFileTest, PHProtocolIsWrittenAsTenLinesAndReadBackWhole) {
    FetchPH();
    const QString text = Saved();
    EXPECT_EQ(text, QStringLiteral(
                        "METER;SERNO;USER;PH\r\n"
                        "Zentravox pH;SN-4711;Marie;True\r\n"
                        "YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;SHOWPC\r\n"
                        "2024;3;15;9;5;7;7;Calomat NIST/DIN;-58.9;-3.2;Conf. de base;True;False\r\n"
                        "CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3\r\n"
                        "2;4.01;172.3;25.0;7.00;-3.1;25.1;;;\r\n"
                        "LOTTOTAL;EXPIRY;MANUF;STDLOW;STDMID;STDHIGH;STD4;STD5\r\n"
                        ";;;;;;;\r\n"
                        "CALPTS;TURB1;TURB2;TURB3;TURB4;TURB5\r\n"
                        "2;;;;;"));

    ASSERT_TRUE(Read(text));
    EXPECT_TRUE(protocol().IsProtocolValid());
    EXPECT_TRUE(protocol().IsProtocolPH());
    EXPECT_EQ(Saved(), text) << "reading and saving again changes nothing";
}

TEST_F(CCalProtocolFileTest, AFileReSavedByLinuxToolsReadsAsTheOriginal) {
    FetchPH();
    const QString text = Saved();
    const QString path = File(QStringLiteral("linux.csv"));
    for (const QByteArray& copy : LinuxCopies(Windows1252::Encode(text))) {
        WriteBytes(path, copy);
        ASSERT_TRUE(protocol().ReadFromFile(path)) << copy.left(40).toHex().toStdString();
        EXPECT_EQ(Saved(), text);
    }
}

TEST_F(CCalProtocolFileTest, TurbidityWithLotDataRoundTrips) {
    ASSERT_TRUE(
        Read(TurbidityFile({QStringLiteral("LOTTOTAL;EXPIRY;MANUF;STDLOW;STDMID;STDHIGH;STD4;STD5"),
                            kLotLine, QStringLiteral("CALPTS;TURB1;TURB2;TURB3;TURB4;TURB5"),
                            QStringLiteral("4;0.02;10.0;100;1000;")})));
    const TurbidityView t = ViewTurbidity();
    EXPECT_EQ(t.mode, QStringLiteral("5-P"));
    EXPECT_EQ(t.points, 4) << "line 10 replaces the count of line 6";
    EXPECT_EQ(t.standards, QStringList({"0.02", "10.0", "100", "1000"}));
    QString lot, expiry, maker;
    QStringList lots;
    ASSERT_TRUE(protocol().GetChargeID(lot, expiry, maker, lots));
    EXPECT_EQ(QStringList({lot, expiry, maker}) + lots, kLotLine.split(QLatin1Char(';')));

    const QString text = Saved();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nArdel 60 T;A60-9;Léa;False\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n2024;11;2;16;45;0;30;5-P;;;;False;False\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n4;;;;;;;;;\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n") + kLotLine +
                              QStringLiteral("\r\nCALPTS;TURB1;TURB2;TURB3;TURB4;TURB5\r\n"
                                             "4;0.02;10.0;100;1000;")));
    ASSERT_TRUE(Read(text));
    EXPECT_EQ(Saved(), text);
}

TEST_F(CCalProtocolFileTest, CountsAboveTheKeptValuesGiveWhatIsKept) {
    ASSERT_TRUE(Read(TurbidityFile({QStringLiteral("LOTTOTAL"), kLotLine, QStringLiteral("CALPTS"),
                                    QStringLiteral("7;1;2;3;4;5")})));
    const TurbidityView t = ViewTurbidity();
    EXPECT_EQ(t.points, 7) << "the count is the file's";
    EXPECT_EQ(t.standards, QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CCalProtocolFileTest, OlderShortFilesAreTheFixedThreePointProtocol) {
    for (const QStringList& tail :
         {QStringList{QStringLiteral("LOTTOTAL;x"), QStringLiteral("L1;e;m;a;b;c")},
          QStringList{}}) {
        SCOPED_TRACE(tail.size());
        ASSERT_TRUE(Read(TurbidityFile(tail)));
        const TurbidityView t = ViewTurbidity();
        EXPECT_EQ(t.mode, QStringLiteral("3-P StdCAL"));
        EXPECT_EQ(t.points, 3);
        EXPECT_EQ(t.standards, QStringList({"0.02", "10.0", "1000"}));
    }
    QString lot, expiry, maker;
    QStringList lots{QStringLiteral("old")};
    ASSERT_TRUE(protocol().GetChargeID(lot, expiry, maker, lots));
    EXPECT_EQ(lots, QStringList(5)) << "a six-line file has no lot data";
}

TEST_F(CCalProtocolFileTest, HeaderLinesMustMatchExactly) {
    const QString good = TurbidityFile({});
    ASSERT_TRUE(Read(good));
    const QStringList lines = good.split(QStringLiteral("\r\n"));
    for (int header : {0, 2, 4}) {
        for (const QString& variant : {lines[header] + QLatin1Char(' '),
                                       QLatin1Char(' ') + lines[header], lines[header].toLower()}) {
            QStringList changed = lines;
            changed[header] = variant;
            EXPECT_FALSE(Read(changed.join(QStringLiteral("\r\n")))) << variant.toStdString();
            EXPECT_TRUE(protocol().IsProtocolValid()) << "the protocol read before stays";
        }
    }
    // Lines 7 and 9 are not compared.
    EXPECT_TRUE(Read(TurbidityFile(
        {QStringLiteral("anything"), kLotLine, QStringLiteral("?"), QStringLiteral("2;1;2;;;")})));
    EXPECT_TRUE(ui.messages.isEmpty());
}

// A file that cannot be read whole changes nothing: the protocol held before can still be
// shown, saved and printed.
TEST_F(CCalProtocolFileTest, MalformedFilesFailAndKeepTheHeldProtocol) {
    FetchPH();
    QString heldMeter, held, heldUser;
    ASSERT_TRUE(protocol().GetProtocolHeader(heldMeter, held, heldUser));
    const QString lot = QStringLiteral("LOTTOTAL");
    const QString turb = QStringLiteral("CALPTS");
    struct Case {
        const char* why;
        QString text;
    };
    const Case cases[] = {
        {"five lines", TurbidityFile({}).section(QStringLiteral("\r\n"), 0, 4)},
        {"lot header without lot line", TurbidityFile({lot})},
        {"lot line with five fields", TurbidityFile({lot, QStringLiteral("1;2;3;4;5")})},
        {"turbidity header without its line", TurbidityFile({lot, kLotLine, turb})},
        {"turbidity line with five fields", TurbidityFile({lot, kLotLine, turb, "3;1;2;3;4"})},
        {"header line with three fields",
         TurbidityFile({}).replace(QStringLiteral("A60-9;Léa;"), QStringLiteral("A60-9"))},
        {"points line with nine fields",
         TurbidityFile({}).replace(QStringLiteral("5;;;;;;;;;"), QStringLiteral("5;;;;;;;;"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_FALSE(Read(c.text));
        EXPECT_TRUE(protocol().IsProtocolValid());
        EXPECT_TRUE(protocol().IsProtocolPH());
        QString meter, serNo, user;
        EXPECT_TRUE(protocol().GetProtocolHeader(meter, serNo, user));
        EXPECT_EQ(serNo, held);
    }
    EXPECT_FALSE(protocol().ReadFromFile(File(QStringLiteral("missing.csv"))));
    EXPECT_TRUE(ui.messages.isEmpty());

    // A flag that is no flag is a run-time error.
    EXPECT_FALSE(Read(TurbidityFile({}).replace(QStringLiteral("A60-9;Léa;False"),
                                                QStringLiteral("A60-9;Léa;Faux"))));
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(CCalProtocolFileTest, FlagsReadAsWordsInAnyCaseOrAsNumbers) {
    for (const auto& [text, expected] : {std::pair{"TRUE", true},
                                         {"true", true},
                                         {"-1", true},
                                         {"2", true},
                                         {"0", false},
                                         {"fAlSe", false}}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(Read(
            TurbidityFile({}).replace(QStringLiteral("Léa;False"), QStringLiteral("Léa;") + text)));
        EXPECT_EQ(protocol().IsProtocolPH(), expected);
    }
}

TEST_F(CCalProtocolFileTest, SavingNeedsAProtocolAndAWritableFile) {
    const QString path = File(QStringLiteral("none.csv"));
    EXPECT_FALSE(protocol().SaveToFile(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(ui.messages.isEmpty());

    FetchPH();
    EXPECT_FALSE(protocol().SaveToFile(File(QStringLiteral("no/such/folder/p.csv"))));
    EXPECT_EQ(ui.messages.size(), 1) << "the write failure is reported";
}

TEST_F(CCalProtocolFileTest, SeparatorsInsideFieldsDoNotBreakTheFile) {
    FetchPH();
    ASSERT_TRUE(protocol().SetChargeID(QStringLiteral("L;1"), QStringLiteral("05\r\n2026"),
                                       QStringLiteral("M"), {QStringLiteral("a;b")}));
    ASSERT_TRUE(Read(Saved()));
    QString lot, expiry, maker;
    QStringList lots;
    ASSERT_TRUE(protocol().GetChargeID(lot, expiry, maker, lots));
    EXPECT_EQ(lot, QStringLiteral("L,1"));
    EXPECT_EQ(expiry, QStringLiteral("05  2026"));
    EXPECT_EQ(lots, QStringList({"a,b", "", "", "", ""}));
}

TEST_F(CCalProtocolFileTest, LotDataIsKeptBesideTheProtocol) {
    const QStringList five{"s1", "s2", "s3", "s4", "s5"};
    ASSERT_TRUE(protocol().SetChargeID("L", "E", "M", five));
    EXPECT_FALSE(protocol().IsProtocolValid()) << "setting lot data loads no protocol";
    QString lot, expiry, maker;
    QStringList lots;
    ASSERT_TRUE(protocol().GetChargeID(lot, expiry, maker, lots));
    EXPECT_EQ(QStringList({lot, expiry, maker}) + lots, QStringList({"L", "E", "M"}) + five);

    FetchPH();
    ASSERT_TRUE(protocol().GetChargeID(lot, expiry, maker, lots));
    EXPECT_EQ(lot, QString()) << "a fetch starts from an empty record";
    ASSERT_TRUE(protocol().SetChargeID("L2", "E2", "M2", five));
    EXPECT_TRUE(protocol().IsProtocolValid());
}

TEST_F(CCalProtocolFileTest, FahrenheitAndWorkDir) {
    EXPECT_DOUBLE_EQ(protocol().TempGetFahrenheit(25), 77);
    EXPECT_DOUBLE_EQ(protocol().TempGetFahrenheit(-40), -40);
    EXPECT_DOUBLE_EQ(protocol().TempGetFahrenheit(37.5), 99.5);

    EXPECT_EQ(protocol().WorkDir(), services->config.WorkDir());
    protocol().WorkDir(File(QStringLiteral("work")));
    EXPECT_EQ(protocol().WorkDir(), File(QStringLiteral("work")));
    EXPECT_EQ(services->config.WorkDir(), File(QStringLiteral("work")));
}

TEST_F(CCalProtocolFileTest, AProtocolFileTellsItsKindAndItsPathIsKept) {
    FetchPH();
    EXPECT_TRUE(protocol().FilePath().isEmpty()) << "a fetched protocol has no file";
    const QString ph = File(QStringLiteral("ph.csv"));
    ASSERT_TRUE(protocol().SaveToFile(ph));
    EXPECT_EQ(protocol().FilePath(), ph);
    EXPECT_EQ(ProtocolKindOfFile(ph), ProtocolFileKind::PH);

    const QString turbidity = File(QStringLiteral("turb.csv"));
    WriteBytes(turbidity, Windows1252::Encode(TurbidityFile({})));
    EXPECT_EQ(ProtocolKindOfFile(turbidity), ProtocolFileKind::Turbidity);
    ASSERT_TRUE(protocol().ReadFromFile(turbidity));
    EXPECT_EQ(protocol().FilePath(), turbidity);

    const QString dataset = File(QStringLiteral("data.csv"));
    WriteBytes(dataset, "METER;S/N;USER;DATE;TIME\r\nZentravox;1;a;1/2/2024;3:4:5\r\n\r\n");
    EXPECT_EQ(ProtocolKindOfFile(dataset), ProtocolFileKind::None);
    EXPECT_EQ(ProtocolKindOfFile(File(QStringLiteral("missing.csv"))), ProtocolFileKind::None);
    EXPECT_FALSE(protocol().ReadFromFile(dataset));
    EXPECT_EQ(protocol().FilePath(), turbidity) << "a failed read keeps the protocol and its file";
}
