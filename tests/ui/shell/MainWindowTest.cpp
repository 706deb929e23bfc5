#include "UiFixture.h"
#include "app/Language.h"
#include "app/Twips.h"
#include "app/WindowGeometry.h"
#include "ui/data/frmDocument.h"
#include "ui/shell/StartUp.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

QStringList ShownMenuTitles(const frmMain& main) {
    QStringList titles;
    for (QAction* top : main.menuBar()->actions()) {
        titles << top->text();
    }
    return titles;
}

bool ButtonEnabled(const frmMain& main, const char* key) {
    return main.ToolButton(QLatin1String(key))->isEnabled();
}

const QByteArray kOnlyArdel60 = "[General]\r\nOnlyArdel60=True\r\n";

} // namespace

TEST(MainWindow, CancelledLoginEndsTheProgramWithoutTouchingAPort) {
    MainWindowFixture f;
    bool asked = false;
    EXPECT_FALSE(StartUp(*f.main, [&](CLogin&) { asked = true; }));
    EXPECT_TRUE(asked);
    EXPECT_FALSE(f.main->isVisible());
    EXPECT_EQ(f.main->NumDocs(), 0);
    // The closing main window has released the link without it ever being used.
    EXPECT_EQ(f.link, nullptr);
    EXPECT_TRUE(f.releasedLinkCalls.isEmpty());
}

TEST(MainWindow, OfflineStartShowsHorsLigneAndNoImport) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QString()));
    EXPECT_EQ(f.main->StatusBarText(1), QStringLiteral("hors ligne"));
    for (int panel : {2, 3, 4}) {
        EXPECT_EQ(f.main->StatusBarText(panel), QString()) << panel;
    }
    EXPECT_EQ(f.main->StatusBarText(5), QStringLiteral("---"));
    EXPECT_FALSE(f.main->StatusBarText(6).isEmpty());
    EXPECT_FALSE(f.main->StatusBarText(7).isEmpty());
    ASSERT_EQ(f.main->NumDocs(), 1);
    EXPECT_FALSE(f.ShownItem("mnuImport")->isEnabled());
    EXPECT_FALSE(ButtonEnabled(*f.main, "Import"));
    for (const char* key : {"New", "Open", "Save", "Print", "Export", "UsrProgs"}) {
        EXPECT_TRUE(ButtonEnabled(*f.main, key)) << key;
    }
    EXPECT_TRUE(f.ShownItem("mnuCalProtPH")->isEnabled());
    EXPECT_TRUE(f.link->calls.isEmpty());
    EXPECT_TRUE(f.ui.messages.isEmpty())
        << f.ui.MessageTexts().join(QLatin1Char('|')).toStdString();
}

TEST(MainWindow, OnlyArdel60OfflineTakesPhAndProgramsButNotTurbidity) {
    ProgramFolder folder(kOnlyArdel60);
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    EXPECT_FALSE(f.ShownItem("mnuCalProtPH")->isEnabled());
    EXPECT_FALSE(f.ShownItem("mnuPrograms")->isEnabled());
    EXPECT_FALSE(ButtonEnabled(*f.main, "UsrProgs"));
    EXPECT_TRUE(f.ShownItem("mnuCalProtTurb")->isEnabled());
    // The main window's own menus follow the same rules.
    EXPECT_FALSE(f.main->Menus().mnuCalProtPH->isEnabled());
    EXPECT_FALSE(f.main->Menus().mnuPrograms->menuAction()->isEnabled());
    EXPECT_TRUE(f.main->Menus().mnuCalProtTurb->isEnabled());
}

TEST(MainWindow, OnlineArdelTakesPhAndProgramsButNotTurbidity) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    for (const auto& [command, value] : {std::pair{"U.400", "ok"},
                                         {"U.597", "2.50"},
                                         {"U.595", "Ardel 60 IR"},
                                         {"U.596", "A60-1"},
                                         {"U.592", "000000"}}) {
        f.link->ScriptOk(QLatin1String(command) + QStringLiteral("\r\n"), QLatin1String(value));
    }
    QString name, serial;
    ASSERT_EQ(f.main->services().device.Recognise(name, serial, false), 0);
    f.main->UpdateCommandStates(true);
    EXPECT_TRUE(f.ShownItem("mnuImport")->isEnabled());
    EXPECT_TRUE(ButtonEnabled(*f.main, "Import"));
    EXPECT_FALSE(f.ShownItem("mnuCalProtPH")->isEnabled());
    EXPECT_FALSE(f.ShownItem("mnuPrograms")->isEnabled());
    EXPECT_FALSE(ButtonEnabled(*f.main, "UsrProgs"));
    EXPECT_TRUE(f.ShownItem("mnuCalProtTurb")->isEnabled());
}

