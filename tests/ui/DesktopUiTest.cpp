#include "ui/app/CommandLine.h"
#include "ui/app/FileFilter.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

TEST(FileFilter, ClassicPairsBecomeQtEntries) {
    EXPECT_EQ(QtNameFilters(QStringLiteral("CSV (séparateur-séparé) (*.csv)|*.csv")),
              QStringList{QStringLiteral("CSV (séparateur-séparé) (*.csv)")});
    EXPECT_EQ(
        QtNameFilters(QStringLiteral("Classeur|*.xls|Tous|*.csv;*.txt")),
        (QStringList{QStringLiteral("Classeur (*.xls)"), QStringLiteral("Tous (*.csv *.txt)")}));
    EXPECT_TRUE(QtNameFilters(QString()).isEmpty());
    EXPECT_TRUE(QtNameFilters(QStringLiteral("no pattern")).isEmpty());
}

TEST(FileFilter, DefaultExtensionOnlyWhenNoneTyped) {
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/tmp/data"), QStringLiteral("csv")),
              QStringLiteral("/tmp/data.csv"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/tmp/data.txt"), QStringLiteral("csv")),
              QStringLiteral("/tmp/data.txt"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/tmp/v1.2/data"), QStringLiteral("csv")),
              QStringLiteral("/tmp/v1.2/data.csv"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/tmp/data"), QString()),
              QStringLiteral("/tmp/data"));
}

// A name typed without extension gets the extension of the file type chosen in the dialog.
TEST(FileFilter, ChosenTypesExtension) {
    const QStringList filters = QtNameFilters(QStringLiteral(
        "Classeur Excel (*.xlsx)|*.xlsx|Microsoft Office classeur de travail Excel (*.xls)|*.xls"));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(FilterExtension(filters[0], QStringLiteral("csv")), QStringLiteral("xlsx"));
    EXPECT_EQ(FilterExtension(filters[1], QStringLiteral("csv")), QStringLiteral("xls"));
    EXPECT_EQ(FilterExtension(QStringLiteral("Tous (*.csv *.txt)"), QStringLiteral("csv")),
              QStringLiteral("csv"));
    EXPECT_EQ(FilterExtension(QStringLiteral("Tous (*)"), QStringLiteral("xls")),
              QStringLiteral("xls"));
}

TEST(Pictures, EveryPictureTheWindowsNeedIsReadable) {
    const QDir grafics(QStringLiteral(MERVEX_BIN_DIR "/Grafics"));
    for (const char* name :
         {"Main.ico", "Finger.ico", "Logo_0.gif", "Lab.jpg", "Head.png", "New.png", "Open.png",
          "Save.png", "Print.png", "Import.png", "Export.png", "UsrProgs.png"}) {
        const QImage image(grafics.filePath(QLatin1String(name)));
        EXPECT_FALSE(image.isNull()) << name;
    }
}

TEST(CommandLine, PortOptionsInOrder) {
    EXPECT_EQ(PortOptions({QStringLiteral("--port"), QStringLiteral("/dev/pts/4"),
                           QStringLiteral("-platform"), QStringLiteral("xcb"),
                           QStringLiteral("--port=/tmp/meter"), QStringLiteral("--port")}),
              (QStringList{QStringLiteral("/dev/pts/4"), QStringLiteral("/tmp/meter")}));
    EXPECT_TRUE(PortOptions({}).isEmpty());
}
