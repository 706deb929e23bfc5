#include "CliLocale.h"
#include "support/CliRunner.h"
#include "support/PdfText.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const char* const kPHProtocol =
    "METER;SERNO;USER;PH\r\n"
    "Zentravox pH;SN-4711;Ren\xe9;True\r\n"
    "YEAR;MONTH;DAY;HOUR;MIN;SEC;INTERVAL;MODE;SLOPE;ASY;QUAL;SHOWF;SHOWPC\r\n"
    "2024;3;15;9;5;7;7;Calomat TBX;-58.0;-3.2;++;True;True\r\n"
    "CALPTS;PH1;VOLT1;TEMP1;PH2;VOLT2;TEMP2;PH3;VOLT3;TEMP3\r\n"
    "2;4.01;172.3;25;7.00;-3.1;20.0;;;\r\n"
    "LOTTOTAL;EXPIRY;MANUF;STDLOW;STDMID;STDHIGH;STD4;STD5\r\n"
    ";;;;;;;\r\n"
    "CALPTS;TURB1;TURB2;TURB3;TURB4;TURB5\r\n"
    "2;;;;;";

} // namespace

TEST(CliProtocolPrint, PHProtocolFileIntoAPdf) {
    CliLocale locale;
    TempDir dir;
    const QString in = dir.file(QStringLiteral("CalProt pH 20240315.csv"));
    const QString out = dir.file(QStringLiteral("protocol.pdf"));
    WriteBytes(in, kPHProtocol);
    const CliResult r = RunCli({QStringLiteral("protocol"), QStringLiteral("print"), in, out,
                                QStringLiteral("--layout"), QStringLiteral("lines")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    const QList<QStringList> pages = PdfPages(out);
    ASSERT_EQ(pages.size(), 1);
    // The reader drops the empty lines above the first and below the last text.
    QStringList lines = pages[0];
    ASSERT_EQ(lines.size(), 17) << lines.join(QLatin1Char('\n')).toStdString();
    // The time of printing: today's date, then the time.
    EXPECT_TRUE(lines[1].contains(QDate::currentDate().toString(QStringLiteral("yyyy"))));
    lines.removeAt(1);
    EXPECT_EQ(lines,
              QStringList({"Protocole de calibration - pH", "", "App. de mesure: Zentravox pH",
                           "Numéro de série: SN-4711", "Utilisateur: René", "", "Date: 15/03/2024",
                           "Heure: 09:05:07", "Intervalle: 7 Jour(s)", "Mode: Calomat TBX",
                           "Pente: 98,0 %", "Asymétrie: -3.2 mV", "Sonde: ++", "",
                           "#1 4.01 172.3 mV 77,0 °F", "#2 7.00 -3.1 mV 68,0 °F"}));

    // The page options: the same printout on a Letter page turned to landscape.
    const QString turned = dir.file(QStringLiteral("turned.pdf"));
    ASSERT_EQ(
        RunCli({QStringLiteral("protocol"), QStringLiteral("print"), in, turned,
                QStringLiteral("--page"), QStringLiteral("Letter"), QStringLiteral("--landscape"),
                QStringLiteral("--layout"), QStringLiteral("lines")})
            .exitCode,
        0);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {turned});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QStringLiteral("Page size:       792 x 612 pts (letter)")));
    const QList<QStringList> turnedPages = PdfPages(turned);
    ASSERT_EQ(turnedPages.size(), 1);
    EXPECT_EQ(turnedPages[0].last(), QStringLiteral("#2 7.00 -3.1 mV 68,0 °F"));
}

TEST(CliProtocolPrint, FailuresAndUsage) {
    TempDir dir;
    const QString out = dir.file(QStringLiteral("p.pdf"));
    const CliResult missing = RunCli({QStringLiteral("protocol"), QStringLiteral("print"),
                                      dir.file(QStringLiteral("missing.csv")), out});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("Erreur de lecture du fichier!\n"));
    EXPECT_FALSE(QFile::exists(out));

    const QString in = dir.file(QStringLiteral("in.csv"));
    WriteBytes(in, kPHProtocol);
    const CliResult unwritable = RunCli({QStringLiteral("protocol"), QStringLiteral("print"), in,
                                         dir.file(QStringLiteral("no/such/dir/p.pdf"))});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.endsWith(QStringLiteral("\nErreur d'impression!\n")))
        << unwritable.err.toStdString();

    for (const QStringList& args :
         {QStringList{QStringLiteral("protocol")},
          QStringList{QStringLiteral("protocol"), QStringLiteral("print"), in},
          QStringList{QStringLiteral("protocol"), QStringLiteral("pH2"), out}}) {
        const CliResult usage = RunCli(args);
        EXPECT_EQ(usage.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(usage.err.startsWith(QStringLiteral("usage: mervex-cli protocol")));
    }
}
