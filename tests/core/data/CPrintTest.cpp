#include "data/CPrint.h"

#include "app/Services.h"
#include "app/TextTables.h"
#include "support/RecordingPagePainter.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QLocale>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QString I(12, QLatin1Char(' ')); // the indent of every printed line

QString Answer(const QStringList& records) {
    return QStringLiteral("\r\n") + records.join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\n!\r\n>");
}

const QString kPHFile =
    QStringLiteral("METER;SERNO;USER;PH\r\n"
                   "Zentravox pH;SN-4711;Marie;True\r\n"
                   "YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;SHOWPC\r\n"
                   "2024;3;15;9;5;7;7;Calomat TBX;-58.0;-3.2;++;%1;%2\r\n"
                   "CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3\r\n"
                   "2;4.01;172.3;25.0;7.00;-3.1;-40;;;\r\n"
                   "LOTTOTAL;EXPIRY;MANUF;STDLOW;STDMID;STDHIGH;STD4;STD5\r\n"
                   ";;;;;;;\r\n"
                   "CALPTS;TURB1;TURB2;TURB3;TURB4;TURB5\r\n"
                   "2;;;;;");

const QString kTurbidityFile =
    QStringLiteral("METER;SERNO;USER;PH\r\n"
                   "Ardel 60 IR;A60-17;Paul;False\r\n"
                   "YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;SHOWPC\r\n"
                   "2024;11;2;16;45;0;30;%1;;;;False;False\r\n"
                   "CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3\r\n"
                   "%2;;;;;;;;;\r\n"
                   "LOTTOTAL;EXPIRY;MANUF;STDLOW;STDMID;STDHIGH;STD4;STD5\r\n"
                   "L-2024;12/2025;Formazine SA;sl-1;sl-2;sl-3;sl-4;sl-5\r\n"
                   "CALPTS;TURB1;TURB2;TURB3;TURB4;TURB5\r\n"
                   "%2;%3");

class CPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        services.print.SetPrinterFactory(std::make_unique<RecordingPrinterFactory>(log));
        services.print.SetClock([] { return QDateTime(QDate(2025, 1, 31), QTime(14, 30, 0)); });
    }
    void TearDown() override { QLocale::setDefault(m_savedLocale); }

    void LoadProtocol(const QString& text) {
        const QString path = m_dir.file(QStringLiteral("protocol.csv"));
        WriteBytes(path, text.toLatin1());
        ASSERT_TRUE(services.calProtocol.ReadFromFile(path));
    }

    bool PrintDataset(const QString& model, const QString& mvals) {
        return services.print.PrintMVals(model, QStringLiteral("SN-4711"), QStringLiteral("Marie"),
                                         QDateTime(QDate(2024, 7, 12), QTime(8, 4, 3)), mvals);
    }

    QStringList TitleLine(const QString& model) {
        QStringList titles(16);
        QList<short> widths(16);
        QList<int> kinds(16);
        const int n = services.device.GetTableConfig(titles, widths, kinds, model);
        QString line = I;
        for (int i = 0; i < n; ++i) {
            line += titles[i] + QStringLiteral("; ");
        }
        return {line};
    }

    const PrinterLog::Document& OnlyDocument() {
        EXPECT_EQ(log->documents.size(), 1);
        return log->documents.front();
    }

    // Every page after the first starts with two empty lines and no page holds more than
    // `perPage` lines; without those top lines the pages read as `expected`.
    void ExpectPaged(const PrinterLog::Document& doc, int perPage, const QStringList& expected) {
        QStringList body;
        for (qsizetype p = 0; p < doc.pages.size(); ++p) {
            QStringList page = doc.pages[p];
            EXPECT_LE(page.size(), perPage) << "page " << p;
            if (p > 0) {
                ASSERT_GE(page.size(), 3) << "page " << p;
                EXPECT_EQ(page.mid(0, 2), QStringList(2, QString())) << "page " << p;
                page.remove(0, 2);
            }
            if (p + 1 < doc.pages.size()) {
                EXPECT_EQ(doc.pages[p].size(), perPage) << "only full pages are followed";
            }
            body += page;
        }
        EXPECT_EQ(body, expected);
    }

    QStringList DatasetHeader() {
        return {QString(),
                QString(),
                I + QStringLiteral("App. de mesure: Ardel 20 IR"),
                I + QStringLiteral("Numéro de série: SN-4711"),
                I + QStringLiteral("Utilisateur: Marie"),
                I + QStringLiteral("Date: 12/07/2024"),
                I + QStringLiteral("Heure: 08:04:03"),
                QString()};
    }

    QStringList PHPrintout(bool percentAndFahrenheit) {
        QStringList lines{QString(),
                          QString(),
                          I + QStringLiteral("Protocole de calibration - pH"),
                          I + QStringLiteral("31/01/2025 14:30:00"),
                          QString(),
                          I + QStringLiteral("App. de mesure: Zentravox pH"),
                          I + QStringLiteral("Numéro de série: SN-4711"),
                          I + QStringLiteral("Utilisateur: Marie"),
                          QString(),
                          I + QStringLiteral("Date: 15/03/2024"),
                          I + QStringLiteral("Heure: 09:05:07"),
                          I + QStringLiteral("Intervalle: 7 Jour(s)"),
                          I + QStringLiteral("Mode: Calomat TBX")};
        if (percentAndFahrenheit) {
            lines << I + QStringLiteral("Pente: 98,0 %");
        } else {
            lines << I + QStringLiteral("Pente: -58.0 mV/pH");
        }
        lines << I + QStringLiteral("Asymétrie: -3.2 mV") << I + QStringLiteral("Sonde: ++")
              << QString();
        if (percentAndFahrenheit) {
            lines << I + QStringLiteral("#1\t4.01\t172.3 mV\t77,0 °F")
                  << I + QStringLiteral("#2\t7.00\t-3.1 mV\t-40,0 °F");
        } else {
            lines << I + QStringLiteral("#1\t4.01\t172.3 mV\t25.0 °C")
                  << I + QStringLiteral("#2\t7.00\t-3.1 mV\t-40 °C");
        }
        return lines << QString();
    }

    std::shared_ptr<PrinterLog> log = std::make_shared<PrinterLog>();
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};

private:
    QLocale m_savedLocale;
    TempDir m_dir;
};

} // namespace

TEST_F(CPrintTest, PrinterAvailabilityAndNameComeFromTheFactory) {
    EXPECT_TRUE(services.print.PrinterAvailable());
    EXPECT_EQ(services.print.PrinterName(), QStringLiteral("Labo-Laser"));
    log->names.clear();
    EXPECT_FALSE(services.print.PrinterAvailable());

    ScriptedUi bareUi;
    Services bare(bareUi, std::make_unique<ScriptedMeterLink>());
    EXPECT_FALSE(bare.print.PrinterAvailable());
    EXPECT_EQ(bare.print.PrinterName(), QString());
    EXPECT_FALSE(bare.print.PrintMVals(QStringLiteral("Zentravox"), {}, {}, {},
                                       Answer({QStringLiteral("1;2")})));
}

