#include "app/DateText.h"
#include "app/NumberText.h"
#include "app/Services.h"
#include "core/data/BiffRecords.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kInteger = 0x02;
constexpr int kNumber = 0x03;
constexpr int kLabel = 0x04;

// The raw answer form: CR LF, the record lines, then CR LF "!" CR LF ">".
QString Dataset(const QStringList& lines) {
    return QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\n!\r\n>");
}

const QString kPhotometerRecord =
    QStringLiteral("1;12.03.24;10:15:02;17;901;PO4-P;;1:1;0.52;mg/l;OK;;;;01.03.24;09:00");
const QDateTime kImported(QDate(2024, 3, 12), QTime(14, 5, 9));

class ExportTest : public ::testing::Test {
protected:
    bool Export(const QString& mvals, const QString& meter = QStringLiteral("Zentravox"),
                const QString& user = QStringLiteral("Dupont")) {
        return services.exportExcel.SetMVals(mvals, meter, QStringLiteral("SN-0042"), user,
                                             kImported, path);
    }
    QList<BiffRecord> Records() const { return ParseBiff(ReadBytes(path)); }
    // The cells below the title row, in file order.
    QList<BiffCell> RecordCells() const {
        QList<BiffCell> cells;
        for (const BiffCell& c : CellsOf(Records())) {
            if (c.row > 7) {
                cells.append(c);
            }
        }
        return cells;
    }

    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    TempDir dir;
    QString path = dir.file("export.xls");
};

BiffCell Find(const QList<BiffCell>& cells, int row, int col) {
    for (const BiffCell& c : cells) {
        if (c.row == row && c.col == col) {
            return c;
        }
    }
    return {};
}

} // namespace

TEST_F(ExportTest, PhotometerFileHasItsRecordsInTheLayoutOrder) {
    ASSERT_TRUE(Export(Dataset({kPhotometerRecord})));
    EXPECT_TRUE(ui.messages.isEmpty());
    const QList<BiffRecord> records = Records();
    QList<int> expected = {0x09, 0x42, 0x2B, 0x28, 0x26, 0x27, 0x29, 0x31, 0x24};
    expected += QList<int>(5 + 16, kLabel);
    // NO, ID, PROG integers; 4 texts (CIT, DIL, 2 x cal.), 3 texts (UNIT1, VALID1, date,
    // time) and VALUE1: the empty AR/BV and the whole second result give no cell.
    expected += {kInteger, kLabel, kLabel, kInteger, kInteger, kLabel, kLabel,
                 kNumber,  kLabel, kLabel, kLabel,   kLabel,   0x0A};
    EXPECT_EQ(IdsOf(records), expected);

    EXPECT_EQ(records[1].data, QByteArray::fromHex("E404"));
    EXPECT_EQ(records[2].data, QByteArray::fromHex("0000"));
    for (int i = 3; i <= 6; ++i) {
        EXPECT_EQ(DoubleAt(records[i].data, 0), 1.5);
    }
    EXPECT_EQ(records[7].data, QByteArray::fromHex("C8000000") + "\x05"
                                                                 "Arial");
    EXPECT_EQ(records[8].data, QByteArray::fromHex("000F000A"));

    const QList<BiffCell> cells = CellsOf(records);
    const QStringList header = {"App. de mesure: Zentravox", "Numéro de série: SN-0042",
                                "Utilisateur: Dupont", "Date: " + ShortDateText(kImported.date()),
                                "Heure: " + LongTimeText(kImported.time())};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cells[i].row, i + 1);
        EXPECT_EQ(cells[i].col, 0);
        EXPECT_EQ(cells[i].value.toString(), header[i]);
    }
    const QStringList titles = {"No",       "Date",    "Heure",     "ID",
                                "PROG",     "Cit.",    "AR/VB/Cal", "Dil.",
                                "Valeur 1", "Unité 1", "Etat 1",    "Valeur 2",
                                "Unité 2",  "Etat 2",  "Date cal.", "Heure cal."};
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(cells[5 + c].row, 7);
        EXPECT_EQ(cells[5 + c].col, c);
        EXPECT_EQ(cells[5 + c].value.toString(), titles[c]);
    }
    for (const BiffCell& c : cells) {
        EXPECT_EQ(c.font, 0);
        EXPECT_EQ(c.hiddenLocked, 0);
        EXPECT_EQ(c.alignment, c.id == kLabel ? 1 : 3);
    }

    const QStringList fields = kPhotometerRecord.split(';');
    const QList<BiffCell> row = RecordCells();
    QList<int> columns;
    for (const BiffCell& c : row) {
        EXPECT_EQ(c.row, 8);
        columns.append(c.col);
        if (c.id == kLabel) {
            EXPECT_EQ(c.value.toString(), fields[c.col]);
        }
    }
    EXPECT_EQ(columns, (QList<int>{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 14, 15}));
    EXPECT_EQ(Find(row, 8, 0).value.toInt(), 1);
    EXPECT_EQ(Find(row, 8, 3).value.toInt(), 17);
    EXPECT_EQ(Find(row, 8, 4).value.toInt(), 901);
    EXPECT_EQ(Find(row, 8, 8).value.toDouble(), 0.52);
}