TEST(MainWindow, ClosingTheLastDocumentDisablesTheDocumentButtonsAndNewRestoresThem) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    f.ShownItem("mnuFileClose")->trigger();
    EXPECT_EQ(f.main->NumDocs(), 0);
    for (const char* key : {"Save", "Print", "Import", "Export"}) {
        EXPECT_FALSE(ButtonEnabled(*f.main, key)) << key;
    }
    // Without a document the main window's own menus show: no dataset entries.
    EXPECT_EQ(f.ShownItem("mnuFileSave"), nullptr);
    EXPECT_EQ(f.ShownItem("mnuFileNew"), f.main->Menus().mnuFileNew);
    // The tool bar's document buttons do nothing without a document.
    f.main->ToolbarButtonClick(QStringLiteral("Save"));
    EXPECT_TRUE(f.ui.messages.isEmpty());

    f.main->ToolButton(QStringLiteral("New"))->trigger();
    EXPECT_EQ(f.main->NumDocs(), 1);
    for (const char* key : {"Save", "Print", "Export"}) {
        EXPECT_TRUE(ButtonEnabled(*f.main, key)) << key;
    }
    EXPECT_FALSE(ButtonEnabled(*f.main, "Import")); // still offline
    EXPECT_NE(f.ShownItem("mnuFileSave"), nullptr);
}

TEST(MainWindow, NewReplacesTheOpenDocument) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    frmDocument* first = f.main->ActiveDocument();
    f.ShownItem("mnuFileNew")->trigger();
    ASSERT_EQ(f.main->NumDocs(), 1);
    EXPECT_NE(f.main->ActiveDocument(), first);
    EXPECT_EQ(f.main->ActiveDocument()->windowTitle(), QStringLiteral("Groupes de données[*]"));
    EXPECT_TRUE(f.main->ActiveDocument()->parentWidget()->isMaximized());
}

