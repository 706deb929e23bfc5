#include "ui/app/DesktopUi.h"

#include "support/TempDir.h"
#include "ui/app/FileFilter.h"
#include "ui/shell/CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

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

TEST(CommandLine, FilesAreTheArgumentsThatAreNoOptionNorAPortDevice) {
    EXPECT_EQ(FileArguments({"--port", "/dev/pts/4", "Mesures été.csv", "--port=/tmp/m",
                             "--verbose", "b.csv", "--", "--odd.csv"}),
              (QStringList{"Mesures été.csv", "b.csv", "--odd.csv"}));
    EXPECT_TRUE(FileArguments({"--port", "a.csv"}).isEmpty()) << "a.csv is the device";
}

// The desktop program itself: what it answers before a display is needed.
TEST(CommandLine, HelpVersionAndUnknownOptionsAnswerWithoutADisplay) {
    const auto run = [](const QStringList& arguments) {
        QProcess mervex;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            env.remove(QString::fromLatin1(name));
        }
        mervex.setProcessEnvironment(env);
        mervex.start(QStringLiteral(MERVEX_BIN_DIR "/mervex"), arguments);
        EXPECT_TRUE(mervex.waitForFinished(10000)) << arguments.join(' ').toStdString();
        return std::pair{mervex.exitCode(), QString::fromUtf8(mervex.readAllStandardOutput() +
                                                              mervex.readAllStandardError())};
    };
    const auto [helpStatus, help] = run({QStringLiteral("--help")});
    EXPECT_EQ(helpStatus, 0) << help.toStdString();
    EXPECT_TRUE(help.startsWith(QStringLiteral("usage: mervex"))) << help.toStdString();
    const auto [versionStatus, version] =
        run({QStringLiteral("--port"), QStringLiteral("--help"), QStringLiteral("--version")});
    EXPECT_EQ(versionStatus, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^mervex \\d+\\.\\d+\\.\\d+\n$"))
                    .match(version)
                    .hasMatch())
        << "--help after --port is the port's device: " << version.toStdString();
    const auto [unknownStatus, unknown] = run(
        {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--verbose")});
    EXPECT_EQ(unknownStatus, 2);
    EXPECT_TRUE(unknown.contains(QStringLiteral("unknown option --verbose\nusage: mervex")))
        << unknown.toStdString();
}

namespace {

// The modal dialog of type T that is shown now; anything else shown is closed, so that no
// test hangs on it.
template <typename T> T* ShownModal() {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) {
        if (QWidget* other = QApplication::activeModalWidget()) {
            other->close();
        }
    }
    return dialog;
}

struct SeenDialog {
    QString directory;
    QString proposedName;
};

// Runs DesktopUi's save dialog, notes where it starts, and saves under `name`.
std::optional<QString> SaveThroughDialog(const FileDialogRequest& request, const QString& name,
                                         SeenDialog& seen) {
    DesktopUi ui;
    QTimer::singleShot(0, [&] {
        auto* dialog = ShownModal<QFileDialog>();
        if (!dialog) {
            return;
        }
        seen.directory = dialog->directory().absolutePath();
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        seen.proposedName = edit ? edit->text() : QString();
        if (edit) {
            edit->setText(name);
        }
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    return ui.SaveFileDialog(request);
}

} // namespace

TEST(DesktopUi, FileDialogsStartInTheKindsLastFolderElseTheCallersElseTheDocuments) {
    QSettings().remove(QStringLiteral("Folders"));
    TempDir work;
    QDir(work.path()).mkdir(QStringLiteral("saved"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    FileDialogRequest program;
    program.kind = FileKind::Program;
    program.filter = QStringLiteral("CSV (*.csv)|*.csv");
    program.initialDir = work.path();
    program.fileName = work.file(QStringLiteral("PROG 900"));
    program.defaultExtension = QStringLiteral("csv");
    SeenDialog seen;
    // The first program dialog starts in the work directory; the user saves elsewhere.
    EXPECT_EQ(SaveThroughDialog(program, work.file(QStringLiteral("saved/p.csv")), seen),
              work.file(QStringLiteral("saved/p.csv")));
    EXPECT_EQ(seen.directory, work.path());
    EXPECT_EQ(seen.proposedName, QStringLiteral("PROG 900"));
    // The next one starts where the last program went, with the name proposed there.
    EXPECT_EQ(SaveThroughDialog(program, QStringLiteral("q"), seen),
              work.file(QStringLiteral("saved/q.csv")));
    EXPECT_EQ(seen.directory, work.file(QStringLiteral("saved")));
    EXPECT_EQ(seen.proposedName, QStringLiteral("PROG 900"));

    // Another kind is not moved by it: a dataset starts in the documents folder, never in
    // the process's current directory.
    FileDialogRequest dataset;
    dataset.kind = FileKind::Dataset;
    dataset.filter = program.filter;
    dataset.fileName = QStringLiteral("Zentravox");
    ASSERT_NE(documents, QDir::currentPath());
    EXPECT_TRUE(SaveThroughDialog(dataset, QStringLiteral("z.csv"), seen));
    EXPECT_EQ(seen.directory, documents);
    QSettings().remove(QStringLiteral("Folders"));
}

// The input box is wide enough for its title and starts with the text it was given.
TEST(DesktopUi, InputBoxShowsItsWholeTitleAndTheGivenText) {
    DesktopUi ui;
    const QString title = QStringLiteral("Modifier l'utilisateur");
    int width = 0;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = ShownModal<QInputDialog>();
        if (!dialog) {
            return;
        }
        width = dialog->width();
        shown = dialog->textValue();
        dialog->setTextValue(QStringLiteral("marie"));
        dialog->accept();
    });
    EXPECT_EQ(ui.InputBox(QStringLiteral("Utilisateur:"), title, QStringLiteral("anna")),
              std::optional<QString>(QStringLiteral("marie")));
    EXPECT_EQ(shown, QStringLiteral("anna"));
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    EXPECT_GE(width, metrics.horizontalAdvance(title) + 4 * metrics.height());
}
