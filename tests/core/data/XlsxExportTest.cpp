#include "app/DateText.h"
#include "app/Services.h"
#include "data/ExportDataset.h"
#include "data/MValSet.h"
#include "data/RecordDateTime.h"
#include "support/LockedFolder.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WorkbookReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

// Workbooks written by the .xlsx export, read back by openpyxl.
namespace {

QString Dataset(const QStringList& lines) {
    return QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\n!\r\n>");
}

class XlsxExportTest : public ::testing::Test {
protected:
    bool Export(const QString& mvals, const QString& meter) {
        return services.exportXlsx.SetMVals(mvals, meter, QStringLiteral("S/N 19"),
                                            QStringLiteral("Hélène"), when, path);
    }
    WorkbookSheet ExportAndRead(const QStringList& lines, const QString& meter) {
        EXPECT_TRUE(Export(Dataset(lines), meter));
        return ReadWorkbook(path);
    }
    void ExpectHeader(const WorkbookSheet& sheet, const QString& meter) {
        const QStringList header = {"App. de mesure: " + meter, "Numéro de série: S/N 19",
                                    "Utilisateur: Hélène", "Date: " + ShortDateText(when.date()),
                                    "Heure: " + LongTimeText(when.time())};
        EXPECT_FALSE(sheet.cells.contains({1, 1}));
        for (int i = 0; i < header.size(); ++i) {
            EXPECT_EQ(sheet.cells.value({2 + i, 1}).value.toString(), header[i]);
        }
        EXPECT_FALSE(sheet.cells.contains({7, 1}));
        // The header block and the title row stay in view while the records scroll.
        EXPECT_EQ(sheet.freeze, QStringLiteral("A9"));
    }
    static void ExpectTitles(const WorkbookSheet& sheet, const QStringList& titles) {
        EXPECT_EQ(sheet.cols, titles.size());
        for (int c = 1; c <= titles.size(); ++c) {
            const WorkbookCell cell = sheet.cells.value({8, c});
            EXPECT_EQ(cell.value.toString(), titles[c - 1]) << c;
            EXPECT_TRUE(cell.bold) << c;
            // Every column is at least as wide as its bold title.
            EXPECT_GE(sheet.widths.value(c), titles[c - 1].size() + 1) << c;
        }
    }
    static void Expect(const WorkbookSheet& sheet, int row, int col, const QString& kind,
                       const QVariant& value) {
        const WorkbookCell cell = sheet.cells.value({row, col});
        EXPECT_EQ(cell.kind, kind) << row << "," << col;
        if (kind == QLatin1String("number")) {
            EXPECT_DOUBLE_EQ(cell.value.toDouble(), value.toDouble()) << row << "," << col;
        } else {
            EXPECT_EQ(cell.value.toString(), value.toString()) << row << "," << col;
        }
        EXPECT_FALSE(cell.bold) << row << "," << col;
    }

    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    TempDir dir;
    QString path = dir.file("read back.xlsx");
    QDateTime when{QDate(2023, 11, 30), QTime(8, 7, 6)};
};

} // namespace

