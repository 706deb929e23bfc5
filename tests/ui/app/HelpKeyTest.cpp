#include "UiFixture.h"
#include "app/Language.h"
#include "ui/app/DesktopUi.h"
#include "ui/archive/frmArchive.h"
#include "ui/calibration/frmCalProtocolPH.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/frmDocument.h"
#include "ui/data/frmDocumentGraph.h"
#include "ui/data/frmStatistics.h"
#include "ui/programs/frmProgConsole.h"
#include "ui/programs/frmProgEdit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <optional>

namespace {

// Takes the place of the desktop's browser for file addresses while it lives.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls << url; }
};

// The modal window as a T; any other window is closed, so that the test cannot hang on it.
template <typename T> T* ModalAs(QWidget* window) {
    auto* typed = qobject_cast<T*>(window);
    if (!typed && window) {
        window->close();
    }
    EXPECT_NE(typed, nullptr);
    return typed;
}

const QByteArray kOnlyArdel60 = "[General]\r\nOnlyArdel60=True\r\n";

// A program folder with both editions' help pages, or none; the main window after login.
class HelpKeyTest : public ::testing::Test {
protected:
    explicit HelpKeyTest(const QByteArray& settings = QByteArray(), bool withHelp = true)
        : folder(settings) {
        if (withHelp) {
            QDir(folder.path()).mkdir(QStringLiteral("Help"));
            for (const char* name : {"MervexHlp_f.html", "HazemarkHlp_f.html", "MervexHlp_e.html",
                                     "HazemarkHlp_e.html"}) {
                WriteBytes(Page(name), "<!DOCTYPE html><title>Aide</title>");
            }
        }
        // The language as the program chooses it at its start, from this Settings.ini.
        Language::Use(Language::Choose(Language::Setting(), {}));
        fixture.emplace();
        EXPECT_TRUE(fixture->LogIn(QStringLiteral("Lab")));
    }
    ~HelpKeyTest() override {
        fixture.reset();
        Language::Use(Language::kFrench);
    }

    QString Page(const char* name) const {
        return folder.path() + QStringLiteral("/Help/") + QLatin1String(name);
    }
    frmMain& Main() { return *fixture->main; }

    // Presses F1 on `target` and gives back what was opened (at most one address expected).
    std::optional<QUrl> F1On(QWidget* target) {
        const qsizetype before = opened.urls.size();
        QTest::keyClick(target, Qt::Key_F1);
        EXPECT_LE(opened.urls.size(), before + 1);
        return opened.urls.size() > before ? std::optional(opened.urls.back()) : std::nullopt;
    }

    // Runs `action` as soon as the next modal loop has started, on its window (events that
    // are let through before the window shows, as while a printout is laid out, wait on).
    static void WhenModal(std::function<void(QWidget*)> action, int tries = 400) {
        QTimer::singleShot(tries == 400 ? 0 : 10, [action = std::move(action), tries] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal || tries == 0) {
                action(modal);
            } else {
                WhenModal(action, tries - 1);
            }
        });
    }

    ProgramFolder folder;
    OpenedUrls opened;
    std::optional<MainWindowFixture> fixture;
};

class ArdelOnlyHelpKeyTest : public HelpKeyTest {
protected:
    ArdelOnlyHelpKeyTest() : HelpKeyTest(kOnlyArdel60) {}
};

class EnglishHelpKeyTest : public HelpKeyTest {
protected:
    EnglishHelpKeyTest() : HelpKeyTest("[General]\r\nLanguage=en\r\n") {}
};

class EnglishArdelOnlyHelpKeyTest : public HelpKeyTest {
protected:
    EnglishArdelOnlyHelpKeyTest()
        : HelpKeyTest("[General]\r\nLanguage=en\r\nOnlyArdel60=True\r\n") {}
};

class MissingHelpKeyTest : public HelpKeyTest {
protected:
    MissingHelpKeyTest() : HelpKeyTest(QByteArray(), false) {}
};

} // namespace

TEST_F(HelpKeyTest, MainWindowOpensTheProgramHelpAndTheDocumentItsSection) {
    const std::optional<QUrl> top = F1On(&Main());
    ASSERT_TRUE(top);
    EXPECT_EQ(top->toLocalFile(), Page("MervexHlp_f.html"));
    EXPECT_FALSE(top->hasFragment());

    ASSERT_EQ(Main().Documents().size(), 1);
    const std::optional<QUrl> document = F1On(Main().Documents().front()->hfgMVals);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->toLocalFile(), Page("MervexHlp_f.html"));
    EXPECT_EQ(document->fragment(), QStringLiteral("10000"));
}

TEST_F(ArdelOnlyHelpKeyTest, ArdelOnlyModeOpensItsOwnEdition) {
    const std::optional<QUrl> top = F1On(&Main());
    ASSERT_TRUE(top);
    EXPECT_EQ(top->toLocalFile(), Page("HazemarkHlp_f.html"));
}

TEST_F(EnglishHelpKeyTest, EnglishModeOpensTheEnglishPageAtTheSameSections) {
    const std::optional<QUrl> top = F1On(&Main());
    ASSERT_TRUE(top);
    EXPECT_EQ(top->toLocalFile(), Page("MervexHlp_e.html"));
    const std::optional<QUrl> document = F1On(Main().Documents().front()->hfgMVals);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->toLocalFile(), Page("MervexHlp_e.html"));
    EXPECT_EQ(document->fragment(), QStringLiteral("10000"));
}

