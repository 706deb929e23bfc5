#include "data/CMeasVal.h"

#include "app/Services.h"
#include "support/FileSizeLimit.h"
#include "support/LinuxText.h"
#include "support/QtPrint.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kPhotometerLines = "METER;S/N;USER;DATE;TIME\r\n"
                                    "Zentravox;SN 0815;H\xE9l\xE8ne;12/7/2026;9:5:3\r\n"
                                    "\r\n"
                                    "NO;DATE;TIME;ID;PROG;CIT;AR/BV;DIL;VALUE1;UNIT1;VALID1;"
                                    "VALUE2;UNIT2;VALID2\r\n";

class CMeasValTest : public ::testing::Test {
protected:
    static MValSet Dataset(const QString& meter, const QString& records) {
        MValSet set;
        set.strMeter = meter;
        set.strSerNo = QStringLiteral("SN 0815");
        set.strUser = QStringLiteral("Hélène");
        set.curDate = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3, 840));
        set.strMVals = QStringLiteral("\r\n") + records + QStringLiteral("\r\n!\r\n>");
        return set;
    }
    short Open(MValSet& set, const QString& path) { return services.measVal.OpenFile(set, path); }
    short OpenBytes(MValSet& set, const QByteArray& bytes) {
        WriteBytes(path, bytes);
        return Open(set, path);
    }

    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    TempDir dir;
    QString path = dir.file(QStringLiteral("data.csv"));
};

} // namespace

TEST_F(CMeasValTest, SavedFileHasTheFixedLayoutAndOpensToTheSameDataset) {
    const QString records =
        QStringLiteral("1;12/07/26;09:05;7;101;C;AR;1:1;0.42;mg/l;OK;;;;01/07/26;"
                       "08:00\r\n2;12/07/26;09:06;8;101;C;;1:1;0.44;µg/l;"
                       "High;;;;01/07/26;08:00");
    const MValSet saved = Dataset(QStringLiteral("Zentravox"), records);
    ASSERT_TRUE(services.measVal.SaveFile(saved, path));
    EXPECT_EQ(ReadBytes(path), kPhotometerLines + records.toLatin1())
        << "Windows-1252 text, M/D/YYYY and H:M:S without leading zeros, no final line end";
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.contains("0.44;\xB5g/l")) << "µ is one Windows-1252 byte";

    MValSet opened;
    ASSERT_EQ(Open(opened, path), CMeasVal::kOpened);
    EXPECT_EQ(opened.strMVals, saved.strMVals);
    EXPECT_EQ(opened.strMeter, saved.strMeter);
    EXPECT_EQ(opened.strSerNo, saved.strSerNo);
    EXPECT_EQ(opened.strUser, saved.strUser);
    EXPECT_EQ(opened.curDate, saved.curDate.addMSecs(-840)) << "kept to the second";
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CMeasValTest, AFileReSavedByLinuxToolsOpensToTheSameDataset) {
    const MValSet saved =
        Dataset(QStringLiteral("Zentravox"),
                QStringLiteral("1;12/07/26;09:05;7;101;C;AR;1:1;0.42;µg/l;OK;;;;01/07/26;08:00\r\n"
                               "2;12/07/26;09:06;8;101;C;;1:1;0.44;mg/l;Élevé;;;;01/07/26;08:00"));
    ASSERT_TRUE(services.measVal.SaveFile(saved, path));
    const QByteArray original = ReadBytes(path);
    for (const QByteArray& copy : LinuxCopies(original)) {
        MValSet opened;
        ASSERT_EQ(OpenBytes(opened, copy), CMeasVal::kOpened)
            << copy.left(40).toHex().toStdString();
        EXPECT_EQ(opened.strMVals, saved.strMVals);
        EXPECT_EQ(opened.strUser, saved.strUser);
        // Saved again, it is the program's own file once more.
        ASSERT_TRUE(services.measVal.SaveFile(opened, path));
        EXPECT_EQ(ReadBytes(path), original);
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CMeasValTest, TurbidimetersGetTheirOwnHeaderAndLateDatesKeepTheirDigits) {
    MValSet saved = Dataset(QStringLiteral("Ardel 60 T"), QStringLiteral("1;a"));
    saved.curDate = QDateTime(QDate(1999, 10, 31), QTime(23, 59, 59));
    ASSERT_TRUE(services.measVal.SaveFile(saved, path));
    const QList<QByteArray> lines = ReadBytes(path).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], "Ardel 60 T;SN 0815;H\xE9l\xE8ne;10/31/1999;23:59:59\r");
    EXPECT_EQ(lines[3], "NO;DATE;TIME;ID;VALUE;UNIT;VALID;FLAGS;CALDATE;CALTIME\r");
    saved.strMeter = QStringLiteral("Ardel 20 IR");
    ASSERT_TRUE(services.measVal.SaveFile(saved, path));
    EXPECT_EQ(ReadBytes(path).split('\n')[3], lines[3]);
}