TEST_F(CPrintTest, DatasetPrintsHeaderTitlesAndOneLinePerRecord) {
    const QString model = QStringLiteral("Ardel 20 IR");
    ASSERT_TRUE(PrintDataset(model, Answer({QStringLiteral("1;12/07/24;09:05;7;4.2;NTU"),
                                            QStringLiteral("2;a;b;c;d;e;f;g;h;i;surplus")})));
    const PrinterLog::Document& doc = OnlyDocument();
    EXPECT_TRUE(doc.ended);
    EXPECT_EQ(doc.fontSize, 11);
    ASSERT_EQ(doc.pages.size(), 1);
    const QStringList records{I + QStringLiteral("1; 12/07/24; 09:05; 7; 4.2; NTU; ; ; ; ; "),
                              I + QStringLiteral("2; a; b; c; d; e; f; g; h; i; ")};
    EXPECT_EQ(doc.pages[0], DatasetHeader() + TitleLine(model) + records);
    EXPECT_EQ(TitleLine(model)[0].count(QStringLiteral("; ")), 10);
    EXPECT_EQ(ui.yields, 4) << "events are processed between records, measuring and printing";
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CPrintTest, EmptyDatasetPrintsHeaderAndTitleOnlyAndTooShortTextFails) {
    const QString model = QStringLiteral("Zentravox");
    ASSERT_TRUE(PrintDataset(model, Answer({})));
    QStringList expected = DatasetHeader() + TitleLine(model);
    expected[2] = I + QStringLiteral("App. de mesure: Zentravox");
    EXPECT_EQ(OnlyDocument().AllLines(), expected);
    EXPECT_EQ(TitleLine(model)[0].count(QStringLiteral("; ")), 16);

    log->documents.clear();
    EXPECT_FALSE(PrintDataset(model, QStringLiteral("x")));
    ASSERT_EQ(log->documents.size(), 1);
    EXPECT_FALSE(log->documents[0].ended);
    EXPECT_TRUE(log->documents[0].discarded) << "a failed printout is not left open";
}

TEST_F(CPrintTest, LongLinesAreCutAtTheRightEdgeNeverWrapped) {
    log->mayTurn = false; // a page the user chose stays as it is
    log->pageWidth = 40;
    log->charWidth = 2; // 20 characters fit
    ASSERT_TRUE(PrintDataset(
        QStringLiteral("Ardel 20 IR"),
        Answer({QStringLiteral("abcdefghijklmnopqrstuvwxyz"), QStringLiteral("12345678")})));
    const QStringList lines = OnlyDocument().AllLines();
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[9], (I + QStringLiteral("abcdefghijklmnopqrstuvwxyz")).left(20));
    EXPECT_EQ(lines[10], I + QStringLiteral("12345678"));
    EXPECT_EQ(lines[2], (I + QStringLiteral("App. de mesure: Ardel 20 IR")).left(20));
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 20);
    }

    log->documents.clear();
    log->pageWidth = 41; // half a character more still cuts at 20
    ASSERT_TRUE(PrintDataset(QStringLiteral("Ardel 20 IR"), Answer({QString(30, u'x')})));
    EXPECT_EQ(OnlyDocument().AllLines()[9], I + QString(8, u'x'));
}