TEST_F(EnglishArdelOnlyHelpKeyTest, EnglishArdelOnlyModeOpensItsEnglishEdition) {
    const std::optional<QUrl> top = F1On(&Main());
    ASSERT_TRUE(top);
    EXPECT_EQ(top->toLocalFile(), Page("HazemarkHlp_e.html"));
}

TEST_F(HelpKeyTest, ModalProtocolWindowOpensItsSection) {
    std::optional<QUrl> url;
    WhenModal([&](QWidget* window) {
        auto* protocol = ModalAs<frmCalProtocolPH>(window);
        if (!protocol) {
            return;
        }
        url = F1On(protocol->cmdCancel);
        protocol->cmdCancel->click();
    });
    Main().MenuCalProtPH();
    ASSERT_TRUE(url);
    EXPECT_EQ(url->toLocalFile(), Page("MervexHlp_f.html"));
    EXPECT_EQ(url->fragment(), QStringLiteral("30010"));
}

// The editor changes its section with the calibration panel, inside the modal console.
TEST_F(HelpKeyTest, ProgramWindowsOpenTheSectionOfWhatTheyShow) {
    QStringList sections;
    auto section = [&](QWidget* target) {
        const std::optional<QUrl> url = F1On(target);
        sections << (url ? url->fragment() : QStringLiteral("none"));
    };
    WhenModal([&](QWidget* window) {
        auto* console = ModalAs<frmProgConsole>(window);
        if (!console) {
            return;
        }
        section(console->cmdCancel);
        WhenModal([&](QWidget* inner) {
            auto* editor = ModalAs<frmProgEdit>(inner);
            if (!editor) {
                return;
            }
            section(editor->cmdCancel);
            editor->cmdExtended->click();
            section(editor->cmdCancel);
            editor->cmdExtended->click();
            section(editor->cmdCancel);
            editor->cmdCancel->click();
        });
        console->cmdNewProgram->click();
        section(console->cmdCancel);
        console->cmdCancel->click();
    });
    Main().MenuProgsUserDef();
    EXPECT_EQ(sections, QStringList({"20000", "20010", "20030", "20010", "20000"}));
}

// The statistics, the graph, the archive and the print dialog and preview each open the
// section that tells how they work.
TEST_F(HelpKeyTest, TableArchiveAndPrintWindowsOpenTheirSections) {
    frmDocument& document = *Main().Documents().front();
    document.MVals().strMeter = QStringLiteral("Ardel 20 IR");
    document.MVals().strMVals = QStringLiteral("\r\n1;12/07/24;09:05;7;4.2\r\n!\r\n>");
    QStringList sections;
    auto section = [&](QWidget* target) {
        const std::optional<QUrl> url = F1On(target);
        sections << (url ? url->fragment() : QStringLiteral("none"));
    };
    document.TableTools().ShowStatistics();
    section(document.TableTools().Statistics()->cboStatColumn);
    document.MenuGraph();
    ASSERT_NE(document.Graph(), nullptr);
    section(document.Graph()->cboGraphColumn);
    Main().MenuArchive();
    section(Main().findChild<frmArchive*>(QStringLiteral("frmArchive"))->txtSerial);
    // The desktop's own print dialog and preview, closed once F1 was pressed in them.
    const auto inModal = [&] {
        WhenModal([&](QWidget* window) {
            section(window);
            window->close();
        });
    };
    fixture->ui.onPrintDialog = [&](const PrintRequest& request) {
        inModal();
        return DesktopUi().PrintDialog(request);
    };
    fixture->ui.onPrintPreview = [&](const PrintRequest& request) {
        inModal();
        DesktopUi().PrintPreview(request);
    };
    document.findChild<QAction*>(QStringLiteral("mnuFilePrintTo"))->trigger();
    document.findChild<QAction*>(QStringLiteral("mnuFilePreview"))->trigger();
    EXPECT_EQ(sections, QStringList({"10010", "10020", "10030", "10040", "10040"}));
}

TEST_F(HelpKeyTest, WithoutABrowserTheMessageNamesTheHelpFile) {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    // No xdg-open or browser to be found.
    TempDir noPrograms;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", noPrograms.path().toLocal8Bit());
    QTest::keyClick(&Main(), Qt::Key_F1);
    qputenv("PATH", path);
    ASSERT_EQ(fixture->ui.messages.size(), 1);
    EXPECT_TRUE(fixture->ui.messages[0].text.contains(Page("MervexHlp_f.html")))
        << fixture->ui.messages[0].text.toStdString();
    EXPECT_EQ(fixture->ui.messages[0].icon, MsgIcon::Information);
}

TEST_F(MissingHelpKeyTest, MissingHelpFileOpensNothing) {
    EXPECT_FALSE(F1On(&Main()));
    EXPECT_FALSE(F1On(Main().Documents().front()->hfgMVals));
    EXPECT_TRUE(fixture->ui.messages.isEmpty());
}

#include "HelpKeyTest.moc"
