#include "app/Services.h"
#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/DatasetFiles.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WorkbookReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace {

// A dataset file as the program saves it.
void SaveDataset(const QString& path, const QString& meter, const QStringList& lines) {
    ScriptedUi ui;
    Services services(ui, std::make_unique<ScriptedMeterLink>());
    const QString mvals =
        QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n!\r\n>");
    ASSERT_TRUE(services.measVal.SaveFile(mvals, meter, QStringLiteral("SN 7"),
                                          QStringLiteral("Zoé"),
                                          QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), path));
}

QJsonObject ReadWithXlrd(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(MERVEX_SOURCE_DIR "/tests/core/data/read_xls.py"), path});
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QString ErrLine(int number) {
    return LoadResString(number) + QLatin1Char('\n');
}

} // namespace

TEST(CliExport, DatasetFileBecomesASpreadsheet) {
    TempDir dir;
    const QString in = dir.file("data.csv");
    const QString out = dir.file("data.xls");
    SaveDataset(in, "Ardel 20 T", {"1;06.05.24;07:00;12;0.31;NTU;OK;;;", "2;06.05.24;07:01;x;;;"});
    WriteBytes(out, "older export");
    const CliResult r = RunCli({"export", in, out});
    // The letters in the integer ID column are reported, the export still succeeds.
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_TRUE(r.err.contains("\"x\"")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    const QJsonObject sheet = ReadWithXlrd(out);
    EXPECT_EQ(sheet["rows"].toInt(), 10);
    EXPECT_EQ(sheet["cols"].toInt(), 10);
    QStringList texts;
    QList<double> numbers;
    for (const QJsonValue& v : sheet["cells"].toArray()) {
        const QJsonObject c = v.toObject();
        if (c["kind"].toString() == "number") {
            numbers << c["value"].toDouble();
        } else {
            texts << c["value"].toString();
        }
    }
    EXPECT_TRUE(texts.contains("App. de mesure: Ardel 20 T"));
    EXPECT_TRUE(texts.contains("Utilisateur: Zoé"));
    EXPECT_TRUE(texts.contains("Unité"));
    EXPECT_EQ(numbers, (QList<double>{1, 12, 0.31, 2}));
}

TEST(CliExport, XlsxExtensionWritesAWorkbook) {
    TempDir dir;
    const QString in = dir.file("data.csv");
    const QString out = dir.file("data.xlsx");
    SaveDataset(in, "Ardel 20 T",
                {"1;06.05.24;07:00;007;3.50;NTU;OK;;;", "2;06.05.24;07:01;12;2.0;;;",
                 "3;06.05.24;07:02;A7;0.31;;;"});
    WriteBytes(out, "older export");
    const CliResult r = RunCli({"export", in, out});
    // Letters in an integer column are kept as text in a workbook: nothing to report.
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const WorkbookSheet sheet = ReadWorkbook(out);
    ASSERT_TRUE(sheet.read);
    EXPECT_EQ(sheet.rows, 11);
    EXPECT_EQ(sheet.cols, 10);
    EXPECT_EQ(sheet.cells.value({3, 1}).value.toString(), QStringLiteral("Numéro de série: SN 7"));
    EXPECT_EQ(sheet.cells.value({8, 6}).value.toString(), QStringLiteral("Unité"));
    EXPECT_EQ(sheet.cells.value({9, 2}).value.toString(), QStringLiteral("2024-05-06T00:00:00"));
    // The IDs and values show as the meter sent them.
    for (const auto& [row, id] : {std::pair{9, "007"}, {11, "A7"}}) {
        EXPECT_EQ(sheet.cells.value({row, 4}).kind, QStringLiteral("text")) << row;
        EXPECT_EQ(sheet.cells.value({row, 4}).value.toString(), QString::fromUtf8(id)) << row;
    }
    EXPECT_EQ(sheet.cells.value({10, 4}).kind, QStringLiteral("number"));
    EXPECT_EQ(sheet.cells.value({10, 4}).value.toDouble(), 12);
    for (const auto& [row, value, format] :
         {std::tuple{9, 3.5, "0.00"}, {10, 2.0, "0.0"}, {11, 0.31, "0.00"}}) {
        const WorkbookCell cell = sheet.cells.value({row, 5});
        EXPECT_EQ(cell.kind, QStringLiteral("number")) << row;
        EXPECT_DOUBLE_EQ(cell.value.toDouble(), value) << row;
        EXPECT_EQ(cell.format, QString::fromUtf8(format)) << row;
    }
}

// A second independent reader, where it is installed: LibreOffice converts the workbook
// to CSV and every value comes out as the dataset holds it.
TEST(CliExport, LibreOfficeReadsTheWorkbook) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the conversion check is skipped";
    }
    TempDir dir;
    const QString in = dir.file("data.csv");
    SaveDataset(in, "Ardel 20 T",
                {"1;06.05.24;07:00;12;0.31;NTU;OK;;;", "2;06.05.24;07:01:30;x;<0.01;FNU;;;;"});
    ASSERT_EQ(RunCli({"export", in, dir.file("data.xlsx")}).exitCode, 0);
    QProcess office;
    office.setWorkingDirectory(dir.path());
    office.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.file("profile"),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76,1"),
                           QStringLiteral("--outdir"), dir.file("out"), dir.file("data.xlsx")});
    ASSERT_TRUE(office.waitForFinished(110000));
    // LibreOffice quotes text cells in its CSV output; the values are what is compared.
    const QStringList lines = QString::fromUtf8(ReadBytes(dir.file("out/data.csv")))
                                  .remove(QLatin1Char('"'))
                                  .split(QStringLiteral("\n"));
    ASSERT_GE(lines.size(), 10) << lines.join('|').toStdString();
    EXPECT_EQ(lines[7].trimmed(), QStringLiteral("No;Date;Heure;ID;Valeur;Unité;Etat;CQA/Cal;"
                                                 "Date cal.;Heure cal."));
    EXPECT_EQ(lines[8].trimmed(), QStringLiteral("1;06.05.2024;07:00;12;0.31;NTU;OK;;;"));
    EXPECT_EQ(lines[9].trimmed(), QStringLiteral("2;06.05.2024;07:01:30;x;<0.01;FNU;;;;"));
}

