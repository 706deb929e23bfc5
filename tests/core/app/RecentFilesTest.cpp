#include "app/RecentFiles.h"

#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndAtMostEight) {
    QSettings().remove(QStringLiteral("Settings/RecentFiles"));
    for (int i = 1; i <= 10; ++i) {
        RecentFiles::Add(QStringLiteral("/data/f%1.csv").arg(i));
    }
    RecentFiles::Add(QStringLiteral("/data/f5.csv"));
    const QStringList files = RecentFiles::List();
    ASSERT_EQ(files.size(), RecentFiles::kMaxFiles);
    EXPECT_EQ(files.first(), QStringLiteral("/data/f5.csv"));
    EXPECT_EQ(files.count(QStringLiteral("/data/f5.csv")), 1);
    EXPECT_EQ(files[1], QStringLiteral("/data/f10.csv"));
    EXPECT_FALSE(files.contains(QStringLiteral("/data/f2.csv"))) << "the oldest go";

    RecentFiles::Remove(QStringLiteral("/data/f10.csv"));
    EXPECT_FALSE(RecentFiles::List().contains(QStringLiteral("/data/f10.csv")));
    // A relative name is kept as the absolute path it stands for.
    RecentFiles::Add(QStringLiteral("rel.csv"));
    EXPECT_EQ(RecentFiles::List().first(), QDir::current().absoluteFilePath("rel.csv"));
}
