#include "DialogDriver.h"
#include "UiFixture.h"
#include "app/DateText.h"
#include "app/Language.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Twips.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveTarget.h"
#include "archive/QcStore.h"
#include "meter/RecordLayout.h"
#include "support/LockedFolder.h"
#include "support/PostgresSession.h"
#include "support/PostgresTest.h"
#include "support/TempDir.h"
#include "ui/app/frmWait.h"
#include "ui/archive/ArchiveJournal.h"
#include "ui/archive/AuditTrailModel.h"
#include "ui/archive/ImportDetails.h"
#include "ui/archive/frmArchive.h"
#include "ui/data/DatasetFilterBar.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"
#include "ui/dialogs/frmReason.h"
#include "ui/shell/WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kRecords =
    QStringLiteral("1;07.12.26;09:05:03;17;101;PO4;AR;1:1;0.42;mg/l;OK;;;;01.12.26;08:00\r\n"
                   "2;08.12.26;09:06:10;18;102;PO4;;1:1;1.25;mg/l;High;;;;01.12.26;08:00");
const QString kTwoMore =
    QStringLiteral("\r\n3;09.12.26;10:00:00;19;101;PO4;;1:1;0.07;mg/l;OK;;;;01.12.26;08:00"
                   "\r\n4;09.12.26;11:00:00;20;101;PO4;;1:1;2.50;mg/l;OK;;;;01.12.26;08:00");
constexpr int kValue1 = 8;

// The runner's wait dialog while it is shown.
frmWait* ShownWait() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* wait = qobject_cast<frmWait*>(top); wait && wait->isVisible()) {
            return wait;
        }
    }
    return nullptr;
}
// Runs `operation` while the user, once the wait dialog has shown for a few turns of
// the event loop, does `stop`; true when that happened (the program kept going while
// it waited).
bool StoppedWhileWaiting(const std::function<void()>& operation,
                         const std::function<void(frmWait&)>& stop) {
    int turns = 0;
    bool stopped = false;
    QTimer user;
    user.setInterval(10);
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (frmWait* wait = ShownWait(); wait && ++turns == 5) {
            stopped = true;
            stop(*wait);
        }
    });
    user.start();
    operation();
    return stopped;
}