TEST_F(CPrintTest, LaterPagesStartWithTwoCountedEmptyLines) {
    log->pageHeight = 100; // 100 / 10 - 2 = 8 lines per page
    QStringList records;
    QStringList recordLines;
    for (int i = 1; i <= 20; ++i) {
        records << QStringLiteral("r%1").arg(i);
        recordLines << I + QStringLiteral("r%1; ; ; ; ; ; ; ; ; ; ").arg(i);
    }
    const QString model = QStringLiteral("Ardel 20 IR");
    ASSERT_TRUE(PrintDataset(model, Answer(records)));
    const PrinterLog::Document& doc = OnlyDocument();
    // 8 + 21 further lines: pages of 8, 6 + 2, 6 + 2, 6 + 2, 3 + 2.
    ASSERT_EQ(doc.pages.size(), 5);
    EXPECT_EQ(doc.pages.last().size(), 5);
    ExpectPaged(doc, 8, DatasetHeader() + TitleLine(model) + recordLines);

    log->documents.clear();
    log->pageHeight = 44; // 4.4 - 2 = 2.4 -> 2 lines: no room for a line under the top lines
    EXPECT_FALSE(PrintDataset(model, Answer(records)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Erreur"));
}

TEST_F(CPrintTest, PHProtocolInMillivoltsAndCelsius) {
    LoadProtocol(kPHFile.arg(QStringLiteral("False"), QStringLiteral("False")));
    ASSERT_TRUE(services.print.PrintCalProtocol());
    EXPECT_EQ(OnlyDocument().AllLines(), PHPrintout(false));
    EXPECT_TRUE(OnlyDocument().ended);
}

TEST_F(CPrintTest, PHProtocolInPercentAndFahrenheitPagedOnSmallPages) {
    LoadProtocol(kPHFile.arg(QStringLiteral("True"), QStringLiteral("1")));
    ASSERT_TRUE(services.print.PrintCalProtocol());
    EXPECT_EQ(OnlyDocument().AllLines(), PHPrintout(true));

    log->documents.clear();
    log->pageHeight = 70; // 5 lines per page
    ASSERT_TRUE(services.print.PrintCalProtocol());
    ExpectPaged(OnlyDocument(), 5, PHPrintout(true));
}

TEST_F(CPrintTest, TurbidityProtocolPrintsLotDataAndOneLinePerStandard) {
    LoadProtocol(kTurbidityFile.arg(QStringLiteral("3-P StdCAL"), QStringLiteral("3"),
                                    QStringLiteral("0.02;10.0;1000;;")));
    const QStringList head{QString(),
                           QString(),
                           I + QStringLiteral("Protocole de calibration - Turbidité"),
                           I + QStringLiteral("31/01/2025 14:30:00"),
                           QString(),
                           I + QStringLiteral("App. de mesure: Ardel 60 IR"),
                           I + QStringLiteral("Numéro de série: A60-17"),
                           I + QStringLiteral("Utilisateur: Paul"),
                           QString(),
                           I + QStringLiteral("Date: 02/11/2024"),
                           I + QStringLiteral("Heure: 16:45:00"),
                           I + QStringLiteral("Intervalle: 30 Jour(s)")};
    const QStringList lot{QString(), I + QStringLiteral("Lot de set: L-2024"),
                          I + QStringLiteral("Date d'exp.: 12/2025"),
                          I + QStringLiteral("Fabricant: Formazine SA")};
    const QStringList three{I + QStringLiteral("0.02 FNU/NTU: sl-1 OK"),
                            I + QStringLiteral("10.0 FNU/NTU: sl-2 OK"),
                            I + QStringLiteral("1000 FNU/NTU: sl-3 OK")};
    ASSERT_TRUE(services.print.PrintCalProtocol());
    const QStringList standard =
        head + QStringList{I + QStringLiteral("Mode: 3-P StdCAL")} + lot + three + QStringList{""};
    EXPECT_EQ(OnlyDocument().AllLines(), standard);

    LoadProtocol(kTurbidityFile.arg(QStringLiteral("5-P ExtCAL"), QStringLiteral("5"),
                                    QStringLiteral("0.02;10.0;100;500;1000")));
    log->documents.clear();
    log->pageHeight = 80; // 6 lines per page
    ASSERT_TRUE(services.print.PrintCalProtocol());
    QStringList extended = head + QStringList{I + QStringLiteral("Mode: 5-P ExtCAL")} + lot;
    extended << three[0] << three[1] << I + QStringLiteral("100 FNU/NTU: sl-3 OK")
             << I + QStringLiteral("500 FNU/NTU: sl-4 OK")
             << I + QStringLiteral("1000 FNU/NTU: sl-5 OK") << QString();
    ExpectPaged(OnlyDocument(), 6, extended);
}

TEST_F(CPrintTest, NoProtocolOrUndeliveredDocumentIsAFailure) {
    EXPECT_FALSE(services.print.PrintCalProtocol());
    ASSERT_EQ(log->documents.size(), 1);
    EXPECT_TRUE(log->documents[0].AllLines().isEmpty());
    EXPECT_TRUE(log->documents[0].discarded);

    log->documents.clear();
    log->endFails = true;
    EXPECT_FALSE(PrintDataset(QStringLiteral("Zentravox"), Answer({QStringLiteral("1;2")})));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CPrintTest, APointCountAboveTheKeptStandardsPrintsTheFive) {
    LoadProtocol(
        kTurbidityFile.arg(QStringLiteral("?"), QStringLiteral("7"), QStringLiteral("1;2;3;4;5")));
    ASSERT_TRUE(services.print.PrintCalProtocol());
    const QStringList standards = OnlyDocument().AllLines().filter(QStringLiteral(" FNU/NTU: sl-"));
    EXPECT_EQ(standards.size(), 5);
    EXPECT_EQ(standards.last(), I + QStringLiteral("5 FNU/NTU: sl-5 OK"));
}

TEST_F(CPrintTest, WithoutADefaultPrinterTheFirstInstalledOneIsNamedAndPrintedOn) {
    log->names = {QStringLiteral("Atelier"), QStringLiteral("Bureau")};
    log->defaultName.clear();
    EXPECT_TRUE(services.print.PrinterAvailable());
    EXPECT_EQ(services.print.PrinterName(), QStringLiteral("Atelier"));
    ASSERT_TRUE(PrintDataset(QStringLiteral("Ardel 20 IR"), Answer({QStringLiteral("1;2")})));
    EXPECT_EQ(OnlyDocument().printer, QStringLiteral("Atelier"));
    EXPECT_TRUE(OnlyDocument().ended);

    // A default that is no longer installed counts as none.
    log->defaultName = QStringLiteral("Ancienne");
    EXPECT_EQ(services.print.PrinterName(), QStringLiteral("Atelier"));
    log->defaultName = QStringLiteral("Bureau");
    EXPECT_EQ(services.print.PrinterName(), QStringLiteral("Bureau"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CPrintTest, ADatasetWiderThanThePortraitPageIsPrintedInLandscape) {
    const QString model = QStringLiteral("Ardel 20 IR");
    const int portrait = static_cast<int>(TitleLine(model)[0].size()) + 5;
    log->pageWidth = portrait; // the title line fits portrait; landscape is 1000 wide
    const QString narrow = QStringLiteral("1;2");
    ASSERT_TRUE(PrintDataset(model, Answer({narrow})));
    EXPECT_FALSE(OnlyDocument().landscape) << "header and title line fit portrait";

    log->documents.clear();
    const QString wideField(portrait, u'w');
    ASSERT_TRUE(PrintDataset(model, Answer({narrow, QStringLiteral("2;") + wideField})));
    const PrinterLog::Document& doc = OnlyDocument();
    EXPECT_TRUE(doc.landscape) << "the last record decides too";
    EXPECT_EQ(doc.AllLines().last(),
              I + QStringLiteral("2; ") + wideField + QStringLiteral("; ; ; ; ; ; ; ; ; "));
    // Lines per page follow the turned page: its height is the portrait width.
    const int perPage = portrait / 10 - 2;
    ExpectPaged(
        doc, perPage,
        DatasetHeader() + TitleLine(model) +
            QStringList{I + QStringLiteral("1; 2; ; ; ; ; ; ; ; ; "), doc.AllLines().last()});

    // What does not fit landscape either is still cut at the right edge.
    log->documents.clear();
    log->pageHeight = 200;
    ASSERT_TRUE(PrintDataset(model, Answer({QString(400, u'z')})));
    EXPECT_TRUE(OnlyDocument().landscape);
    EXPECT_EQ(OnlyDocument().AllLines().last(), (I + QString(400, u'z')).left(200));

    // A page the user chose is never turned.
    log->documents.clear();
    log->mayTurn = false;
    ASSERT_TRUE(PrintDataset(model, Answer({QStringLiteral("2;") + wideField})));
    EXPECT_FALSE(OnlyDocument().landscape);
    EXPECT_EQ(OnlyDocument().AllLines().last().size(), portrait);
}

TEST_F(CPrintTest, PrintoutsOnAPrinterTheCallerOpenedAndFittingItsPage) {
    const QString model = QStringLiteral("Ardel 20 IR");
    log->pageWidth = static_cast<double>(TitleLine(model)[0].size());
    const QString wide = Answer({QStringLiteral("2;") + QString(200, u'w')});
    const QDateTime date(QDate(2024, 7, 12), QTime(8, 4, 3));
    std::unique_ptr<LinePrinter> fitted = NewRecordingPrinter(log, QStringLiteral("Aperçu"));
    ASSERT_TRUE(services.print.FitMValsPage(*fitted, model, {}, {}, date, wide));
    EXPECT_TRUE(log->documents[0].landscape);
    EXPECT_TRUE(log->documents[0].AllLines().isEmpty()) << "fitting prints nothing";

    std::unique_ptr<LinePrinter> chosen = NewRecordingPrinter(log, QStringLiteral("Choisie"));
    ASSERT_TRUE(services.print.PrintMVals(*chosen, model, QStringLiteral("SN-4711"),
                                          QStringLiteral("Marie"), date, wide));
    ASSERT_EQ(log->documents.size(), 2);
    EXPECT_TRUE(log->documents[1].ended);
    EXPECT_TRUE(log->documents[1].landscape);
    EXPECT_EQ(log->documents[1].AllLines().mid(0, 5), DatasetHeader().mid(0, 5));

    LoadProtocol(kPHFile.arg(QStringLiteral("False"), QStringLiteral("False")));
    std::unique_ptr<LinePrinter> protocol = NewRecordingPrinter(log, QStringLiteral("Choisie"));
    log->pageWidth = 200;
    ASSERT_TRUE(services.print.PrintCalProtocol(*protocol));
    EXPECT_EQ(log->documents[2].AllLines(), PHPrintout(false));
    EXPECT_FALSE(log->documents[2].landscape);

    EXPECT_FALSE(services.print.FitMValsPage(*NewRecordingPrinter(log, {}), model, {}, {}, date,
                                             QStringLiteral("x")))
        << "records that cannot be read cannot be laid out";
}

// The table report marks a first value beyond its program's limits (at most 0.5 for program
// 320) and says what the mark means; the others print as they are.
TEST_F(CPrintTest, TheTableReportMarksValuesBeyondTheLimits) {
    services.print.SetOptions({PrintLayout::Table, false});
    const QString records = Answer(
        {QStringLiteral("1;12.03.24;09:05:03;17;320;PO4-P;;1:1;0.42;mg/l;OK;;;;01.03.24;08:00"),
         QStringLiteral("2;12.03.24;09:40:10;18;320;PO4-P;;1:1;0.87;mg/l;OK;;;;01.03.24;08:00"),
         QStringLiteral("3;12.03.24;09:50:10;19;310;NO3-N;;1:1;0.87;mg/l;OK;;;;01.03.24;08:00")});
    LimitValue limit;
    limit.program = 320;
    limit.upper = 0.5;
    limit.validFrom = QDate(2024, 1, 1);
    const QDateTime date(QDate(2024, 3, 12), QTime(10, 0));
    RecordingPagePainter painter(595, 842, true);
    ASSERT_TRUE(services.print.PrintMVals(painter, QStringLiteral("Zentravox"), {}, {}, date,
                                          records, {}, {}, LimitFlags({limit})));
    const QList<RecordingPagePainter::Text> marked = painter.Find(QStringLiteral("0.87 *"));
    ASSERT_EQ(marked.size(), 1);
    EXPECT_TRUE(marked[0].bold);
    ASSERT_EQ(painter.Find(QStringLiteral("0.87")).size(), 1); // program 310 has no limits
    EXPECT_FALSE(painter.Find(QStringLiteral("0.42")).front().bold);
    EXPECT_EQ(painter.Find(LoadResString(1756)).size(), 1);
    // Without limits nothing is marked and no legend is printed.
    RecordingPagePainter plain(595, 842, true);
    ASSERT_TRUE(
        services.print.PrintMVals(plain, QStringLiteral("Zentravox"), {}, {}, date, records));
    EXPECT_EQ(plain.Find(QStringLiteral("0.87")).size(), 2);
    EXPECT_TRUE(plain.Find(LoadResString(1756)).isEmpty());
}

TEST_F(CPrintTest, ProtocolsAsTablesUnderTheirTitlesAlignedAndSigned) {
    const auto bold = [](const RecordingPagePainter& painter) {
        QStringList texts;
        for (const RecordingPagePainter::Text& t : painter.texts) {
            if (t.bold) {
                texts << t.text;
            }
        }
        return texts;
    };
    const auto ends = [](const QList<RecordingPagePainter::Text>& cells) {
        QSet<double> xs;
        for (const RecordingPagePainter::Text& t : cells) {
            xs.insert(t.Right());
        }
        return xs.size();
    };
    LoadProtocol(kPHFile.arg(QStringLiteral("False"), QStringLiteral("False")));
    RecordingPagePainter ph(595, 842, false);
    ASSERT_TRUE(services.print.PrintCalProtocol(ph));
    EXPECT_EQ(bold(ph), QStringList({"Protocole de calibration - pH", "N°", "pH", "Valeur", "Unité",
                                     "Température"}));
    EXPECT_EQ(ph.documentTitle,
              QStringLiteral("Protocole de calibration - pH \u2014 Zentravox pH SN-4711 \u2014 "
                             "15/03/2024"));
    EXPECT_EQ(ph.Find(QStringLiteral("App. de mesure: Zentravox pH")).size(), 1);
    EXPECT_EQ(ph.Find(QStringLiteral("Pente: -58.0 mV/pH")).size(), 1);
    EXPECT_EQ(ends(ph.Find(QStringLiteral("172.3")) + ph.Find(QStringLiteral("-3.1"))), 1);
    EXPECT_EQ(ends(ph.Find(QStringLiteral("25.0 °C")) + ph.Find(QStringLiteral("-40 °C"))), 1);
    EXPECT_EQ(ph.Find(QStringLiteral("-3.1")).front().top,
              ph.Find(QStringLiteral("-40 °C")).front().top);
    EXPECT_EQ(ph.Find(QStringLiteral("Contrôlé par: ______________   Date: ______________   "
                                     "Signature: ______________"))
                  .size(),
              1);

    LoadProtocol(kTurbidityFile.arg(QStringLiteral("5-P ExtCAL"), QStringLiteral("5"),
                                    QStringLiteral("0.02;10.0;100;500;1000")));
    services.print.SetOptions({PrintLayout::Table, false});
    RecordingPagePainter turbidity(595, 842, false);
    ASSERT_TRUE(services.print.PrintCalProtocol(turbidity));
    EXPECT_EQ(bold(turbidity).mid(1),
              QStringList({"Etalon", "Valeur", "Unité", "Lot de set", "Date d'exp.", "Fabricant",
                           "Commentaire (p.ex. sous-lot)", "Etat"}));
    const QList<RecordingPagePainter::Text> fifth = turbidity.Find(QStringLiteral("sl-5"));
    ASSERT_EQ(fifth.size(), 1);
    EXPECT_EQ(turbidity.Find(QStringLiteral("1000")).front().top, fifth.front().top);
    EXPECT_EQ(turbidity.Find(QStringLiteral("Formazine SA")).size(), 5);
    EXPECT_EQ(turbidity.Find(QStringLiteral("OK")).size(), 5);
    EXPECT_EQ(ends(turbidity.Find(QStringLiteral("0.02")) + turbidity.Find(QStringLiteral("1000"))),
              1);
    for (const RecordingPagePainter::Text& t : turbidity.texts) {
        EXPECT_FALSE(t.text.startsWith(QStringLiteral("Contrôlé par:")));
    }

    // The list stays what it was, on a page painter too.
    services.print.SetOptions({PrintLayout::Lines, true});
    RecordingPagePainter list(595, 842, false);
    ASSERT_TRUE(services.print.PrintCalProtocol(list));
    EXPECT_EQ(list.Find(I + QStringLiteral("1000 FNU/NTU: sl-5 OK")).size(), 1);
}
