#include "app/Services.h"
#include "data/ExportDataset.h"
#include "data/MValSet.h"
#include "print/PdfLinePrinter.h"
#include "support/PhotometerRecords.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

// Every export that finds the disk full keeps the previous file and names it with the
// reason, in the program's language: not the library's English text, not only
// "Erreur lors de l'exportation!".
TEST(FullDiskExport, EveryTypeKeepsThePreviousFileAndNamesItWithTheReason) {
    const SmallDisk disk(256 * 1024, 16);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    const MValSet set = WidePhotometerDataset(3000);
    const QStringList names = {QStringLiteral("old.xls"), QStringLiteral("old.xlsx"),
                               QStringLiteral("old.pdf")};
    for (const QString& name : names) {
        WriteBytes(disk.file(name), "previous " + name.toLatin1());
    }
    disk.Fill();
    for (const QString& name : names.first(2)) {
        ui.messages.clear();
        EXPECT_FALSE(
            ExportDataset(services.exportExcel, services.exportXlsx, set, disk.file(name)));
        EXPECT_EQ(ui.MessageTexts().value(0), disk.file(name) + QStringLiteral(": Disque plein"))
            << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    }
    try {
        PdfLinePrinter pdf(disk.file(names[2]));
        for (int i = 0; i < 2000; ++i) {
            pdf.PrintLine(QStringLiteral("line %1").arg(i));
        }
        pdf.EndDocument();
        ADD_FAILURE() << "the PDF fitted on a full disk";
    } catch (const MervexError& error) {
        EXPECT_EQ(error.Description(), disk.file(names[2]) + QStringLiteral(": Disque plein"));
    }
    for (const QString& name : names) {
        EXPECT_EQ(ReadBytes(disk.file(name)), "previous " + name.toLatin1());
    }
}