TEST_F(ExportTest, TurbidimeterLayoutsFollowTheModel) {
    const QString record = QStringLiteral("3;12.03.24;10:15;A-7;0.85;NTU;OK;CQA;01.03.24;09:00");
    ASSERT_TRUE(Export(Dataset({record, record}), QStringLiteral("Ardel 60 IR")));
    const QList<BiffRecord> records = Records();
    EXPECT_EQ(records[8].data, QByteArray::fromHex("0009000A"));
    const QList<BiffCell> cells = RecordCells();
    ASSERT_EQ(cells.size(), 20);
    // The Ardel 60 keeps its ID as text.
    EXPECT_EQ(Find(cells, 9, 3).id, kLabel);
    EXPECT_EQ(Find(cells, 9, 3).value.toString(), QStringLiteral("A-7"));
    EXPECT_EQ(Find(cells, 9, 4).value.toDouble(), 0.85);
    EXPECT_TRUE(ui.messages.isEmpty());

    // The Ardel 20 reads the same ID as a whole number, which it is not.
    ASSERT_TRUE(Export(Dataset({record}), QStringLiteral("Ardel 20 T")));
    EXPECT_EQ(Find(RecordCells(), 8, 3).id, 0);
    ASSERT_EQ(ui.messages.size(), 1);
}

TEST_F(ExportTest, FailedFieldConversionsAreReportedAndTheExportGoesOn) {
    const QStringList records = {
        "A12;d;t;40000;-3;c;;;1,5;u;;3.2 mg/l;u;;;",
        "2;d;t;5;;;;;abc;;;-.5e1;;;;",
    };
    ASSERT_TRUE(Export(Dataset(records)));
    // One message at the end: the first bad field with its record and column, the rest
    // counted.
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Erreur"));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Enregistrement 1, colonne 1: "));
    EXPECT_TRUE(ui.messages[0].text.contains("A12"));
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral("… et 1 autres valeurs")));

    const QList<BiffCell> cells = RecordCells();
    EXPECT_EQ(Find(cells, 8, 0).id, 0); // letters: no cell
    EXPECT_EQ(Find(cells, 8, 3).id, 0); // beyond 16 bits: no cell
    // A negative whole number is a NUMBER cell: the INTEGER cell is unsigned.
    EXPECT_EQ(Find(cells, 8, 4).id, kNumber);
    EXPECT_EQ(Find(cells, 8, 4).value.toDouble(), -3.0);
    EXPECT_EQ(Find(cells, 8, 8).value.toDouble(), 1.0);  // decimal comma: part before it
    EXPECT_EQ(Find(cells, 8, 11).value.toDouble(), 3.2); // unit after the number
    EXPECT_EQ(Find(cells, 9, 0).value.toInt(), 2);
    EXPECT_EQ(Find(cells, 9, 8).id, kNumber); // no leading number gives 0
    EXPECT_EQ(Find(cells, 9, 8).value.toDouble(), 0.0);
    EXPECT_EQ(Find(cells, 9, 11).value.toDouble(), -5.0);
}

TEST_F(ExportTest, ABadFieldInEveryRecordGivesOneMessageAndEveryRecord) {
    QStringList records;
    for (int i = 0; i < 3000; ++i) {
        records << (i == 0 ? kPhotometerRecord
                           : QStringLiteral("ID%1;d;t;5;901;;;;0.5;;;;;;;").arg(i));
    }
    ASSERT_TRUE(Export(Dataset(records)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Enregistrement 2, colonne 1: "));
    EXPECT_TRUE(ui.messages[0].text.contains("ID1"));
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral("… et 2998 autres valeurs")));
    const QList<BiffCell> cells = RecordCells();
    EXPECT_EQ(Find(cells, 8 + 2999, 3).value.toInt(), 5); // the export went to the end
    EXPECT_EQ(Find(cells, 8 + 2999, 0).id, 0);
}

