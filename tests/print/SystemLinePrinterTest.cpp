#include "print/SystemLinePrinter.h"

#include "print/PageSetup.h"
#include "print/PrinterFactories.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

#include <QPageRanges>
#include <gtest/gtest.h>

TEST(SystemLinePrinter, WithoutSuchAPrinterAPdfPrinterOnTheLocalesPaper) {
    const std::unique_ptr<QPrinter> printer = NewProgramPrinter(QStringLiteral("Nulle part"));
    EXPECT_EQ(printer->outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer->pageLayout().pageSize().id(), LocalePageSize().id());
    EXPECT_EQ(printer->pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printer->pageLayout().margins(QPageLayout::Millimeter).left(), 15);

    // Laid out before a dialog, the page may turn; a page the user set up may not.
    SystemLinePrinter layout(*printer, true);
    EXPECT_TRUE(layout.MayTurnPage());
    layout.TurnToLandscape();
    EXPECT_EQ(printer->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_FALSE(SystemLinePrinter(*printer).MayTurnPage());
}

TEST(SystemLinePrinter, OnlyThePagesOfTheChosenRangeArePrinted) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("range.pdf"));
    std::unique_ptr<QPrinter> printer = NewProgramPrinter(QString());
    printer->setOutputFileName(path);
    printer->setPageRanges(QPageRanges::fromString(QStringLiteral("2-3,5")));
    SystemLinePrinter lines(std::move(printer));
    for (int page = 1; page <= 6; ++page) {
        if (page > 1) {
            lines.NewPage();
        }
        lines.PrintLine(QStringLiteral("Page %1").arg(page));
    }
    ASSERT_TRUE(lines.EndDocument());
    EXPECT_EQ(PdfPages(path), QList<QStringList>({{"Page 2"}, {"Page 3"}, {"Page 5"}}));
}
