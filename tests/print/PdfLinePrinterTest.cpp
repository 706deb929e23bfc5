#include "print/PdfLinePrinter.h"

#include "app/Errors.h"
#include "print/PrinterFactories.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(PdfLinePrinter, PagesAndLinesReadBackInOrder) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("out.pdf"));
    PdfFileFactory factory(path);
    EXPECT_EQ(factory.PrinterNames(), QStringList({path}));
    EXPECT_EQ(factory.DefaultPrinterName(), path);
    std::unique_ptr<LinePrinter> printer = factory.OpenPrinter(path);
    printer->SetFontSize(11);
    printer->PrintLine(QStringLiteral("Première ligne"));
    printer->PrintLine(QString());
    printer->PrintLine(QStringLiteral("#1\t4.01\t25.0 °C"));
    printer->NewPage();
    printer->PrintLine(QStringLiteral("Seconde page"));
    EXPECT_FALSE(QFile::exists(path)) << "nothing appears before the document ends";
    ASSERT_TRUE(printer->EndDocument());

    const QList<QStringList> pages = PdfPages(path);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0], QStringList({"Première ligne", "", "#1 4.01 25.0 °C"}));
    EXPECT_EQ(pages[1], QStringList({"Seconde page"}));
}

TEST(PdfLinePrinter, MetricsFollowTheFontAndTheTabStops) {
    TempDir dir;
    PdfLinePrinter printer(dir.file(QStringLiteral("m.pdf")));
    printer.SetFontSize(11);
    const double height = printer.TextHeight(QStringLiteral("test"));
    const double x = printer.TextWidth(QStringLiteral("x"));
    // 11 pt is 11/72 inch; a line is somewhat more than the font size.
    const double inch = printer.PrintableWidth() / ((210.0 - 30) / 25.4);
    EXPECT_GT(height, inch * 11 / 72);
    EXPECT_LT(height, inch * 11 / 72 * 1.5);
    EXPECT_NEAR(printer.PrintableHeight() / inch, (297.0 - 30) / 25.4, 0.05);
    EXPECT_DOUBLE_EQ(printer.TextWidth(QStringLiteral("xx")), 2 * x);
    EXPECT_DOUBLE_EQ(printer.TextWidth(QStringLiteral("x\tx")), 9 * x) << "tab stop at 8 x";
    EXPECT_DOUBLE_EQ(printer.TextWidth(QStringLiteral("\t")), 8 * x);
    EXPECT_DOUBLE_EQ(printer.TextWidth(QStringLiteral("xxxxxxxx\t")), 16 * x);
    printer.SetFontSize(22);
    EXPECT_NEAR(printer.TextWidth(QStringLiteral("x")), 2 * x, x * 0.1);
}

TEST(PdfLinePrinter, ADiscardedDocumentLeavesTheOldFile) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("keep.pdf"));
    WriteBytes(path, "previous");
    {
        PdfLinePrinter printer(path);
        printer.PrintLine(QStringLiteral("never delivered"));
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"keep.pdf"}))
        << "no temporary file is left behind";
    EXPECT_THROW(PdfLinePrinter(dir.file(QStringLiteral("no/such/dir/x.pdf"))), MervexError);
}

TEST(SystemPrinterFactory, NoReachablePrintServiceMeansNoPrinter) {
    // A print service that does not exist: whatever this machine has installed.
    const bool wasSet = qEnvironmentVariableIsSet("CUPS_SERVER");
    const QByteArray saved = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QFile::encodeName(TempDir().file(QStringLiteral("no-cups.sock"))));
    SystemPrinterFactory factory;
    EXPECT_EQ(factory.PrinterNames(), QStringList());
    EXPECT_EQ(factory.DefaultPrinterName(), QString());
    EXPECT_EQ(factory.OpenPrinter(QStringLiteral("Labo-Laser")), nullptr);
    if (wasSet) {
        qputenv("CUPS_SERVER", saved);
    } else {
        qunsetenv("CUPS_SERVER");
    }
}