// Every test archives into its own per-user data folder.
class ArchiveWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        QSettings().remove(QStringLiteral("Settings/ArchiveSearch")); // no last search
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        f.RecogniseMeter(QStringLiteral("Zentravox"));
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_saved); }

    void Import(const QString& more = QString()) {
        f.link->ScriptOk(QStringLiteral("U.581\r\n"), kRecords + more);
        f.main->ActiveDocument()->MenuImport();
    }
    // The active archive window, its table holding four records and the focus.
    frmArchive& SearchFour() {
        Import(kTwoMore);
        f.ShownItem("mnuArchive")->trigger();
        auto& window = *f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
        window.Search();
        // The wait dialog came and went: the window takes the focus back, as the user would.
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        window.grdRecords->setFocus();
        return window;
    }
    // The record numbers as the table shows them, e.g. "3124".
    static QString Shown(frmArchive& window) {
        QString numbers;
        for (QStringView line : window.TableTools().Proxy().ShownLines()) {
            numbers += line.first(1);
        }
        return numbers;
    }
    // Whether dropping the document's dataset would ask the save question now; a question
    // is cancelled, so nothing changes.
    bool Asks(frmDocument& document) {
        const qsizetype before = ui().messages.size();
        ui().messageAnswers.push_back(MsgResult::Cancel);
        document.MayDropDataset();
        const bool asked = ui().messages.size() > before;
        ui().messageAnswers.clear();
        return asked;
    }
    // The titles' marker (the document's, and the main window's that shows its name) and
    // the save question tell the same; returns the marker.
    bool MarkedAndAsked(frmDocument& document) {
        const bool marked = document.isWindowModified();
        EXPECT_TRUE(f.main->windowTitle().contains(QStringLiteral("[*]")));
        EXPECT_EQ(f.main->isWindowModified(), marked);
        EXPECT_EQ(document.Modified(), marked);
        EXPECT_EQ(Asks(document), marked);
        return marked;
    }
    // Another program's connection to the archive file, holding `begin`'s lock until it
    // goes; `Release` lets go.
    struct LockHolder {
        explicit LockHolder(const QStringList& statements) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
            db.setDatabaseName(ArchiveTarget::DefaultFile().path);
            EXPECT_TRUE(db.open());
            for (const QString& sql : statements) {
                EXPECT_TRUE(QSqlQuery(db).exec(sql)) << sql.toStdString();
            }
        }
        ~LockHolder() { Release(); }
        void Release() {
            if (QSqlDatabase::contains(kName)) {
                QSqlDatabase::database(kName).close();
                QSqlDatabase::removeDatabase(kName);
            }
        }
        static constexpr const char* kName = "another-program";
    };
    // Whether every connection the window's work opened was closed (an abandoned one once
    // its database let go), within `ms`.
    static bool ConnectionsClosedWithin(int ms) {
        QDeadlineTimer deadline(ms);
        while (!QSqlDatabase::connectionNames().isEmpty() && !deadline.hasExpired()) {
            QTest::qWait(20);
        }
        return QSqlDatabase::connectionNames().isEmpty();
    }
    // The records of view rows `rows` selected, the first current.
    static void Select(frmArchive& window, const QList<int>& rows) {
        QItemSelectionModel& selection = *window.grdRecords->selectionModel();
        selection.clear();
        for (int row : rows) {
            selection.select(window.TableTools().Proxy().index(row, 0),
                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        selection.setCurrentIndex(window.TableTools().Proxy().index(rows.value(0), 0),
                                  QItemSelectionModel::NoUpdate);
    }
    // The reason dialog, answered with `text` typed and Enter (Escape when empty).
    static void Answer(DialogDriver& dialogs, const QString& text) {
        dialogs.Expect<frmReason>([text](frmReason& reason) {
            QTest::keyClicks(reason.txtReason, text);
            QTest::keyClick(reason.txtReason, text.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        });
    }
    // The Journal tab's rows of one action: action label, object, change, reason, who.
    static QList<QStringList> Journal(frmArchive& window, const char* action) {
        window.tabArchive->setCurrentWidget(window.tabJournal);
        const AuditTrailModel& model = window.tabJournal->Model();
        QList<QStringList> rows;
        for (int r = 0; r < model.rowCount(); ++r) {
            if (model.Events().at(r).action == QLatin1String(action)) {
                rows << QStringList{model.Cell(r, 1), model.Cell(r, 2), model.Cell(r, 3),
                                    model.Cell(r, 4), model.Cell(r, 5)};
            }
        }
        window.tabArchive->setCurrentIndex(0);
        return rows;
    }
    ScriptedUi& ui() { return f.ui; }
    QString Note() {
        auto* note = f.main->statusBar()->findChild<QLabel*>(QStringLiteral("lblStatusNote"));
        return note ? note->text() : QString();
    }

    TempDir dir;
    MainWindowFixture f;

private:
    QByteArray m_saved;
};

TEST_F(ArchiveWindow, AnImportIsArchivedOnceAndArchiverCountsWhatWasThere) {
    Import();
    EXPECT_EQ(Note(), LoadResString(1650).arg(2).arg(0));
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
    f.ShownItem("mnuArchiveAdd")->trigger();
    EXPECT_EQ(Note(), LoadResString(1650).arg(0).arg(2));
}

TEST_F(ArchiveWindow, ARecordWithANulCharacterIsNotArchivedAndTheMessageNamesIt) {
    QString broken = kTwoMore;
    broken[5] = QChar(0);
    Import(broken);
    EXPECT_EQ(Note(), LoadResString(1650).arg(3).arg(0));
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, LoadResString(1694).arg(1) + QStringLiteral("\r\n") +
                                         RunTimeText(RtError::ArchiveNulByte).arg(3));
}

TEST_F(ArchiveWindow, AnArchiveThatCannotBeWrittenCostsTheImportNothing) {
    const QString path = ArchiveTarget::DefaultFile().path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteBytes(path, QByteArray(4096, 'x'));
    Import();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith(LoadResString(1670)));
    EXPECT_TRUE(f.ui.messages[0].text.contains(QStringLiteral("endommagée")));
    EXPECT_EQ(f.main->ActiveDocument()->GridModel().rowCount(), 2);
    EXPECT_TRUE(Note().isEmpty());
    // Once the archive is sound again, "Archiver" adds what the document holds.
    QFile::remove(path);
    f.ShownItem("mnuArchiveAdd")->trigger();
    EXPECT_EQ(Note(), LoadResString(1650).arg(2).arg(0));
}