TEST_F(ExportTest, IntegerFieldsFollowTheLocaleNumberFormat) {
    const QLocale saved;
    const QString record = QStringLiteral("1.234;d;t;12,5;13,5");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const bool german = Export(Dataset({record}));
    const QList<BiffCell> cells = RecordCells();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const bool english = Export(Dataset({QStringLiteral("12.5;d;t;1,234")}));
    const QList<BiffCell> englishCells = RecordCells();
    QLocale::setDefault(saved);

    ASSERT_TRUE(german);
    EXPECT_EQ(Find(cells, 8, 0).value.toInt(), 1234);
    EXPECT_EQ(Find(cells, 8, 3).value.toInt(), 12); // half to even
    EXPECT_EQ(Find(cells, 8, 4).value.toInt(), 14);
    ASSERT_TRUE(english);
    EXPECT_EQ(Find(englishCells, 8, 0).value.toInt(), 12);
    EXPECT_EQ(Find(englishCells, 8, 3).value.toInt(), 1234);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ExportTest, EmptyDatasetsAndForeignCharacters) {
    // No records: header block and title row only.
    ASSERT_TRUE(Export(Dataset({})));
    EXPECT_TRUE(RecordCells().isEmpty());
    EXPECT_EQ(CellsOf(Records()).size(), 5 + 16);
    EXPECT_EQ(ui.yields, 0);

    // A user name outside the file's code page is kept with "?" for what it lacks.
    ASSERT_TRUE(Export(Dataset({"12"}), "Zentravox", QStringLiteral("\u0141ukasz \u00e9")));
    EXPECT_EQ(CellsOf(Records())[2].value.toString(), QStringLiteral("Utilisateur: ?ukasz \u00e9"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ExportTest, FailedExportsLeaveThePreviousFile) {
    WriteBytes(path, "previous");
    // A header line longer than a text cell holds.
    EXPECT_FALSE(Export(Dataset({kPhotometerRecord}), QString(250, 'Z')));
    // Too short to hold a record walk.
    EXPECT_FALSE(Export(QStringLiteral("x")));
    EXPECT_FALSE(Export(QString()));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ReadBytes(path), QByteArray("previous"));
    {
        const FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(Export(Dataset(QStringList(20000, kPhotometerRecord))));
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"export.xls"});

    // A complete export replaces it.
    ASSERT_TRUE(Export(Dataset({kPhotometerRecord})));
    EXPECT_EQ(Records().first().id, 0x09);
    EXPECT_FALSE(services.exportExcel.SetMVals(Dataset({"12"}), "Zentravox", "", "", kImported,
                                               dir.file("missing/x.xls")));
}

TEST_F(ExportTest, RecordsBeyondTheLastRowFailInsteadOfWrapping) {
    constexpr int kFitting = 65536 - 8;
    // Two characters at least: a one-character line ends the walk.
    QStringList lines(kFitting, QStringLiteral("77"));
    ASSERT_TRUE(Export(Dataset(lines)));
    EXPECT_EQ(ui.yields, kFitting);
    const QList<BiffCell> cells = RecordCells();
    ASSERT_EQ(cells.size(), kFitting);
    EXPECT_EQ(cells.last().row, 65535);
    const QByteArray complete = ReadBytes(path);

    lines.append(QStringLiteral("88"));
    EXPECT_FALSE(Export(Dataset(lines)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains("65528"));
    EXPECT_EQ(ReadBytes(path), complete);
}

TEST_F(ExportTest, RealFieldsAreExactlyTheirLeadingNumber) {
    QStringList texts = {"12.",    "-0.25",
                         "007.50", "1.5.3",
                         " 2.5",   "1e3",
                         "-.5",    "-",
                         ".",      "0.1",
                         "3,75",   "1 000",
                         "&H1F",   "9.99999999999999999",
                         "-0",     "123456789012345678901234567890.5"};
    // Many plain decimals, with the rounding cases of long fractions.
    for (int i = 0; i < 3000; ++i) {
        texts << QString::number(i * 7919 % 100003 / 1000.0, 'f', i % 7) + (i % 5 ? "" : "1");
    }
    QStringList lines;
    for (const QString& t : texts) {
        lines << "1;d;t;1;900;;;;" + t;
    }
    ASSERT_TRUE(Export(Dataset(lines)));
    const QList<BiffCell> cells = RecordCells();
    int checked = 0;
    for (const BiffCell& c : cells) {
        if (c.col == 8) {
            const QString& text = texts[c.row - 8];
            EXPECT_EQ(c.id, kNumber) << text.toStdString();
            EXPECT_EQ(c.value.toDouble(), LeadingNumber(text)) << text.toStdString();
            ++checked;
        }
    }
    EXPECT_EQ(checked, texts.size());
}