TEST_F(CMeasValTest, ADatasetWithoutRecordsIsFourLinesAndReopens) {
    const MValSet saved = Dataset(QStringLiteral("Zentravox"), QString());
    ASSERT_TRUE(services.measVal.SaveFile(saved, path));
    EXPECT_EQ(ReadBytes(path), kPhotometerLines);
    MValSet opened;
    ASSERT_EQ(Open(opened, path), CMeasVal::kOpened);
    EXPECT_EQ(opened.strMVals, QStringLiteral("\r\n\r\n!\r\n>"));
    // Text too short to hold records writes no records part either.
    MValSet shortText = saved;
    shortText.strMVals = QStringLiteral("\r\n!\r\n>");
    ASSERT_TRUE(services.measVal.SaveFile(shortText, path));
    EXPECT_EQ(ReadBytes(path), kPhotometerLines);
}

TEST_F(CMeasValTest, HeadersAreComparedExactly) {
    MValSet set;
    const QByteArray head = "METER;S/N;USER;DATE;TIME\r\nR-2600;42;ana;1/2/2025;3:4:5\r\n\r\n";
    EXPECT_EQ(OpenBytes(set, head + "NO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n1;a;b;c;d;e;f;g;h;i;j"),
              CMeasVal::kOpened);
    EXPECT_EQ(set.strMeter, QStringLiteral("R-2600"));
    EXPECT_EQ(set.curDate, QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(set.strMVals, QStringLiteral("\r\n1;a;b;c;d;e;f;g;h;i;j\r\n!\r\n>"));

    // Line 3 is not looked at; later lines are records whatever they hold.
    EXPECT_EQ(OpenBytes(set, "METER;S/N;USER;DATE;TIME\r\nR-2600;42;ana;1/2/2025;3:4:5\r\n"
                             "anything\r\nNO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n\r\n;;\r\n"),
              CMeasVal::kOpened);
    EXPECT_EQ(set.strMVals, QStringLiteral("\r\n\r\n;;\r\n\r\n!\r\n>"));

    for (const QByteArray& bad : QList<QByteArray>{
             head + "no;date;time;id;value;unit;valid\r\n1;a",
             head + "NO;DATE;TIME;ID;VALUE;UNIT;VALID;\r\n1;a",
             "meter;s/n;user;date;time\r\nR-2600;42;ana;1/2/"
             "2025;3:4:5\r\n\r\nNO;DATE;TIME;ID;VALUE;"
             "UNIT;VALID\r\n1;a",
             "METER;S/N;USER;DATE;TIME;\r\nR-2600;42;ana;1/2/2025;3:4:5\r\n\r\nNO;DATE;TIME;ID;"
             "VALUE;UNIT;VALID\r\n1;a",
             head + "NO;DATE;TIME;ID;VALUE;UNIT;VALID \r\n1;a"}) {
        set.strMeter = QStringLiteral("stale");
        EXPECT_EQ(OpenBytes(set, bad), CMeasVal::kNotADatasetFile) << bad.toStdString();
        EXPECT_TRUE(set.strMeter.isEmpty());
        EXPECT_EQ(set.curDate, MValSet().curDate);
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << "a wrong header is no run-time error";
}

TEST_F(CMeasValTest, MissingPiecesAndUnreadableNumbersAreReportedFirst) {
    const QByteArray tail = "\r\n\r\nNO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n1;a";
    struct Case {
        QByteArray line2;
        const char* reason;
        bool dateRead; // the date is in place when only the time fails
    };
    for (const Case& c :
         {Case{"Zentravox;1;u;12/7/2026;9:5:x", "Incompatibilité de type", true},
          Case{"Zentravox;1;u;12/7/2026", "L'indice n'appartient pas à la sélection", true},
          Case{"Zentravox;1;u;12/7;9:5:3", "L'indice n'appartient pas à la sélection", false},
          Case{"Zentravox;1;u;12/7/2026/1;9:5:3", "Incompatibilité de type", false},
          Case{"Zentravox;1;u;12/7/99999;9:5:3", "Dépassement de capacité", false},
          Case{"Zentravox;1;u;1/1/10000;9:5:3", "Date incorrecte", false},
          // A ";" in the user name shifts the fields of line 2.
          Case{"Zentravox;1;a;b;12/7/2026;9:5:3", "Incompatibilité de type", false}}) {
        ui.Clear();
        MValSet set;
        EXPECT_EQ(OpenBytes(set, "METER;S/N;USER;DATE;TIME\r\n" + c.line2 + tail),
                  CMeasVal::kNotADatasetFile)
            << c.line2.toStdString();
        ASSERT_EQ(ui.messages.size(), 1) << c.line2.toStdString();
        EXPECT_TRUE(ui.messages[0].text.startsWith(QString::fromUtf8(c.reason)))
            << ui.messages[0].text.toStdString() << " for " << c.line2.toStdString();
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(set.strMeter, QStringLiteral("Zentravox")) << "what the parse had set so far";
        EXPECT_EQ(set.curDate,
                  c.dateRead ? QDateTime(QDate(2026, 12, 7), QTime(0, 0)) : MValSet().curDate);
        EXPECT_TRUE(set.strMVals.isEmpty());
    }
    ui.Clear();
    MValSet set;
    EXPECT_EQ(OpenBytes(set, "METER;S/N;USER;DATE;TIME\r\nZentravox;1;u;12/7/2026;9:5:3\r\n\r\n"
                             "NO;DATE;TIME;ID;VALUE;UNIT;VALID"),
              CMeasVal::kNotADatasetFile)
        << "four lines without the last line end";
    EXPECT_EQ(ui.messages.size(), 1);
    // Blanks around a number are allowed, as they always were.
    EXPECT_EQ(OpenBytes(set, "METER;S/N;USER;DATE;TIME\r\nZ;1;u; 12/7/2026;9:5 :3\r\n\r\n"
                             "NO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n"),
              CMeasVal::kOpened);
    EXPECT_EQ(set.curDate, QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
    // Parts that run over are carried; two-digit years are read as the classic dates do.
    EXPECT_EQ(OpenBytes(set, "METER;S/N;USER;DATE;TIME\r\nZ;1;u;13/32/26;24:0:61\r\n\r\n"
                             "NO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n"),
              CMeasVal::kOpened);
    EXPECT_EQ(set.curDate, QDateTime(QDate(2027, 2, 1), QTime(0, 1, 1)));
}

TEST_F(CMeasValTest, FilesThatCannotBeReadOrWritten) {
    MValSet set;
    set.strMeter = QStringLiteral("kept");
    EXPECT_EQ(Open(set, dir.file(QStringLiteral("missing.csv"))), CMeasVal::kNoSuchFile);
    EXPECT_EQ(Open(set, dir.path()), CMeasVal::kNoSuchFile) << "a folder is not a file";
    EXPECT_EQ(set.strMeter, QStringLiteral("kept"));
    EXPECT_TRUE(ui.messages.isEmpty());

    const MValSet saved = Dataset(QStringLiteral("Zentravox"), QStringLiteral("1;a"));
    EXPECT_FALSE(services.measVal.SaveFile(saved, dir.file(QStringLiteral("no/such/dir.csv"))));
    EXPECT_EQ(ui.messages.size(), 1);

    // A save that fails half-way leaves the previous file as it was.
    ASSERT_TRUE(services.measVal.SaveFile(saved, path));
    const QByteArray before = ReadBytes(path);
    MValSet big = saved;
    big.strMVals =
        QStringLiteral("\r\n") + QString(200000, QLatin1Char('x')) + QStringLiteral("\r\n!\r\n>");
    {
        FileSizeLimit limit(100000);
        EXPECT_FALSE(services.measVal.SaveFile(big, path));
    }
    EXPECT_EQ(ReadBytes(path), before);
}