// Another program holds the archive's write lock: archiving waits off the window's thread,
// the program goes on (its event loop runs, the wait dialog shows), and Cancel returns at
// once; the abandoned work adds nothing when the lock goes, and closes its connection.
TEST_F(ArchiveWindow, AnotherProgramsLockLeavesTheProgramGoingAndCancelReturnsAtOnce) {
    Import();
    LockHolder other({QStringLiteral("BEGIN IMMEDIATE")});
    f.ui.messageAnswers.push_back(MsgResult::No); // the first import is archived already
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(StoppedWhileWaiting([&] { Import(kTwoMore); },
                                    [](frmWait& wait) { wait.cmdCancel->click(); }));
    EXPECT_LT(clock.elapsed(), 5000); // the database would wait 15 s for the lock
    EXPECT_EQ(Note(), LoadResString(1680));
    EXPECT_EQ(f.ui.messages.size(), 1) << f.ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(f.main->ActiveDocument()->GridModel().rowCount(), 4);
    other.Release();
    EXPECT_TRUE(ConnectionsClosedWithin(20000));
    f.ShownItem("mnuArchiveAdd")->trigger();
    EXPECT_EQ(Note(), LoadResString(1650).arg(2).arg(2));
}

// A search waiting on another program's exclusive lock: closing the window stops waiting at
// once and the window goes, without a message or a crash; the search's connection closes
// once the lock goes.
TEST_F(ArchiveWindow, ClosingTheWindowWhileItsSearchWaitsReturnsAtOnce) {
    Import();
    f.ShownItem("mnuArchive")->trigger();
    QPointer<frmArchive> window = f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    ASSERT_FALSE(window.isNull());
    LockHolder other(
        {QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"), QStringLiteral("BEGIN EXCLUSIVE")});
    QElapsedTimer clock;
    clock.start();
    bool found = true;
    EXPECT_TRUE(
        StoppedWhileWaiting([&] { found = window->Search(); }, [&](frmWait&) { window->close(); }));
    EXPECT_FALSE(found);
    EXPECT_LT(clock.elapsed(), 5000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
    other.Release();
    EXPECT_TRUE(ConnectionsClosedWithin(20000));
}

// More records than the table holds: it shows the first ones, says so and offers the export,
// which writes every record found; opening what it holds as a document asks first.
TEST_F(ArchiveWindow, AResultBeyondTheTablesLimitIsSaidAndCanBeExported) {
    Import(kTwoMore);
    f.ShownItem("mnuArchive")->trigger();
    auto& window = *f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    window.SetMaxRows(3);
    const QString path = dir.file(QStringLiteral("found.csv"));
    f.ui.messageAnswers = {MsgResult::Yes, MsgResult::Ok};
    f.ui.dialogAnswers = {path};
    ASSERT_TRUE(window.Search());
    EXPECT_EQ(window.lblCount->text(), LoadResString(1669).arg(4));
    EXPECT_EQ(window.Model()->rowCount(), 3);
    ASSERT_EQ(f.ui.messages.size(), 2) << f.ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(f.ui.messages[0].text, LoadResString(1682).arg(4).arg(3));
    EXPECT_EQ(f.ui.messages[1].text,
              LoadResString(1692).arg(4).arg(QDir::toNativeSeparators(path)));
    const QList<QByteArray> lines = ReadBytes(path).split('\n');
    ASSERT_EQ(lines.size(), 6); // the titles, four records, the last line's end
    EXPECT_TRUE(lines[4].startsWith("Zentravox,SN-77,claire,4,")) << lines[4].toStdString();
    // A document of part of a result asks first; No opens nothing.
    frmDocument* before = f.main->ActiveDocument();
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::No};
    window.cmdOpenDocument->click();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, LoadResString(1685).arg(3).arg(4));
    EXPECT_EQ(f.main->ActiveDocument(), before);
}

// Program 101 between 0.1 and 2.0: records 3 (0.07) and 4 (2.50) are beyond, coloured as
// in a document, and "hors limite" shows them alone; the search reads the limits.
TEST_F(ArchiveWindow, ValuesBeyondTheLimitsAreColouredAndFiltered) {
    Import(kTwoMore);
    {
        ArchiveDatabase db;
        ASSERT_TRUE(db.Open(ArchiveSettings::Read(f.main->services().ini)));
        LimitValue limit;
        limit.program = 101;
        limit.lower = 0.1;
        limit.upper = 2.0;
        limit.validFrom = QDate(2026, 12, 1);
        ASSERT_TRUE(QcStore(db).AddLimit(limit));
    }
    f.ShownItem("mnuArchive")->trigger();
    auto& window = *f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    ASSERT_TRUE(window.Search());
    MValTableProxy& proxy = window.TableTools().Proxy();
    const auto beyond = [&](int row) {
        return proxy.index(row, kValue1).data(Qt::BackgroundRole) ==
               QVariant(MValTableProxy::BeyondLimitBackground());
    };
    ASSERT_EQ(Shown(window), QStringLiteral("1234"));
    EXPECT_EQ((std::vector<bool>{beyond(0), beyond(1), beyond(2), beyond(3)}),
              (std::vector<bool>{false, false, true, true}));
    window.TableTools().Find();
    window.TableTools().FilterBar().cboState->setCurrentIndex(3);
    EXPECT_EQ(Shown(window), QStringLiteral("34"));
}

// The window opens centred on the program's window and runs the search the user ran last,
// kept in the user's settings; a program that is no number is said, not ignored.
TEST_F(ArchiveWindow, OpensCentredWithTheLastSearchAndRefusesAProgramThatIsNoNumber) {
    Import(kTwoMore);
    f.ShownItem("mnuArchive")->trigger();
    auto* window = f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    const QPoint offset = window->frameGeometry().center() - f.main->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 20) << offset.x() << "," << offset.y();
    EXPECT_TRUE(window->lblCount->text().isEmpty()); // nothing searched yet
    window->txtProgram->setText(QStringLiteral("303x"));
    EXPECT_FALSE(window->Search());
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, LoadResString(1689).arg(QStringLiteral("303x")));
    EXPECT_TRUE(window->lblCount->text().isEmpty());
    window->txtProgram->setText(QStringLiteral("101"));
    ASSERT_TRUE(window->Search());
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(f.main->findChild<frmArchive*>(QStringLiteral("frmArchive")), nullptr);
    f.ShownItem("mnuArchive")->trigger();
    window = f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    EXPECT_EQ(window->txtProgram->text(), QStringLiteral("101"));
    EXPECT_EQ(window->lblCount->text(), LoadResString(1669).arg(3));
    EXPECT_EQ(window->Model()->rowCount(), 3);
}

