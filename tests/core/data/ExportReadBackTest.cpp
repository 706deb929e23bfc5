#include "app/DateText.h"
#include "app/Services.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

// Exported files read back by xlrd (Debian's python3-xlrd, under the system interpreter:
// a private python3 first on PATH may lack it), a reader that shares no code with ours.
namespace {

struct ReadCell {
    QString kind; // "number" or "text"
    QVariant value;
};

struct ReadSheet {
    int biff = 0;
    QString encoding;
    int rows = 0;
    int cols = 0;
    QMap<std::pair<int, int>, ReadCell> cells; // (row, col), 0-based
};

ReadSheet ReadWithXlrd(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(MERVEX_SOURCE_DIR "/tests/core/data/read_xls.py"), path});
    ReadSheet sheet;
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        ADD_FAILURE() << "xlrd could not read " << path.toStdString() << ": "
                      << python.readAllStandardError().toStdString();
        return sheet;
    }
    const QJsonObject json = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    sheet.biff = json["biff"].toInt();
    sheet.encoding = json["encoding"].toString();
    sheet.rows = json["rows"].toInt();
    sheet.cols = json["cols"].toInt();
    for (const QJsonValue& v : json["cells"].toArray()) {
        const QJsonObject c = v.toObject();
        sheet.cells[{c["row"].toInt(), c["col"].toInt()}] = {c["kind"].toString(),
                                                             c["value"].toVariant()};
    }
    return sheet;
}

class ReadBackTest : public ::testing::Test {
protected:
    ReadSheet ExportAndRead(const QStringList& lines, const QString& meter) {
        const QString mvals = QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) +
                              QStringLiteral("\r\n!\r\n>");
        EXPECT_TRUE(services.exportExcel.SetMVals(mvals, meter, QStringLiteral("S/N 19"),
                                                  QStringLiteral("Hélène"), when, path));
        return ReadWithXlrd(path);
    }
    void ExpectHeader(const ReadSheet& sheet, const QString& meter) {
        const QStringList header = {"App. de mesure: " + meter, "Numéro de série: S/N 19",
                                    "Utilisateur: Hélène", "Date: " + ShortDateText(when.date()),
                                    "Heure: " + LongTimeText(when.time())};
        EXPECT_FALSE(sheet.cells.contains({0, 0}));
        for (int i = 0; i < header.size(); ++i) {
            EXPECT_EQ(sheet.cells.value({1 + i, 0}).value.toString(), header[i]);
        }
        EXPECT_FALSE(sheet.cells.contains({6, 0}));
    }
    void ExpectTitles(const ReadSheet& sheet, const QStringList& titles) {
        EXPECT_EQ(sheet.cols, titles.size());
        for (int c = 0; c < titles.size(); ++c) {
            EXPECT_EQ(sheet.cells.value({7, c}).value.toString(), titles[c]) << c;
        }
    }
    static void ExpectNumber(const ReadSheet& sheet, int row, int col, double value) {
        const ReadCell cell = sheet.cells.value({row, col});
        EXPECT_EQ(cell.kind, QStringLiteral("number")) << row << "," << col;
        EXPECT_DOUBLE_EQ(cell.value.toDouble(), value) << row << "," << col;
    }
    static void ExpectText(const ReadSheet& sheet, int row, int col, const QString& text) {
        const ReadCell cell = sheet.cells.value({row, col});
        EXPECT_EQ(cell.kind, QStringLiteral("text")) << row << "," << col;
        EXPECT_EQ(cell.value.toString(), text) << row << "," << col;
    }

    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    TempDir dir;
    QString path = dir.file("read back.xls");
    QDateTime when{QDate(2023, 11, 30), QTime(8, 7, 6)};
};

} // namespace

TEST_F(ReadBackTest, PhotometerDatasetReadsBackCellForCell) {
    const ReadSheet sheet = ExportAndRead(
        {"1;30.11.23;08:01:02;17;901;PO4-P;;1:1;0.52;mg/l;OK;;;;01.11.23;09:00",
         "2;30.11.23;08:03:04;-3;952;NO3-N;BV;1:10;12.5;mg/l;>Max;1.25 E;Abs;OK;01.11.23;09:00"},
        QStringLiteral("R-2600 Pro"));
    EXPECT_EQ(sheet.biff, 20);
    EXPECT_EQ(sheet.rows, 10);
    ExpectHeader(sheet, QStringLiteral("R-2600 Pro"));
    ExpectTitles(sheet,
                 {"No", "Date", "Heure", "ID", "PROG", "Cit.", "AR/VB/Cal", "Dil.", "Valeur 1",
                  "Unité 1", "Etat 1", "Valeur 2", "Unité 2", "Etat 2", "Date cal.", "Heure cal."});
    ExpectNumber(sheet, 8, 0, 1);
    ExpectText(sheet, 8, 1, "30.11.23");
    ExpectNumber(sheet, 8, 3, 17);
    ExpectNumber(sheet, 8, 4, 901);
    ExpectText(sheet, 8, 5, "PO4-P");
    ExpectNumber(sheet, 8, 8, 0.52);
    ExpectText(sheet, 8, 9, "mg/l");
    for (const int empty : {6, 11, 12, 13}) {
        EXPECT_FALSE(sheet.cells.contains({8, empty})) << empty;
    }
    ExpectNumber(sheet, 9, 3, -3);
    ExpectText(sheet, 9, 6, "BV");
    ExpectText(sheet, 9, 10, ">Max");
    ExpectNumber(sheet, 9, 11, 1.25);
    ExpectText(sheet, 9, 15, "09:00");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ReadBackTest, TurbidimeterDatasetReadsBackCellForCell) {
    const ReadSheet sheet = ExportAndRead({"12;30.11.23;08:01;4711;0.85;NTU;OK;CQA;01.11.23;09:00",
                                           "13;30.11.23;08:02;;1234.5;FNU;;;;"},
                                          QStringLiteral("Ardel 20 IR"));
    EXPECT_EQ(sheet.rows, 10);
    ExpectHeader(sheet, QStringLiteral("Ardel 20 IR"));
    ExpectTitles(sheet, {"No", "Date", "Heure", "ID", "Valeur", "Unité", "Etat", "CQA/Cal",
                         "Date cal.", "Heure cal."});
    ExpectNumber(sheet, 8, 0, 12);
    ExpectNumber(sheet, 8, 3, 4711);
    ExpectNumber(sheet, 8, 4, 0.85);
    ExpectText(sheet, 8, 5, "NTU");
    ExpectText(sheet, 8, 7, "CQA");
    ExpectNumber(sheet, 9, 4, 1234.5);
    for (const int empty : {3, 6, 7, 8, 9}) {
        EXPECT_FALSE(sheet.cells.contains({9, empty})) << empty;
    }
}