TEST(MainWindow, MainMenusCarryTheirTextsShortcutsAndAHiddenWindowMenu) {
    MainWindowFixture f;
    f.main->CloseAllDocuments();
    EXPECT_EQ(ShownMenuTitles(*f.main), (QStringList{"&Fichier", "&Login", "Echange de &données",
                                                     "&Programmes", "&Vue", "&Fenêtre", "&Aide"}));
    const AppMenus& m = f.main->Menus();
    EXPECT_EQ(m.mnuFileNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(m.mnuFileOpen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(m.mnuFileOpen->text(), QStringLiteral("&Ouvrir…"));
    EXPECT_TRUE(m.mnuFileBar0->isSeparator());
    EXPECT_EQ(m.mnuFileExit->text(), QStringLiteral("&Quitter"));
    EXPECT_EQ(m.mnuChangeUser->text(), QStringLiteral("Modifier l'&utilisateur"));
    EXPECT_EQ(m.mnuCalProtTurb->text(), QStringLiteral("&Turbidité"));
    EXPECT_EQ(m.mnuProgsUserDef->text(), QStringLiteral("Programmes définis par l'&utilisateur"));
    EXPECT_TRUE(m.mnuViewToolbar->isChecked());
    EXPECT_FALSE(m.mnuWindow->menuAction()->isVisible());
    EXPECT_FALSE(m.mnuWindow->menuAction()->isEnabled());
    EXPECT_EQ(m.mnuFile->actions().size(), 5) << "New, Open, recent files, -, Quit";
}

TEST(MainWindow, DocumentMenusShowInTheMenuBarWithTheirHiddenItems) {
    MainWindowFixture f;
    frmDocument* document = f.main->ActiveDocument();
    ASSERT_NE(document, nullptr);
    QList<QAction*> expected;
    for (QMenu* menu : document->Menus().TopLevel()) {
        expected << menu->menuAction();
    }
    EXPECT_EQ(f.main->menuBar()->actions(), expected);
    const AppMenus& m = document->Menus();
    QStringList file;
    for (QAction* item : m.mnuFile->actions()) {
        file << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    EXPECT_EQ(file, (QStringList{"&Nouveau", "&Ouvrir…", "Fichiers &récents", "&Fermer", "-",
                                 "&Enregistrer", "Enregistrer &sous…", "-", "Ins&taller page…",
                                 "Pré&visualisation impression", "&Imprimer…", "-",
                                 // the print dialog, preview and PDF export shown instead
                                 "&Imprimer…", "&Aperçu avant impression", "Exporter en &PDF…", "-",
                                 "&Quitter"}));
    for (QAction* hidden : {m.mnuFilePageSetup, m.mnuFilePrintPreview, m.mnuFilePrint,
                            m.mnuFileBar2, m.mnuWindow->menuAction()}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
        EXPECT_FALSE(hidden->isEnabled()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(m.mnuFileSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(m.mnuImport->text(), QStringLiteral("&Importation"));
    EXPECT_EQ(m.mnuExport->text(), QStringLiteral("&Exporter vers un tableur…"));
}

TEST(MainWindow, ToolBarAndStatusBarCarryTheirTips) {
    MainWindowFixture f;
    EXPECT_EQ(f.main->tbToolBar->objectName(), QStringLiteral("tbToolBar"));
    EXPECT_EQ(f.main->ToolButton(QStringLiteral("Export"))->toolTip(),
              QStringLiteral("Exporter les mesures dans un classeur .xlsx ou une feuille .xls "));
    EXPECT_EQ(f.main->ToolButton(QStringLiteral("UsrProgs"))->toolTip(),
              QStringLiteral("Programmes définis par l'utilisateur"));
    EXPECT_FALSE(f.main->ToolButton(QStringLiteral("Save"))->icon().isNull());
    const QStringList tips{"Interface", "Débit en bauds", "App. de mesure", "Numéro de série",
                           "Utilisateur"};
    for (int panel = 1; panel <= 5; ++panel) {
        auto* label = f.main->findChild<QWidget*>(QStringLiteral("Panel%1").arg(panel));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->toolTip(), tips[panel - 1]);
    }
    // A maximised document adds its own caption to the program name.
    EXPECT_TRUE(f.main->windowTitle().startsWith(QStringLiteral("Mervex")))
        << f.main->windowTitle().toStdString();
}

TEST(MainWindow, ToolbarToggleFromTheDocumentKeepsBothCheckMarks) {
    MainWindowFixture f;
    QAction* toggle = f.ShownItem("mnuViewToolbar");
    ASSERT_NE(toggle, f.main->Menus().mnuViewToolbar);
    toggle->trigger();
    EXPECT_FALSE(f.main->tbToolBar->isVisibleTo(f.main.get()));
    EXPECT_FALSE(f.main->ToolbarIsChecked());
    EXPECT_FALSE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(f.main->tbToolBar->isVisibleTo(f.main.get()));
    EXPECT_TRUE(toggle->isChecked());
}

TEST(MainWindow, BusyPointerOnTheMainWindowAndEveryDocument) {
    MainWindowFixture f;
    frmDocument* document = f.main->ActiveDocument();
    f.main->SetMousePointer(11);
    EXPECT_EQ(f.main->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(document->cursor().shape(), Qt::WaitCursor);
    f.main->SetMousePointer(0);
    EXPECT_EQ(f.main->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(document->cursor().shape(), Qt::ArrowCursor);
}

TEST(MainWindow, OpenAsksForAnExistingCsvFileAndCancelKeepsTheDocument) {
    MainWindowFixture f;
    frmDocument* document = f.main->ActiveDocument();
    f.main->ToolButton(QStringLiteral("Open"))->trigger();
    ASSERT_EQ(f.ui.dialogs.size(), 1);
    const FileDialogRequest& r = f.ui.dialogs[0].request;
    EXPECT_FALSE(f.ui.dialogs[0].save);
    EXPECT_EQ(r.title, QStringLiteral("Ouvrir"));
    EXPECT_EQ(r.kind, FileKind::Dataset);
    EXPECT_EQ(r.filter,
              QStringLiteral("Fichier CSV (séparé par des points-virgules) (*.csv)|*.csv"));
    EXPECT_TRUE(r.fileMustExist);
    EXPECT_TRUE(r.hideReadOnly);
    EXPECT_EQ(f.main->ActiveDocument(), document);
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(MainWindow, ChangeUserKeepsTheNameWhenCancelledOrEmpty) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
    f.ui.inputAnswers = {std::nullopt, QString(), QStringLiteral("a;very;long;user;name")};
    f.main->MenuChangeUser();
    f.main->MenuChangeUser();
    EXPECT_EQ(f.main->StatusBarText(5), QStringLiteral("anna"));
    f.main->MenuChangeUser();
    EXPECT_EQ(f.main->services().login.UserName(), QStringLiteral("a.very.long.use"));
    EXPECT_EQ(f.main->StatusBarText(5), QStringLiteral("a.very.long.use"));
    EXPECT_EQ(f.ui.inputPrompts, (QStringList(3, QStringLiteral("Utilisateur:"))));
    // The field starts with the name in use, to be corrected rather than typed again.
    EXPECT_EQ(f.ui.inputDefaults, (QStringList(3, QStringLiteral("anna"))));
}

class Placement : public ::testing::Test {
protected:
    void SetUp() override { QSettings().remove(QStringLiteral("Settings")); }
    void TearDown() override { QSettings().remove(QStringLiteral("Settings")); }
    static QString Key(const char* key) {
        return QSettings().value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
    }
};

TEST_F(Placement, RestoredInTwipsAndStoredAtExit) {
    QSettings settings;
    settings.setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("1440"));
    settings.setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("720"));
    settings.setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("9000"));
    settings.setValue(QStringLiteral("Settings/MainHeight"), QStringLiteral("7200"));
    MainWindowFixture f;
    const double dpiX = f.main->logicalDpiX();
    const double dpiY = f.main->logicalDpiY();
    EXPECT_EQ(f.main->x(), TwipsToPixels(1440, dpiX));
    EXPECT_EQ(f.main->y(), TwipsToPixels(720, dpiY));
    EXPECT_EQ(f.main->width(), TwipsToPixels(9000, dpiX));
    EXPECT_EQ(f.main->height(), TwipsToPixels(7200, dpiY));
    f.main->resize(TwipsToPixels(6000, dpiX), TwipsToPixels(5000, dpiY));
    ASSERT_TRUE(f.main->close());
    EXPECT_EQ(Key("MainLeft"), QStringLiteral("1440"));
    EXPECT_EQ(Key("MainWidth"), QString::number(PixelsToTwips(f.main->width(), dpiX)));
    EXPECT_EQ(Key("MainHeight"), QString::number(PixelsToTwips(f.main->height(), dpiY)));
}

TEST_F(Placement, FirstStartFillsMostOfTheScreenAndMinimisedExitKeepsTheStoredPlace) {
    MainWindowFixture f;
    // Nothing stored: the first-start size and place of the primary screen, not the
    // designed 6500 twips (433 px), which hid menus behind "»" and cut every status panel.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(QRect(f.main->pos(), f.main->size()), WindowGeometry::FirstStart(screen));
    EXPECT_GE(f.main->width(), std::min(1000, screen.width()));
    EXPECT_GE(f.main->height(), std::min(700, screen.height()));
    QSettings().setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("8000"));
    f.main->showMinimized();
    ASSERT_TRUE(f.main->close());
    EXPECT_EQ(Key("MainWidth"), QStringLiteral("8000"));
    EXPECT_EQ(Key("MainLeft"), QString());
}

TEST_F(Placement, AStoredPlaceOutsideEveryScreenIsBroughtBack) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    QSettings settings;
    // Left on a screen to the right that is no longer there.
    settings.setValue(QStringLiteral("Settings/MainLeft"),
                      QString::number(PixelsToTwips(screen.right() + 500, dpi)));
    settings.setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("720"));
    settings.setValue(QStringLiteral("Settings/MainWidth"), QStringLiteral("6000"));
    settings.setValue(QStringLiteral("Settings/MainHeight"), QStringLiteral("4500"));
    MainWindowFixture f;
    const QRect placed(f.main->pos(), f.main->size());
    EXPECT_TRUE(screen.contains(placed)) << placed.x() << "," << placed.y();
    EXPECT_EQ(placed.right(), screen.right());
    EXPECT_EQ(f.main->y(), TwipsToPixels(720, f.main->logicalDpiY()));
    EXPECT_EQ(f.main->width(), TwipsToPixels(6000, f.main->logicalDpiX()));
}

// Realistic long panel texts fit whole in the narrowest first-start window.
TEST(MainWindow, StatusPanelsShowTheirWholeTextsAtTheFirstStartSize) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("Marie-Christine")));
    f.main->SetStatusBarCOM(QStringLiteral("/dev/serial/by-id/usb-FTDI"), QStringLiteral("19200"));
    f.main->SetStatusBarDevice(QStringLiteral("Zentravox Turb"), QStringLiteral("0815342-2024"));
    f.main->resize(WindowGeometry::FirstStart(QRect(0, 0, 1280, 800)).size());
    f.main->show();
    QCoreApplication::processEvents();
    const QLabel* previous = nullptr;
    for (int panel = 1; panel <= 7; ++panel) {
        const auto* label =
            f.main->statusBar()->findChild<QLabel*>(QStringLiteral("Panel%1").arg(panel));
        ASSERT_NE(label, nullptr) << panel;
        ASSERT_FALSE(label->text().isEmpty()) << panel;
        const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_GE(label->contentsRect().width(), textWidth)
            << panel << " " << label->text().toStdString();
        // Shown, in the designed order.
        EXPECT_TRUE(label->isVisible()) << panel;
        if (previous) {
            EXPECT_GT(label->x(), previous->x()) << panel;
        }
        previous = label;
    }
}