TEST_F(ArchiveWindow, FindsRecordsAndOpensThemAsADocument) {
    Import();
    f.ShownItem("mnuArchive")->trigger();
    auto* window = f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    window->txtProgram->setText(QStringLiteral("102"));
    QTest::keyClick(window->txtProgram, Qt::Key_Return);
    EXPECT_EQ(window->lblCount->text(), LoadResString(1669).arg(1));
    EXPECT_EQ(window->cboModel->currentText(), QStringLiteral("Zentravox"));
    ASSERT_EQ(window->Model()->rowCount(), 1);
    EXPECT_EQ(window->Model()->Cell(0, 3), QStringLiteral("18"));
    // Beside the record's own fields: its meter's serial number and who imported it.
    EXPECT_EQ(window->Model()->Cell(0, 16), QStringLiteral("SN-77"));
    EXPECT_EQ(window->Model()->Cell(0, 17), QStringLiteral("claire"));
    // The import shown before is not saved: kept at first, then dropped.
    frmDocument* imported = f.main->ActiveDocument();
    f.ui.messageAnswers.push_back(MsgResult::Cancel);
    window->cmdOpenDocument->click();
    ASSERT_EQ(f.main->ActiveDocument(), imported);
    EXPECT_EQ(imported->GridModel().rowCount(), 2);
    f.ui.messageAnswers.push_back(MsgResult::No);
    window->cmdOpenDocument->click();
    frmDocument* opened = f.main->ActiveDocument();
    EXPECT_EQ(opened->MVals().strMeter, QStringLiteral("Zentravox"));
    EXPECT_EQ(opened->GridModel().Cell(0, 0), QStringLiteral("2"));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ArchiveWindow, TitleClicksSortTheRecordsUpAndDown) {
    frmArchive& window = SearchFour();
    QHeaderView* header = window.grdRecords->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(kValue1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(Shown(window), QStringLiteral("3124"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(Shown(window), QStringLiteral("4213"));
}

TEST_F(ArchiveWindow, CtrlCCopiesTheSelectedRowsWithTheirTitles) {
    frmArchive& window = SearchFour();
    window.grdRecords->selectRow(1);
    QTest::keyClick(window.grdRecords, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("No\tDate\tHeure")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2\t08.12.26")));
}

TEST_F(ArchiveWindow, CtrlFFiltersAndCountsEscapeShowsAllThenCloses) {
    frmArchive& window = SearchFour();
    QTest::keyClick(window.grdRecords, Qt::Key_F, Qt::ControlModifier);
    window.TableTools().FilterBar().cboProgram->setCurrentIndex(1); // program 101
    EXPECT_EQ(Shown(window), QStringLiteral("134"));
    EXPECT_EQ(window.TableTools().CountLabel().text(), QStringLiteral("3 de 4 enregistrements"));
    QTest::keyClick(window.grdRecords, Qt::Key_Escape);
    EXPECT_EQ(Shown(window), QStringLiteral("1234"));
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(window.grdRecords, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ArchiveWindow, OpensTheFilteredRecordsInTheArchivesOrderNotTheSortedOne) {
    frmArchive& window = SearchFour();
    window.grdRecords->sortByColumn(kValue1, Qt::DescendingOrder);
    window.TableTools().Find();
    window.TableTools().FilterBar().cboProgram->setCurrentIndex(1); // program 101
    f.ui.messageAnswers.push_back(MsgResult::No);                   // the unsaved import goes
    window.cmdOpenDocument->click();
    const MValTableModel& opened = f.main->ActiveDocument()->GridModel();
    ASSERT_EQ(opened.rowCount(), 3);
    EXPECT_EQ(opened.Cell(0, 0) + opened.Cell(1, 0) + opened.Cell(2, 0), QStringLiteral("134"));
}

// The filter bar carries its captions into every window it is placed in, in both languages:
// each label and box has its text and an access key of its own, apart from the menu bar's.
TEST(FilterBar, ShowsItsCaptionsInTheDocumentAndTheArchiveInBothLanguages) {
    for (const QString& language : {Language::kFrench, Language::kEnglish}) {
        Language::Use(language);
        MainWindowFixture f;
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        f.ShownItem("mnuArchive")->trigger();
        auto* archive = f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
        ASSERT_NE(archive, nullptr);
        QList<QKeySequence> menuKeys;
        for (const QAction* top : f.main->menuBar()->actions()) {
            if (top->isVisible()) {
                menuKeys << QKeySequence::mnemonic(top->text());
            }
        }
        for (DatasetFilterBar* bar : {&f.main->ActiveDocument()->TableTools().FilterBar(),
                                      &archive->TableTools().FilterBar()}) {
            QStringList captions;
            for (const QLabel* label : bar->findChildren<QLabel*>()) {
                captions << label->text();
            }
            for (const QCheckBox* box : bar->findChildren<QCheckBox*>()) {
                captions << box->text();
            }
            ASSERT_EQ(captions.size(), 5);
            QList<QKeySequence> keys = menuKeys;
            for (const QString& caption : captions) {
                const std::string where = language.toStdString() + ": " + caption.toStdString();
                EXPECT_FALSE(caption.isEmpty()) << where;
                const QKeySequence key = QKeySequence::mnemonic(caption);
                EXPECT_FALSE(key.isEmpty()) << where;
                EXPECT_FALSE(keys.contains(key)) << where;
                keys << key;
            }
            // The labels name their fields for a screen reader too.
            EXPECT_FALSE(bar->txtFind->accessibleName().isEmpty()) << language.toStdString();
        }
    }
    Language::Use(Language::kFrench);
}

// Records read back from the archive are no import: the header says which archive, the
// period and count and every meter; the document is unmodified until the user changes it,
// and its title's marker and the save question agree at every step.
TEST_F(ArchiveWindow, OpenedRecordsSayWhereTheyComeFromAndAreUnmodifiedUntilChanged) {
    Import();
    f.RecogniseMeter(QStringLiteral("Zentravox"), QStringLiteral("SN-88"));
    f.ui.messageAnswers.push_back(MsgResult::No); // the first import is archived already
    f.link->ScriptOk(QStringLiteral("U.581\r\n"), kTwoMore.mid(2));
    f.main->ActiveDocument()->MenuImport();
    EXPECT_TRUE(MarkedAndAsked(*f.main->ActiveDocument()));
    f.ShownItem("mnuArchive")->trigger();
    auto& window = *f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    ASSERT_TRUE(window.Search());
    // The archive window keeps the focus from here on, as when the user works in it.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    f.ui.messageAnswers.push_back(MsgResult::No);
    window.cmdOpenDocument->click();
    frmDocument& opened = *f.main->ActiveDocument();
    EXPECT_EQ(opened.fraHeader->title(),
              LoadResString(1640).arg(ArchiveTarget::DefaultFile().Display()));
    EXPECT_EQ(opened.lblSerNoValue->text(), QStringLiteral("SN-77, SN-88"));
    EXPECT_EQ(opened.lblUserValue->text(), QStringLiteral("claire"));
    EXPECT_EQ(opened.lblPCDate->text(), LoadResString(1641));
    EXPECT_EQ(opened.lblPCDateValue->text(), QStringLiteral("07/12/2026 \u2013 09/12/2026"));
    EXPECT_EQ(opened.lblPCTime->text(), LoadResString(1642));
    EXPECT_EQ(opened.lblPCTimeValue->text(), QStringLiteral("4"));
    EXPECT_FALSE(MarkedAndAsked(opened));

    // Saved, the file names both meters and the last measurement, not today.
    const QString path = dir.file(QStringLiteral("extrait.csv"));
    f.ui.dialogAnswers = {path};
    opened.MenuFileSave();
    EXPECT_TRUE(ReadBytes(path).startsWith(
        "METER;S/N;USER;DATE;TIME\r\nZentravox;SN-77, SN-88;claire;12/9/2026;11:0:0\r\n"));
    EXPECT_FALSE(MarkedAndAsked(opened));

    // The next import replaces it without a question and is an import again.
    f.ui.Clear();
    window.cmdOpenDocument->click();
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
    frmDocument& again = *f.main->ActiveDocument();
    Import();
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(again.fraHeader->title(), LoadResString(1205));
    EXPECT_EQ(again.lblPCDate->text(), LoadResString(1049));
    EXPECT_EQ(again.lblSerNoValue->text(), QStringLiteral("SN-88"));
    EXPECT_TRUE(MarkedAndAsked(again));

    // A file opened in its place is unmodified; an import into it is a change again.
    f.ui.messageAnswers.push_back(MsgResult::No);
    f.main->OpenDocument(path);
    frmDocument& file = *f.main->ActiveDocument();
    EXPECT_FALSE(MarkedAndAsked(file));
    Import();
    EXPECT_TRUE(MarkedAndAsked(file));
}

// Every date field shows the one form of the program's language with the year's four
// digits, whatever the desktop: the archive's criteria (which were ISO) and both filter
// bars, in French and in English.
TEST_F(ArchiveWindow, DateFieldsShowTheLanguagesOneFormWithFourDigitYears) {
    const QDate day(2026, 12, 7);
    const QLocale desktop = QLocale();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const auto& [language, text] : {std::pair{Language::kFrench, "07/12/2026"},
                                         std::pair{Language::kEnglish, "7 Dec 2026"}}) {
        Language::Use(language);
        frmArchive window(*f.main, *f.main, *f.main, ArchiveServicesOf(f.main->services()));
        DatasetFilterBar documentBar(nullptr);
        for (QDateEdit* field :
             {window.dtpFrom, window.dtpTo, window.TableTools().FilterBar().dtpFrom,
              window.TableTools().FilterBar().dtpTo, documentBar.dtpFrom, documentBar.dtpTo}) {
            field->setDate(day);
            EXPECT_EQ(field->text(), QString::fromLatin1(text))
                << language.toStdString() << " " << field->objectName().toStdString();
        }
    }
    Language::Use(Language::kFrench);
    QLocale::setDefault(desktop);
}

// The Journal tab reads the audit trail as it first comes into view: the import archived,
// when in the user's time, and who (login name, account, host); a period of days before
// the import shows nothing, and the rows come back with the period left open.
TEST_F(ArchiveWindow, TheJournalTabShowsWhoArchivedAnImport) {
    Import();
    f.ShownItem("mnuArchive")->trigger();
    auto& window = *f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    const AuditTrailModel& journal = window.tabJournal->Model();
    EXPECT_EQ(journal.rowCount(), 0);
    window.tabArchive->setCurrentWidget(window.tabJournal);
    const int all = journal.rowCount();
    int row = 0;
    while (row < all && journal.Events().at(row).action != ArchiveTrail::kImportArchived) {
        ++row;
    }
    ASSERT_LT(row, all);
    EXPECT_EQ(journal.Cell(row, 1), LoadResString(1871));
    EXPECT_TRUE(journal.Cell(row, 0).startsWith(ShortDateText(QDate::currentDate())));
    const QString who = journal.Cell(row, 5);
    EXPECT_TRUE(who.startsWith(QStringLiteral("claire, ")) &&
                who.contains(QSysInfo::machineHostName()))
        << who.toStdString();
    window.tabJournal->chkJournalPeriod->setChecked(true);
    window.tabJournal->dtpJournalFrom->setDate(QDate::currentDate().addDays(-9));
    window.tabJournal->dtpJournalTo->setDate(QDate::currentDate().addDays(-1));
    window.tabJournal->cmdJournalShow->click();
    EXPECT_EQ(journal.rowCount(), 0);
    window.tabJournal->chkJournalPeriod->setChecked(false);
    QTest::keyClick(window.tabJournal->cmdJournalShow, Qt::Key_Space);
    EXPECT_EQ(journal.rowCount(), all);
}

// Two selected records set aside with a reason leave the search; shown again they are
// greyed and struck through, the reason and who in their tip, and the Journal tab lists
// both; restored with a reason, they count again. No reason, no change.
TEST_F(ArchiveWindow, InvalidatedRecordsLeaveTheSearchShowGreyedAndAreInTheJournal) {
    frmArchive& window = SearchFour();
    Select(window, {0, 2});
    DialogDriver dialogs;
    Answer(dialogs, QString());
    window.cmdInvalidate->click();
    EXPECT_EQ(Shown(window), QStringLiteral("1234"));
    Answer(dialogs, QStringLiteral("blanc faux"));
    window.cmdInvalidate->click();
    EXPECT_EQ(dialogs.Handled(), 2);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(Shown(window), QStringLiteral("24"));
    EXPECT_EQ(window.lblCount->text(), LoadResString(1669).arg(2));

    window.chkShowInvalid->setChecked(true); // searches again
    ASSERT_EQ(Shown(window), QStringLiteral("1234"));
    const MValTableProxy& proxy = window.TableTools().Proxy();
    for (int row : {0, 1, 2}) {
        const QModelIndex cell = proxy.index(row, kValue1);
        const bool invalid = row != 1;
        EXPECT_EQ(cell.data(Qt::ForegroundRole) == QVariant(MValTableProxy::InvalidForeground()),
                  invalid);
        EXPECT_EQ(cell.data(Qt::FontRole).value<QFont>().strikeOut(), invalid);
        const QString tip = cell.data(Qt::ToolTipRole).toString();
        EXPECT_EQ(tip.contains(QStringLiteral("blanc faux")) &&
                      tip.contains(QStringLiteral("claire")),
                  invalid)
            << tip.toStdString();
    }
    const QList<QStringList> invalidated = Journal(window, ArchiveTrail::kRecordInvalidated);
    ASSERT_EQ(invalidated.size(), 2);
    EXPECT_EQ(invalidated[0].mid(0, 4),
              (QStringList{LoadResString(1872), invalidated[0][1],
                           QStringLiteral("valid \u2192 invalid"), QStringLiteral("blanc faux")}));
    EXPECT_TRUE(invalidated[0][1].startsWith(QStringLiteral("record ")));
    EXPECT_TRUE(invalidated[0][4].startsWith(QStringLiteral("claire, ")))
        << invalidated[0][4].toStdString();

    // Restoring asks only for the invalid ones among the selected.
    Select(window, {0, 1});
    EXPECT_TRUE(window.cmdRestore->isEnabled());
    Answer(dialogs, QStringLiteral("blanc refait"));
    window.cmdRestore->click();
    EXPECT_EQ(Journal(window, ArchiveTrail::kRecordRestored).size(), 1);
    window.chkShowInvalid->setChecked(false);
    EXPECT_EQ(Shown(window), QStringLiteral("124"));
}

// Beside the records, who archived the current one's import, its digest and "non vérifié";
// a review by the importing account is refused with the archive's reason, and allowed where
// Settings.ini lets a lab of one person review its own imports.
TEST_F(ArchiveWindow, TheImportsIdentityAndReviewShowBesideTheRecords) {
    frmArchive& window = SearchFour();
    Select(window, {1});
    const ImportDetails& details = *window.fraImport;
    EXPECT_TRUE(details.lblImport->text().startsWith(QStringLiteral("claire, ")));
    EXPECT_TRUE(details.lblImport->text().contains(QSysInfo::machineHostName()));
    EXPECT_EQ(details.txtDigest->text().size(), 64);
    EXPECT_EQ(details.lblReview->text(), LoadResString(1868));

    DialogDriver dialogs;
    Answer(dialogs, QStringLiteral("relu"));
    EXPECT_FALSE(window.Review());
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(details.lblReview->text(), LoadResString(1868));
    EXPECT_TRUE(Journal(window, ArchiveTrail::kReviewGiven).isEmpty());

    ProgramFolder alone("[Archive]\r\nAllowSelfReview=1\r\n", false);
    Answer(dialogs, QStringLiteral("relu"));
    EXPECT_TRUE(window.Review());
    EXPECT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(details.lblReview->text().contains(QStringLiteral("relu")))
        << details.lblReview->text().toStdString();
    EXPECT_EQ(Journal(window, ArchiveTrail::kReviewGiven).size(), 1);
    window.chkUnreviewed->setChecked(true);
    EXPECT_TRUE(Shown(window).isEmpty());
}

// An archive this user may only read: the search still works, the write commands are
// disabled with the reason as their tip, and the status bar says it once.
TEST_F(ArchiveWindow, AnArchiveThatMayOnlyBeReadDisablesTheWriteCommandsWithTheReason) {
    Import(kTwoMore);
    PermissionsCount permissions;
    const QString path = ArchiveTarget::DefaultFile().path;
    QFile::setPermissions(path, QFile::ReadOwner);
    f.ShownItem("mnuArchive")->trigger();
    auto& window = *f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    ASSERT_TRUE(window.Search());
    EXPECT_EQ(Shown(window), QStringLiteral("1234"));
    Select(window, {0});
    const QString why = Note();
    EXPECT_TRUE(why.contains(QStringLiteral("lecture seule"))) << why.toStdString();
    for (QPushButton* write : {window.cmdInvalidate, window.cmdRestore, window.cmdReview}) {
        EXPECT_FALSE(write->isEnabled()) << write->objectName().toStdString();
        EXPECT_EQ(write->toolTip(), why);
    }
    EXPECT_FALSE(window.Invalidate());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

// The Archive window opens its columns as the document does: at the layout's widths,
// widened to a bounded sample of their texts, and never wider than kMaxFittedChars
// characters, so that one 300-character sample ID leaves every other column in sight.
TEST_F(ArchiveWindow, ALongSampleIdLeavesEveryOtherColumnInSight) {
    const QString line =
        QStringLiteral("1;07.12.26;09:05:03;%1;101;PO4;AR;1:1;0.42;mg/l;OK;;;;01.12.26;08:00");
    f.link->ScriptOk(QStringLiteral("U.581\r\n"), line.arg(QString(300, QLatin1Char('W'))));
    f.main->ActiveDocument()->MenuImport();
    f.ShownItem("mnuArchive")->trigger();
    auto& window = *f.main->findChild<frmArchive*>(QStringLiteral("frmArchive"));
    window.resize(1366, 600); // a common laptop screen's width
    window.Search();
    const QTableView& table = *window.grdRecords;
    const int columns = window.Model()->columnCount();
    // The record's own columns stay in sight; the meter's serial number and the user
    // follow them.
    const RecordLayout layout = RecordLayout::Of(MeterFamily::Photometer);
    ASSERT_EQ(columns, layout.Count() + 2);
    const int last = layout.Count() - 1;
    const int right = table.columnViewportPosition(last) + table.columnWidth(last);
    EXPECT_LE(right, table.viewport()->width());
    EXPECT_GT(table.columnWidth(3), table.columnWidth(0)); // the ID still has more room
    for (int c = 0; c < layout.Count(); ++c) {
        EXPECT_GE(table.columnWidth(c), TwipsToPixels(layout.Width(c), table.logicalDpiX())) << c;
    }
}

// The same on a lab's PostgreSQL server: another PC holding the meter's lock leaves the
// window painting, and the wait dialog's Cancel returns at once.
class ArchiveWindowOnPostgres : public PostgresTest {
protected:
    void SetUp() override {
        PostgresTest::SetUp();
        if (!Ready()) {
            return;
        }
        folder = std::make_unique<ProgramFolder>(
            QStringLiteral("[Archive]\r\nDatabase=%1\r\n").arg(server->Address(name)).toUtf8());
        f = std::make_unique<MainWindowFixture>();
        ASSERT_TRUE(f->LogIn(QStringLiteral("claire")));
        f->RecogniseMeter(QStringLiteral("Zentravox"));
    }
    void Import(const QString& more = QString()) {
        f->link->ScriptOk(QStringLiteral("U.581\r\n"), kRecords + more);
        f->main->ActiveDocument()->MenuImport();
    }
    QString Note() const {
        return f->main->statusBar()->findChild<QLabel*>(QStringLiteral("lblStatusNote"))->text();
    }

    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<MainWindowFixture> f;
};

TEST_F(ArchiveWindowOnPostgres, AnotherPCsLockOnTheMeterLeavesTheProgramGoingAndCancelReturns) {
    if (!Ready()) {
        return;
    }
    Import();
    ASSERT_EQ(Note(), LoadResString(1650).arg(2).arg(0));
    PostgresSession other(*server, name);
    ASSERT_TRUE(other.Exec(QStringLiteral("BEGIN")));
    ASSERT_TRUE(other.Exec(QStringLiteral("SELECT pg_advisory_xact_lock(id) FROM meters")));
    f->ui.messageAnswers.push_back(MsgResult::No); // the first import is archived already
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(StoppedWhileWaiting([&] { Import(kTwoMore); },
                                    [](frmWait& wait) { wait.cmdCancel->click(); }));
    EXPECT_LT(clock.elapsed(), 5000); // the server would wait for the lock 10 s
    EXPECT_EQ(Note(), LoadResString(1680));
    ASSERT_TRUE(other.Exec(QStringLiteral("ROLLBACK")));
    f->ShownItem("mnuArchiveAdd")->trigger();
    EXPECT_EQ(Note(), LoadResString(1650).arg(2).arg(2));
}