TEST(CliExport, FailuresGoToStandardErrorWithExitOne) {
    TempDir dir;
    const QString out = dir.file("out.xls");
    CliResult r = RunCli({"export", dir.file("missing.csv"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, ErrLine(1180));

    WriteBytes(dir.file("bad.csv"), "no dataset here\r\n");
    r = RunCli({"export", dir.file("bad.csv"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, ErrLine(1181));
    EXPECT_FALSE(QFile::exists(out));

    const QString in = dir.file("data.csv");
    SaveDataset(in, "Zentravox", {"1;06.05.24;07:00;12;901"});
    r = RunCli({"export", in, dir.file("no/such/folder.xls")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, dir.file("no/such/folder.xls") +
                         QStringLiteral(": Chemin d'accès introuvable\n") + ErrLine(1058));

    EXPECT_EQ(RunCli({"export", in}).exitCode, 2);
    r = RunCli({"export", in, out, "extra"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("export IN.csv OUT.xls"));
}

TEST(CliExport, RecordCriteriaKeepTheirRecordsAndTheSheetSaysHowMany) {
    TempDir dir;
    const QString in = dir.file("data.csv");
    // Record i: program 300 + i % 10, measured on day 1 + i % 28 of January 2024, ID i.
    SaveDataset(in, "Zentravox", ArchivePhotometerRecords(1, 30));
    const QString workbook = dir.file("p305.xlsx");
    CliResult r = RunCli({"export", "--program", "305", in, workbook});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const WorkbookSheet sheet = ReadWorkbook(workbook);
    EXPECT_EQ(sheet.cells.value({7, 1}).value.toString(),
              QStringLiteral("Sélection: 3 enregistrements sur 30"));
    EXPECT_EQ(sheet.rows, 11);
    for (const auto& [row, record] : {std::pair{9, 5}, {10, 15}, {11, 25}}) {
        EXPECT_EQ(sheet.cells.value({row, 1}).value.toInt(), record) << row;
    }

    const QString legacy = dir.file("days.xls");
    r = RunCli({"export", in, legacy, "--from", "2024-01-10", "--to", "2024-01-12", "--id", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QList<double> numbers; // the record numbers: column A below the titles
    QString note;
    for (const QJsonValue& v : ReadWithXlrd(legacy)["cells"].toArray()) {
        const QJsonObject c = v.toObject();
        if (c["col"].toInt() == 0 && c["row"].toInt() >= 8) {
            numbers << c["value"].toDouble();
        } else if (c["col"].toInt() == 0 && c["row"].toInt() == 6) {
            note = c["value"].toString();
        }
    }
    EXPECT_EQ(numbers, (QList<double>{10, 11})) << "IDs 10 and 11 hold a 1, 9 does not";
    EXPECT_EQ(note, QStringLiteral("Sélection: 2 enregistrements sur 30"));

    for (const QStringList& bad : {QStringList{"--program"}, QStringList{"--from", "2024-13-01"},
                                   QStringList{"--to", "12/01/2024"}, QStringList{"--id", ""},
                                   QStringList{"--id", "a", "--id", "b"}}) {
        EXPECT_EQ(RunCli(QStringList{"export", in, workbook} + bad).exitCode, 2)
            << bad.join(' ').toStdString();
    }
}