TEST(MainWindow, AMissingIconIsReportedButTheProgramStillLoads) {
    ProgramFolder folder("[About]\r\nAppName=Labo\r\n", false);
    MainWindowFixture f;
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.contains(QStringLiteral("Main.ico")));
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Erreur"));
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(f.main->NumDocs(), 1);
    EXPECT_TRUE(f.LogIn(QStringLiteral("anna")));
    EXPECT_EQ(f.main->StatusBarText(1), QStringLiteral("hors ligne"));
}

// In both languages every menu (the document's and the table's context menu too) and the
// menu bar give each entry a text and an access key of its own, and an entry that asks for
// more ends in "…", never "...".
TEST(MainWindow, MenusHaveDistinctAccessKeysAndOneKindOfEllipsis) {
    const auto expectOwnTextsAndKeys = [](const QString& language, const QString& menuName,
                                          const QList<QAction*>& actions) {
        QMap<QKeySequence, QString> keys;
        QSet<QString> texts;
        for (const QAction* action : actions) {
            if (action->isSeparator() || !action->isVisible()) {
                continue;
            }
            const std::string where = language.toStdString() + " " + menuName.toStdString() + ": " +
                                      action->text().toStdString();
            EXPECT_FALSE(action->text().contains(QLatin1String("..."))) << where;
            EXPECT_FALSE(texts.contains(action->text())) << where;
            texts.insert(action->text());
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            EXPECT_FALSE(key.isEmpty()) << where;
            EXPECT_FALSE(!key.isEmpty() && keys.contains(key))
                << where << " and " << keys.value(key).toStdString();
            keys.insert(key, action->text());
        }
        return !keys.isEmpty();
    };
    for (const QString& language : {Language::kEnglish, Language::kFrench}) {
        Language::Use(language);
        MainWindowFixture f;
        ASSERT_TRUE(f.LogIn(QStringLiteral("anna")));
        int menus = 0;
        for (const QMenu* menu : f.main->findChildren<QMenu*>()) {
            // e.g. the window menu while no document is open
            if (menu->menuAction()->isVisible() &&
                expectOwnTextsAndKeys(language, menu->objectName(), menu->actions())) {
                ++menus;
            }
        }
        EXPECT_GE(menus, 7) << language.toStdString();
        expectOwnTextsAndKeys(language, QStringLiteral("menu bar"), f.main->menuBar()->actions());
    }
    Language::Use(Language::kFrench);
}