TEST_F(XlsxExportTest, PhotometerDatasetReadsBackWithTypedCells) {
    const WorkbookSheet sheet = ExportAndRead(
        {"1;30.11.23;08:01:02;17;901;PO4-P;;1:1;0.52;mg/l;OK;;;;01.11.23;09:00",
         "2;30.11.23;08:03:04;-3;952;NO3-N;BV;1:10;12.5;mg/l;>Max;1.25E-2;Abs;OK;01.11.23;09:00"},
        QStringLiteral("R-2600 Pro"));
    ASSERT_TRUE(sheet.read);
    EXPECT_EQ(sheet.rows, 10);
    ExpectHeader(sheet, QStringLiteral("R-2600 Pro"));
    ExpectTitles(sheet,
                 {"No", "Date", "Heure", "ID", "PROG", "Cit.", "AR/VB/Cal", "Dil.", "Valeur 1",
                  "Unité 1", "Etat 1", "Valeur 2", "Unité 2", "Etat 2", "Date cal.", "Heure cal."});
    Expect(sheet, 9, 1, "number", 1);
    Expect(sheet, 9, 2, "date", "2023-11-30T00:00:00");
    EXPECT_EQ(sheet.cells.value({9, 2}).format, QStringLiteral("dd.mm.yyyy"));
    Expect(sheet, 9, 3, "time", "08:01:02");
    EXPECT_EQ(sheet.cells.value({9, 3}).format, QStringLiteral("hh:mm:ss"));
    Expect(sheet, 9, 4, "number", 17);
    Expect(sheet, 9, 5, "number", 901);
    Expect(sheet, 9, 6, "text", "PO4-P");
    Expect(sheet, 9, 8, "text", "1:1");
    Expect(sheet, 9, 9, "number", 0.52);
    Expect(sheet, 9, 10, "text", "mg/l");
    for (const int empty : {7, 12, 13, 14}) {
        EXPECT_FALSE(sheet.cells.contains({9, empty})) << empty;
    }
    Expect(sheet, 9, 15, "date", "2023-11-01T00:00:00");
    Expect(sheet, 9, 16, "time", "09:00:00");
    EXPECT_EQ(sheet.cells.value({9, 16}).format, QStringLiteral("hh:mm"));
    Expect(sheet, 10, 4, "text", "-3");
    Expect(sheet, 10, 7, "text", "BV");
    Expect(sheet, 10, 11, "text", ">Max");
    Expect(sheet, 10, 12, "number", 0.0125);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(XlsxExportTest, TurbidimeterDatasetReadsBackWithTypedCells) {
    const WorkbookSheet sheet =
        ExportAndRead({"12;30.11.23;08:01;4711;0.85;NTU;OK;CQA;01.11.23;09:00",
                       "13;30.11.23;08:02;;1234.5;FNU;;;;"},
                      QStringLiteral("Ardel 20 IR"));
    ASSERT_TRUE(sheet.read);
    EXPECT_EQ(sheet.rows, 10);
    ExpectHeader(sheet, QStringLiteral("Ardel 20 IR"));
    ExpectTitles(sheet, {"No", "Date", "Heure", "ID", "Valeur", "Unité", "Etat", "CQA/Cal",
                         "Date cal.", "Heure cal."});
    Expect(sheet, 9, 1, "number", 12);
    Expect(sheet, 9, 3, "time", "08:01:00");
    Expect(sheet, 9, 4, "number", 4711);
    Expect(sheet, 9, 5, "number", 0.85);
    Expect(sheet, 9, 6, "text", "NTU");
    Expect(sheet, 9, 8, "text", "CQA");
    Expect(sheet, 10, 5, "number", 1234.5);
    for (const int empty : {4, 7, 8, 9, 10}) {
        EXPECT_FALSE(sheet.cells.contains({10, empty})) << empty;
    }
}

// What BIFF2 forced into a number or dropped stays what the meter sent.
TEST_F(XlsxExportTest, ValuesThatAreNoNumbersStayText) {
    const WorkbookSheet sheet =
        ExportAndRead({"1;31.02.23;25:00;AB12;0;µS/cm Ω;;;<0.01;mg/l;;----;;;;",
                       "2;01.01.99;7:05:09; 42 ;+3;NH4;;;1,5;;;0.5 mg;;;1.1.2024;12:3",
                       "3;;;1e3;1e3;;;;inf;;;nan;;;;"},
                      QStringLiteral("R-2600 Pro"));
    ASSERT_TRUE(sheet.read);
    EXPECT_EQ(sheet.rows, 11);
    Expect(sheet, 9, 2, "text", "31.02.23"); // no such day
    Expect(sheet, 9, 3, "text", "25:00");
    Expect(sheet, 9, 4, "text", "AB12"); // letters in an integer column
    Expect(sheet, 9, 5, "number", 0);    // a real zero is a number ...
    Expect(sheet, 9, 6, "text", "µS/cm Ω");
    Expect(sheet, 9, 9, "text", "<0.01"); // ... and differs from a missing value
    Expect(sheet, 9, 12, "text", "----");
    Expect(sheet, 10, 2, "date", "1999-01-01T00:00:00");
    Expect(sheet, 10, 3, "time", "07:05:09");
    Expect(sheet, 10, 4, "text", " 42 ");
    Expect(sheet, 10, 5, "text", "+3");
    Expect(sheet, 10, 9, "text", "1,5");
    Expect(sheet, 10, 12, "text", "0.5 mg");
    Expect(sheet, 10, 15, "date", "2024-01-01T00:00:00");
    Expect(sheet, 10, 16, "text", "12:3");
    Expect(sheet, 11, 4, "text", "1e3"); // an exponent is no whole number
    Expect(sheet, 11, 5, "text", "1e3");
    Expect(sheet, 11, 9, "text", "inf");
    Expect(sheet, 11, 12, "text", "nan");
    EXPECT_TRUE(ui.messages.isEmpty());
}

// Only the layout's date and time columns are dates and times: text that looks like one
// elsewhere (a dilution, a sample ID, a unit) stays the text the meter sent.
TEST_F(XlsxExportTest, TextLikeDatesAndTimesOutsideTheirColumnsStayText) {
    const WorkbookSheet photometer =
        ExportAndRead({"1;30.11.23;08:01;5;901;12:30;01.02.24;1:10;0.5;12:30;1:10;;01.02.24;"
                       "12:30;01.02.24;12:30"},
                      QStringLiteral("R-2600 Pro"));
    ASSERT_TRUE(photometer.read);
    for (const auto& [col, text] : {std::pair{6, "12:30"},
                                    {7, "01.02.24"},
                                    {8, "1:10"},
                                    {10, "12:30"},
                                    {11, "1:10"},
                                    {13, "01.02.24"},
                                    {14, "12:30"}}) {
        Expect(photometer, 9, col, "text", QString::fromUtf8(text));
    }
    Expect(photometer, 9, 2, "date", "2023-11-30T00:00:00");
    Expect(photometer, 9, 15, "date", "2024-02-01T00:00:00");
    Expect(photometer, 9, 16, "time", "12:30:00");

    const WorkbookSheet ardel60 =
        ExportAndRead({"1;01.02.24;12:30;01.02.24;0.5;12:30;1:10;12:30;01.02.24;1:10"},
                      QStringLiteral("Ardel 60 T"));
    ASSERT_TRUE(ardel60.read);
    for (const auto& [col, text] :
         {std::pair{4, "01.02.24"}, {6, "12:30"}, {7, "1:10"}, {8, "12:30"}}) {
        Expect(ardel60, 9, col, "text", QString::fromUtf8(text));
    }
    Expect(ardel60, 9, 3, "time", "12:30:00");
    Expect(ardel60, 9, 9, "date", "2024-02-01T00:00:00");
    Expect(ardel60, 9, 10, "time", "01:10:00");
    EXPECT_TRUE(ui.messages.isEmpty());
}

// The sheet shows what the meter showed: an ID is a number only in the number's own form,
// and every number keeps the decimals and the notation it was sent with.
TEST_F(XlsxExportTest, NumbersShowAsTheMeterSentThem) {
    // Columns 1 (No), 4 (ID) and 5 (PROG) are whole numbers, 9 and 12 decimal values.
    const WorkbookSheet sheet = ExportAndRead(
        {"1;30.11.23;08:01;007;952;;;;3.50;;;2.0;;;;", "2;30.11.23;08:02;12;0;;;;12;;;1.25E-2;;;;",
         "3;30.11.23;08:03;A7;0901;;;;-0.500;;;3,50;;;;", "4;;;+5;;;;;1e3;;;.5;;;;",
         "5;;; 5;;;;;5.;;;0.1234567;;;;", "6;;;5.0;;;;; 7.0 ;;;;;;;", "7;;;0;;;;;;;;;;;;",
         "8;;;1234567890123456;;;;;;;;;;;;"},
        QStringLiteral("R-2600 Pro"));
    ASSERT_TRUE(sheet.read);
    struct Shown {
        int row, col;
        double value;
        const char* format;
    };
    for (const Shown& n : {Shown{9, 1, 1, "0"},
                           {9, 5, 952, "0"},
                           {9, 9, 3.5, "0.00"},
                           {9, 12, 2, "0.0"},
                           {10, 4, 12, "0"},
                           {10, 5, 0, "0"},
                           {10, 9, 12, "0"},
                           {10, 12, 0.0125, "0.00E+0"},
                           {11, 9, -0.5, "0.000"},
                           {12, 9, 1000, "0E+0"},
                           {12, 12, 0.5, "0.0"},
                           {13, 9, 5, "0"},
                           {13, 12, 0.1234567, "0.0000000"},
                           {14, 9, 7, "0.0"},
                           {15, 4, 0, "0"}}) {
        Expect(sheet, n.row, n.col, "number", n.value);
        EXPECT_EQ(sheet.cells.value({n.row, n.col}).format, QString::fromUtf8(n.format))
            << n.row << "," << n.col;
    }
    Expect(sheet, 9, 4, "text", "007");
    Expect(sheet, 11, 5, "text", "0901");
    Expect(sheet, 11, 12, "text", "3,50"); // a decimal comma is no number, as everywhere
    for (const auto& [row, text] :
         {std::pair{11, "A7"}, {12, "+5"}, {13, " 5"}, {14, "5.0"}, {16, "1234567890123456"}}) {
        Expect(sheet, row, 4, "text", QString::fromUtf8(text));
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(XlsxExportTest, NoRecordsGivesHeaderAndTitlesOnly) {
    const WorkbookSheet sheet = ExportAndRead({}, QStringLiteral("Ardel 20 T"));
    ASSERT_TRUE(sheet.read);
    EXPECT_EQ(sheet.rows, 8);
    ExpectHeader(sheet, QStringLiteral("Ardel 20 T"));
}

// The legacy format stops at 65 536 rows; the workbook goes on.
TEST_F(XlsxExportTest, MoreRecordsThanTheLegacyFormatHolds) {
    constexpr int kRecords = 70000;
    QStringList lines;
    for (int k = 1; k <= kRecords; ++k) {
        lines << QStringLiteral("%1;30.11.23;08:01;%1;0.%1;NTU;OK;;;").arg(k);
    }
    ASSERT_TRUE(Export(Dataset(lines), QStringLiteral("Ardel 20 T")));
    const WorkbookSheet sheet = ReadWorkbook(path, 9);
    ASSERT_TRUE(sheet.read);
    EXPECT_EQ(sheet.rows, 8 + kRecords);
    Expect(sheet, 9, 1, "number", 1);
    Expect(sheet, 8 + kRecords, 1, "number", kRecords);
    Expect(sheet, 8 + kRecords, 5, "number", 0.7);
}

TEST_F(XlsxExportTest, FailedExportKeepsThePreviousFile) {
    WriteBytes(path, "previous export");
    // A dataset too short to hold a record.
    EXPECT_FALSE(Export(QStringLiteral("x"), QStringLiteral("Ardel 20 T")));
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ReadBytes(path), QByteArray("previous export"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // A folder that does not exist: reported, nothing created.
    const QString missing = dir.file("no/such/folder.xlsx");
    EXPECT_FALSE(services.exportXlsx.SetMVals(Dataset({}), QStringLiteral("Ardel 20 T"), {}, {},
                                              when, missing));
    EXPECT_FALSE(QFile::exists(missing));

    // A folder in the target's place cannot be replaced by the finished workbook.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.xlsx")));
    EXPECT_FALSE(services.exportXlsx.SetMVals(Dataset({}), QStringLiteral("Ardel 20 T"), {}, {},
                                              when, dir.file("taken.xlsx")));
    EXPECT_TRUE(QFileInfo(dir.file("taken.xlsx")).isDir());
    EXPECT_EQ(ui.messages.size(), 3);

    // A complete export replaces the file.
    ASSERT_TRUE(Export(Dataset({"1;30.11.23;08:01;1;0.5;NTU;;;;"}), QStringLiteral("Ardel 20 T")));
    EXPECT_TRUE(ReadBytes(path).startsWith("PK"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ExportType, ChosenByTheFileNamesExtension) {
    EXPECT_EQ(ExportTypeFor(QStringLiteral("/tmp/a.xlsx")), ExportType::Xlsx);
    EXPECT_EQ(ExportTypeFor(QStringLiteral("B.XLSX")), ExportType::Xlsx);
    EXPECT_EQ(ExportTypeFor(QStringLiteral("a.xls")), ExportType::Xls);
    EXPECT_EQ(ExportTypeFor(QStringLiteral("a.xlsx.xls")), ExportType::Xls);
    EXPECT_EQ(ExportTypeFor(QStringLiteral("xlsx")), ExportType::Xls);

    ScriptedUi ui;
    Services services(ui, std::make_unique<ScriptedMeterLink>());
    TempDir dir;
    MValSet set;
    set.strMVals = Dataset({"1;30.11.23;08:01;1;0.5;NTU;;;;"});
    set.strMeter = QStringLiteral("Ardel 20 T");
    ASSERT_TRUE(ExportDataset(services.exportExcel, services.exportXlsx, set, dir.file("a.xlsx")));
    ASSERT_TRUE(ExportDataset(services.exportExcel, services.exportXlsx, set, dir.file("a.xls")));
    EXPECT_TRUE(ReadBytes(dir.file("a.xlsx")).startsWith("PK\x03\x04"));
    EXPECT_TRUE(ReadBytes(dir.file("a.xls")).startsWith(QByteArray::fromHex("0900")));
}

TEST(RecordDateTime, MeterDatesAndTimesOnly) {
    EXPECT_EQ(RecordDate(QStringLiteral("30.11.23")), QDate(2023, 11, 30));
    // Two-digit years in a window that moves with today: from 79 years ago to 20 ahead.
    EXPECT_GT(RecordDate(QStringLiteral("01.01.30")), RecordDate(QStringLiteral("31.12.29")));
    EXPECT_EQ(RecordDate(QStringLiteral("01.01.99")), QDate(1999, 1, 1));
    EXPECT_EQ(WindowedYear(30, 2026), 2030);
    EXPECT_EQ(WindowedYear(46, 2026), 2046);
    EXPECT_EQ(WindowedYear(47, 2026), 1947);
    EXPECT_EQ(WindowedYear(5, 2086), 2105);
    EXPECT_EQ(WindowedYear(7, 2086), 2007);
    EXPECT_EQ(RecordDate(QStringLiteral("29.02.2024")), QDate(2024, 2, 29));
    EXPECT_EQ(RecordDate(QStringLiteral("1.2.2024")), QDate(2024, 2, 1));
    for (const char* no :
         {"29.02.23", "30.11.", "30.11.235", "30/11/23", "3O.11.23", "", "..", "30.11.23.1"}) {
        EXPECT_FALSE(RecordDate(QString::fromUtf8(no))) << no;
    }
    EXPECT_EQ(RecordTime(QStringLiteral("08:01:02")), QTime(8, 1, 2));
    EXPECT_EQ(RecordTime(QStringLiteral("23:59")), QTime(23, 59));
    EXPECT_EQ(RecordTime(QStringLiteral("7:05")), QTime(7, 5));
    for (const char* no : {"24:00", "08:60", "08:01:60", "8:5", "08:1:02", "08", "1:1:1:1", ":"}) {
        EXPECT_FALSE(RecordTime(QString::fromUtf8(no))) << no;
    }
}

TEST_F(XlsxExportTest, AFolderThatRefusesNewFilesStillTakesAWritableWorkbook) {
    const QString folder = dir.file("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/data.xlsx");
    WriteBytes(target, "previous export");
    {
        LockedFolder lock(folder);
        EXPECT_TRUE(services.exportXlsx.SetMVals(Dataset({"1;30.11.23;08:01;1;0.5;NTU;;;;"}),
                                                 QStringLiteral("Ardel 20 T"), {}, {}, when,
                                                 target));
        EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
        // A new workbook cannot be made there: still reported.
        EXPECT_FALSE(services.exportXlsx.SetMVals(Dataset({}), QStringLiteral("Ardel 20 T"), {}, {},
                                                  when, folder + QStringLiteral("/new.xlsx")));
        EXPECT_EQ(ui.messages.size(), 1);
    }
    const WorkbookSheet sheet = ReadWorkbook(target);
    ASSERT_TRUE(sheet.read);
    Expect(sheet, 9, 5, "number", 0.5);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("data.xlsx")});
}

// The parts of the workbook are compressed with zlib's fastest level (minizip marks it in
// every entry's flags); at the default level compressing took longer than the rest of a
// large export together.
TEST_F(XlsxExportTest, EveryPartIsCompressedAtTheFastestLevel) {
    ASSERT_TRUE(
        Export(Dataset({"1;06.05.24;07:00;12;0.31;NTU;OK;;;"}), QStringLiteral("Ardel 20 T")));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, zipfile\n"
                                 "parts = [i for i in zipfile.ZipFile(sys.argv[1]).infolist()\n"
                                 "         if i.compress_type == zipfile.ZIP_DEFLATED]\n"
                                 "print(len(parts), sorted({i.flag_bits & 6 for i in parts}))"),
                  path});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(python.readAllStandardOutput()).trimmed();
    // At least the sheet, the workbook, the styles and the content types, all marked "fastest".
    EXPECT_TRUE(out.endsWith(QStringLiteral(" [6]"))) << out.toStdString();
    EXPECT_GE(out.section(QLatin1Char(' '), 0, 0).toInt(), 4) << out.toStdString();
}

// Program 901 at most 0.5: its 0.52 and its "> MR" result are filled as the tables colour them,
// the number keeping its format; 0.40, other columns and a later export without limits are not.
TEST_F(XlsxExportTest, ValuesBeyondTheLimitsAreFilled) {
    LimitValue limit;
    limit.program = 901;
    limit.upper = 0.5;
    limit.validFrom = QDate(2023, 1, 1);
    MValSet set;
    set.strMeter = QStringLiteral("R-2600 Pro");
    set.strMVals =
        Dataset({"1;30.11.23;08:01:02;17;901;PO4-P;;1:1;0.52;mg/l;OK;;;;01.11.23;09:00",
                 "2;30.11.23;08:02:02;18;901;PO4-P;;1:1;0.40;mg/l;OK;;;;01.11.23;09:00",
                 "3;30.11.23;08:03:02;19;901;PO4-P;;1:1;----;mg/l;> MR;;;;01.11.23;09:00"});
    ASSERT_TRUE(ExportDataset(services.exportExcel, services.exportXlsx, set, path, {}, {},
                              LimitFlags({limit})));
    const WorkbookSheet sheet = ReadWorkbook(path);
    ASSERT_TRUE(sheet.read);
    const QString fill = QStringLiteral("FFFFC8C8");
    EXPECT_EQ(sheet.cells.value({9, 9}).fill, fill);
    EXPECT_EQ(sheet.cells.value({9, 9}).format, QStringLiteral("0.00"));
    Expect(sheet, 9, 9, "number", 0.52);
    EXPECT_EQ(sheet.cells.value({11, 9}).fill, fill);
    Expect(sheet, 11, 9, "text", "----");
    EXPECT_TRUE(sheet.cells.value({10, 9}).fill.isEmpty());
    EXPECT_TRUE(sheet.cells.value({9, 10}).fill.isEmpty());
    ASSERT_TRUE(ExportDataset(services.exportExcel, services.exportXlsx, set, path));
    EXPECT_TRUE(ReadWorkbook(path).cells.value({9, 9}).fill.isEmpty());
}
