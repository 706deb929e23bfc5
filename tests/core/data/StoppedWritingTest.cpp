#include "app/Services.h"
#include "data/ExportDataset.h"
#include "data/MValSet.h"
#include "support/PhotometerRecords.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

int OpenDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

} // namespace

// A progress that stops a save or an export half-way leaves every file as it was, reports
// nothing and leaves nothing behind (no file, no open descriptor).
TEST(StoppedWriting, LeavesTheOldFileAndReportsNothing) {
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    const MValSet set = WidePhotometerDataset(20000);
    TempDir dir;
    const QStringList names = {QStringLiteral("old.csv"), QStringLiteral("old.xls"),
                               QStringLiteral("old.xlsx")};
    const int descriptors = OpenDescriptors();
    for (const QString& name : names) {
        const QString path = dir.file(name);
        WriteBytes(path, "previous");
        QList<qint64> told;
        const WorkProgress progress = [&](qint64 done, qint64 total) {
            told << done;
            EXPECT_GE(total, done);
            return told.size() < 3;
        };
        bool written = true;
        if (name.endsWith(QLatin1String(".csv"))) {
            services.measVal.SetProgress(progress);
            written = services.measVal.SaveFile(set, path);
            services.measVal.SetProgress({});
        } else {
            written = ExportDataset(services.exportExcel, services.exportXlsx, set, path, progress);
        }
        EXPECT_FALSE(written) << name.toStdString();
        EXPECT_EQ(told.size(), 3) << name.toStdString();
        EXPECT_LT(told.value(0), told.value(1)) << name.toStdString();
        EXPECT_EQ(ReadBytes(path), QByteArray("previous")) << name.toStdString();
        EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('|').toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), names);
    EXPECT_EQ(OpenDescriptors(), descriptors);
}
