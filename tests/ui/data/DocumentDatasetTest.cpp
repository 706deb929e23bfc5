#include "UiFixture.h"
#include "app/DateText.h"
#include "app/TextTables.h"
#include "app/Twips.h"
#include "support/DatasetFiles.h"
#include "support/QtPrint.h"
#include "ui/data/ColumnWidths.h"
#include "ui/app/frmWait.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/frmDocument.h"

#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

const QString kPhotometerRecords =
    QStringLiteral("1;07/12/26;09:05:03;17;101;PO4;AR;1:1;0.42;mg/l;OK;;;;01/12/26;08:00\r\n"
                   "2;07/12/26;09:06:10;18;101;PO4;;1:1;1.25;µg/l;High;;;;01/12/26;08:00");

const QString kSaveQuestion =
    QStringLiteral("Des données ont été modifiées!\r\nDésirez-vous sauvegarder les données?");

// A main window whose meter is recognised and whose user is logged in.
class DocumentDataset : public ::testing::Test {
protected:
    void Connect(const QString& model) {
        ASSERT_TRUE(f.LogIn(QStringLiteral("claire")));
        f.RecogniseMeter(model);
    }
    void Memory(const QString& records) { f.link->ScriptOk(QStringLiteral("U.581\r\n"), records); }
    frmDocument& Doc() { return *f.main->ActiveDocument(); }
    // What Save proposes for an import: model, serial number and the import's date.
    QString ImportName() {
        return QStringLiteral("Zentravox SN-77 ") +
               Doc().MVals().curDate.date().toString(Qt::ISODate);
    }
    MValTableModel& Grid() { return Doc().GridModel(); }
    QStringList HeaderValues() {
        return {Doc().lblMeterValue->text(), Doc().lblSerNoValue->text(),
                Doc().lblUserValue->text(), Doc().lblPCDateValue->text(),
                Doc().lblPCTimeValue->text()};
    }
    QStringList Row(int row) {
        QStringList cells;
        for (int c = 0; c < Grid().columnCount(); ++c) {
            cells << Grid().Cell(row, c);
        }
        return cells;
    }
    bool GridIsEmpty() {
        for (int r = 0; r < Grid().rowCount(); ++r) {
            if (!Row(r).join(QString()).isEmpty()) {
                return false;
            }
        }
        return Grid().Titles().join(QString()).isEmpty();
    }

    MainWindowFixture f;
    TempDir dir;
};

} // namespace

TEST_F(DocumentDataset, ImportShowsTheHeaderAndEveryRecord) {
    Connect(QStringLiteral("Zentravox"));
    Memory(kPhotometerRecords);
    const QDateTime before = QDateTime::currentDateTime();
    Doc().MenuImport();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_TRUE(f.ui.messages.isEmpty())
        << f.ui.MessageTexts().join(QLatin1Char('\n')).toStdString();

    const MValSet& set = Doc().MVals();
    EXPECT_GE(set.curDate, before.addMSecs(-before.time().msec()));
    EXPECT_LE(set.curDate, after);
    EXPECT_EQ(HeaderValues(),
              QStringList({"Zentravox", "SN-77", "claire", ShortDateText(set.curDate.date()),
                           LongTimeText(set.curDate.time())}));
    EXPECT_EQ(Grid().columnCount(), 16);
    EXPECT_EQ(Grid().Titles().mid(0, 5), QStringList({"No", "Date", "Heure", "ID", "PROG"}));
    EXPECT_EQ(Grid().WidthsTwips().mid(0, 4), QList<int>({500, 800, 800, 500}));
    EXPECT_EQ(Doc().hfgMVals->columnWidth(5), TwipsToPixels(1000, Doc().logicalDpiX()));
    // A date the layout's 800 twips would clip in this platform's font is shown whole.
    const QFontMetrics metrics(Doc().hfgMVals->font());
    EXPECT_GT(Doc().hfgMVals->columnWidth(1), metrics.horizontalAdvance(Row(0)[1]));
    EXPECT_GT(Doc().hfgMVals->columnWidth(3), metrics.horizontalAdvance(Grid().Titles()[3]));
    ASSERT_EQ(Grid().rowCount(), 2);
    EXPECT_EQ(Row(0).join(QLatin1Char(';')),
              kPhotometerRecords.section(QStringLiteral("\r\n"), 0, 0));
    EXPECT_EQ(Row(1)[9], QStringLiteral("µg/l"));
    EXPECT_TRUE(Doc().Modified());
    EXPECT_FALSE(Doc().Importing());
    EXPECT_EQ(Doc().cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(f.link->sent.mid(f.link->sent.size() - 2), QStringList({"U.400\r\n", "U.581\r\n"}));
}

TEST_F(DocumentDataset, AnEmptyMemoryShowsTitlesOverOneEmptyRow) {
    Connect(QStringLiteral("R-2600"));
    Memory(QString());
    Doc().MenuImport();
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_EQ(HeaderValues()[0], QStringLiteral("R-2600"));
    EXPECT_EQ(Grid().columnCount(), 16);
    EXPECT_EQ(Grid().rowCount(), 1);
    EXPECT_EQ(Row(0).join(QString()), QString());
}

TEST_F(DocumentDataset, ATurbidimeterLayoutShowsTheFirstTenFields) {
    Connect(QStringLiteral("Ardel 20 T"));
    Memory(kPhotometerRecords);
    Doc().MenuImport();
    EXPECT_EQ(Grid().columnCount(), 10);
    EXPECT_EQ(Grid().Titles()[7], QStringLiteral("CQA/Cal"));
    EXPECT_EQ(Row(0), kPhotometerRecords.section(QStringLiteral("\r\n"), 0, 0)
                          .split(QLatin1Char(';'))
                          .mid(0, 10));
}

// Columns open as wide as a sample of the rows needs: all of a small table; of a large one
// the first and last 100 rows and 100 spread between them, so that the long texts of the
// last records fit too. A long text outside the sample is shortened, as the sample is
// there to keep a million records quick.
TEST_F(DocumentDataset, ColumnsFitTheFirstAndLastRecordsOfALargeDataset) {
    constexpr int kCount = 1500;
    constexpr int kId = 3;
    constexpr int kUnit = 9;
    constexpr int kState = 10;
    constexpr int kDilution = 7;
    QStringList records = ArchivePhotometerRecords(0, kCount);
    const auto withField = [&](int record, int column, const QString& text) {
        QStringList fields = records[record].split(QLatin1Char(';'));
        fields[column] = text;
        records[record] = fields.join(QLatin1Char(';'));
    };
    const QString firstUnit = QStringLiteral("mg/l NO3-N as nitrogen");
    const QString lastId = QStringLiteral("Well 27 north bank, after rain");
    const QString lateState = QStringLiteral("Over range, diluted again by hand");
    withField(0, kUnit, firstUnit);
    withField(kCount - 1, kId, lastId);
    withField(kCount / 2 + 1, kState, lateState);            // between two rows of the sample
    withField(1, kDilution, QString(300, QLatin1Char('D'))); // bounded: the others stay in sight
    const QString path = dir.file(QStringLiteral("large.csv"));
    WritePhotometerFile(path, QStringLiteral("SN-77"), records);
    f.main->OpenDocument(path);
    ASSERT_EQ(Grid().rowCount(), kCount);
    const QFontMetrics metrics(Doc().hfgMVals->font());
    EXPECT_GT(Doc().hfgMVals->columnWidth(kUnit), metrics.horizontalAdvance(firstUnit));
    EXPECT_GT(Doc().hfgMVals->columnWidth(kId), metrics.horizontalAdvance(lastId));
    EXPECT_LT(Doc().hfgMVals->columnWidth(kState), metrics.horizontalAdvance(lateState));
    EXPECT_LE(Doc().hfgMVals->columnWidth(kDilution), kMaxFittedChars * metrics.averageCharWidth());
}

TEST_F(DocumentDataset, AFailedImportShowsTheErrorAndKeepsTheDataset) {
    Connect(QStringLiteral("Zentravox"));
    Memory(kPhotometerRecords);
    Doc().MenuImport();
    const QStringList header = HeaderValues();
    const QStringList firstRow = Row(0);
    const QString records = Doc().MVals().strMVals;
    f.link->Script(QStringLiteral("U.581\r\n"), {QString()}); // the meter stays silent
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::No}; // do not save the first import
    Doc().MenuImport();
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList({kSaveQuestion, QStringLiteral("Erreur d'importation!")}));
    EXPECT_EQ(f.ui.messages[1].icon, MsgIcon::Critical);
    EXPECT_EQ(f.ui.messages[1].title, QStringLiteral("Erreur"));
    EXPECT_EQ(HeaderValues(), header);
    EXPECT_EQ(Row(0), firstRow);
    EXPECT_EQ(Doc().MVals().strMVals, records);
    EXPECT_TRUE(Doc().Modified());
    EXPECT_EQ(f.link->sent.back(), QStringLiteral("U.999\r\n"));
}

TEST_F(DocumentDataset, ImportOverAModifiedDatasetAsksFirst) {
    Connect(QStringLiteral("Zentravox"));
    Memory(kPhotometerRecords);
    Doc().MenuImport();
    const QString records = Doc().MVals().strMVals;
    const qsizetype sent = f.link->sent.size();
    // Cancel (Escape, close box), and "Oui" with the save dialog cancelled: no import.
    for (const QList<MsgResult>& answers :
         {QList<MsgResult>{MsgResult::Cancel}, QList<MsgResult>{MsgResult::Yes}}) {
        f.ui.Clear();
        f.ui.messageAnswers.assign(answers.begin(), answers.end());
        f.ui.dialogAnswers = {std::nullopt};
        Doc().MenuImport();
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{kSaveQuestion});
        EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(f.link->sent.size(), sent);
        EXPECT_EQ(Doc().MVals().strMVals, records);
    }
    // "Oui" and a file: saved, then imported anew.
    f.ui.Clear();
    const QString path = dir.file(QStringLiteral("first.csv"));
    f.ui.messageAnswers = {MsgResult::Yes};
    f.ui.dialogAnswers = {path};
    Memory(QStringLiteral("9;07/12/26;10:00:00;1;101;PO4;;1:1;0.1;mg/l;OK;;;;01/12/26;08:00"));
    Doc().MenuImport();
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{kSaveQuestion});
    EXPECT_TRUE(ReadBytes(path).contains("1;07/12/26;09:05:03;17"));
    EXPECT_EQ(Row(0).value(0), QStringLiteral("9"));
}

TEST_F(DocumentDataset, AnImportIntoADocumentFromAFileIsANewDataset) {
    const QString path = dir.file(QStringLiteral("old.csv"));
    const QByteArray old = "METER;S/N;USER;DATE;TIME\r\nZentravox;1;u;1/2/2025;1:2:3\r\n\r\n"
                           "NO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n1;a";
    WriteBytes(path, old);
    Connect(QStringLiteral("Zentravox"));
    f.main->OpenDocument(path);
    Memory(kPhotometerRecords);
    Doc().MenuImport(); // not modified: no question
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_TRUE(Doc().FilePath().isEmpty());
    EXPECT_EQ(Doc().windowTitle(), LoadResString(1068) + "[*]");
    f.ui.dialogAnswers = {std::nullopt};
    Doc().MenuFileSave();
    ASSERT_EQ(f.ui.dialogs.size(), 1);
    EXPECT_EQ(f.ui.dialogs[0].request.fileName, ImportName());
    EXPECT_EQ(f.ui.dialogs[0].request.kind, FileKind::Dataset);
    EXPECT_EQ(ReadBytes(path), old) << "the opened file is not written over";
}

TEST_F(DocumentDataset, SaveAsProposesModelSerialAndDateAndRemembersTheFile) {
    Connect(QStringLiteral("Zentravox"));
    Memory(kPhotometerRecords);
    Doc().MenuImport();
    f.ui.dialogAnswers = {dir.file(QStringLiteral("lundi"))};
    Doc().MenuFileSave(); // never saved: the dialog comes
    ASSERT_EQ(f.ui.dialogs.size(), 1);
    const FileDialogRequest& request = f.ui.dialogs[0].request;
    EXPECT_TRUE(f.ui.dialogs[0].save);
    EXPECT_EQ(request.title, QStringLiteral("Enregistrer sous"));
    EXPECT_EQ(request.filter,
              QStringLiteral("Fichier CSV (séparé par des points-virgules) (*.csv)|*.csv"));
    EXPECT_EQ(request.fileName, ImportName());
    EXPECT_TRUE(request.overwritePrompt && request.pathMustExist && request.hideReadOnly);
    const QString path = dir.file(QStringLiteral("lundi.csv"));
    EXPECT_EQ(Doc().FilePath(), path);
    EXPECT_EQ(Doc().windowTitle(), QStringLiteral("lundi.csv[*]"));
    EXPECT_FALSE(Doc().Modified());
    EXPECT_TRUE(ReadBytes(path).endsWith(kPhotometerRecords.toLatin1().replace("\xC2", "")));

    // A further import is a new dataset: closing asks, and Yes asks for its name instead
    // of writing over the first file.
    const QByteArray first = ReadBytes(path);
    Memory(QStringLiteral("9;a"));
    Doc().MenuImport();
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::Yes};
    f.ui.dialogAnswers = {dir.file(QStringLiteral("mardi"))};
    EXPECT_TRUE(Doc().parentWidget()->close());
    EXPECT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.dialogs.size(), 1);
    EXPECT_EQ(ReadBytes(path), first);
    EXPECT_TRUE(ReadBytes(dir.file(QStringLiteral("mardi.csv"))).endsWith("\r\n9;a"));
}

TEST_F(DocumentDataset, ReadOnlyFilesAndCancelledDialogs) {
    Connect(QStringLiteral("Zentravox"));
    Memory(kPhotometerRecords);
    Doc().MenuImport();
    const QString path = dir.file(QStringLiteral("locked.csv"));
    f.ui.dialogAnswers = {path};
    Doc().MenuFileSaveAs();
    ASSERT_EQ(Doc().FilePath(), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser);
    Doc().SetModified(true);
    f.ui.Clear();
    Doc().MenuFileSave(); // read-only: the dialog instead of writing; cancelled
    EXPECT_EQ(f.ui.dialogs.size(), 1);
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_TRUE(Doc().Modified());
    EXPECT_EQ(Doc().FilePath(), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(DocumentDataset, AFailedSaveSaysSo) {
    Connect(QStringLiteral("Zentravox"));
    Memory(kPhotometerRecords);
    Doc().MenuImport();
    f.ui.dialogAnswers = {dir.file(QStringLiteral("no/such/folder.csv"))};
    Doc().MenuFileSaveAs();
    ASSERT_EQ(f.ui.messages.size(), 2); // the system's reason, then ours
    EXPECT_EQ(f.ui.messages[1].text, QStringLiteral("Erreur d'enregistrement!"));
    EXPECT_TRUE(Doc().FilePath().isEmpty());
    EXPECT_TRUE(Doc().Modified());
}

TEST_F(DocumentDataset, OpeningAFileShowsItUnderItsName) {
    const QString path = dir.file(QStringLiteral("mesures.csv"));
    WriteBytes(path, "METER;S/N;USER;DATE;TIME\r\nArdel 60 IR;A60-9;luc;3/4/2025;7:8:9\r\n\r\n"
                     "NO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n1;a;b;c;d;e;f;g;h;i;j;k\r\n2;x");
    f.main->OpenDocument(path);
    EXPECT_TRUE(f.ui.messages.isEmpty())
        << f.ui.MessageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Doc().windowTitle(), QStringLiteral("mesures.csv[*]"));
    EXPECT_EQ(Doc().FilePath(), path);
    EXPECT_FALSE(Doc().Modified());
    EXPECT_EQ(HeaderValues(),
              QStringList({"Ardel 60 IR", "A60-9", "luc", ShortDateText(QDate(2025, 3, 4)),
                           LongTimeText(QTime(7, 8, 9))}));
    // The layout follows the model on line 2, not the short header.
    EXPECT_EQ(Grid().columnCount(), 10);
    EXPECT_EQ(Grid().rowCount(), 2);
    EXPECT_EQ(Row(0).join(QLatin1Char(';')), QStringLiteral("1;a;b;c;d;e;f;g;h;i"));
    EXPECT_EQ(Grid().WidthsTwips()[3], 1200);
}

TEST_F(DocumentDataset, FilesThatDoNotOpenLeaveAnEmptyTable) {
    const QString bad = dir.file(QStringLiteral("bad.csv"));
    WriteBytes(bad, "METER;S/N;USER;DATE;TIME\r\nZ;1;u;1/2/2025;1:2:3\r\n\r\n"
                    "no;date;time;id;value;unit;valid\r\n1;a");
    struct Case {
        QString path;
        QString message;
    };
    for (const Case& c : {Case{bad, QStringLiteral("Format CSV incorrect!")},
                          Case{dir.file(QStringLiteral("missing.csv")),
                               QStringLiteral("Erreur de lecture du fichier!")}}) {
        f.ui.Clear();
        f.main->OpenDocument(c.path);
        EXPECT_EQ(f.ui.MessageTexts(), QStringList{c.message});
        EXPECT_EQ(HeaderValues().join(QString()), QString());
        EXPECT_TRUE(GridIsEmpty());
        EXPECT_TRUE(Doc().FilePath().isEmpty());
        EXPECT_FALSE(Doc().Modified());
    }
}

TEST_F(DocumentDataset, AFileWhoseNextImportFailedKeepsItsDataset) {
    const QString path = dir.file(QStringLiteral("old.csv"));
    WriteBytes(path, "METER;S/N;USER;DATE;TIME\r\nZentravox;1;u;1/2/2025;1:2:3\r\n\r\n"
                     "NO;DATE;TIME;ID;VALUE;UNIT;VALID\r\n1;a");
    Connect(QStringLiteral("Zentravox"));
    f.main->OpenDocument(path);
    const QString records = Doc().MVals().strMVals;
    Doc().MenuImport(); // U.581 unscripted: fails
    EXPECT_EQ(Doc().MVals().strMVals, records);
    EXPECT_EQ(Doc().FilePath(), path);
    EXPECT_EQ(Row(0).value(0), QStringLiteral("1"));
    EXPECT_FALSE(Doc().Modified());
    f.ui.Clear();
    EXPECT_TRUE(Doc().parentWidget()->close());
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_EQ(ReadBytes(path).right(3), "1;a") << "the file stays as it was";
}

// A large file holds the busy state and shows how far the reading is; closing the wait
// dialog stops it without a message. The save question comes before the reading, and a
// stopped reading leaves the document that was open as it was, unsaved changes included.
TEST_F(DocumentDataset, ALargeFileShowsItsProgressAndCanBeStopped) {
    const QString path = dir.file(QStringLiteral("large.csv"));
    QByteArray bytes = "METER;S/N;USER;DATE;TIME\r\nZentravox;1;u;1/2/2025;1:2:3\r\n\r\n"
                       "NO;DATE;TIME;ID;VALUE;UNIT;VALID";
    const QByteArray record = "\r\n1;12.03.24;10:00:00;1;5;Dureté;;1:1;0.5;°dH;OK";
    bytes.reserve(frmDocument::kLargeFile + 2 * record.size());
    int records = 0;
    for (; bytes.size() <= frmDocument::kLargeFile; ++records) {
        bytes += record;
    }
    WriteBytes(path, bytes);
    QStringList texts;
    bool stop = false;
    f.ui.onYield = [&] {
        if (auto* wait = f.main->findChild<frmWait*>(); wait && wait->isVisible()) {
            texts << wait->lblText->text();
            EXPECT_TRUE(f.main->services().busy.Busy());
            if (stop) {
                wait->close();
            }
        }
    };
    f.main->OpenDocument(path);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join('|').toStdString();
    EXPECT_EQ(Grid().rowCount(), records);
    EXPECT_EQ(texts.value(0), QStringLiteral("Ouverture de large.csv : 12 %"));
    EXPECT_EQ(texts.value(texts.size() - 1), QStringLiteral("Ouverture de large.csv : 100 %"));

    stop = true;
    texts.clear();
    Doc().SetModified(true);
    f.ui.messageAnswers = {MsgResult::No};
    f.main->OpenDocument(path);
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{LoadResString(1178) + "\r\n" + LoadResString(1179)});
    EXPECT_EQ(texts.size(), 1);
    EXPECT_EQ(f.main->Documents().size(), 1);
    EXPECT_EQ(Grid().rowCount(), records);
    EXPECT_EQ(Doc().FilePath(), path);
    EXPECT_TRUE(Doc().Modified());
    EXPECT_FALSE(f.main->services().busy.Busy());

    // Answered once: the document that goes asks no second time.
    stop = false;
    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::No};
    f.main->OpenDocument(path);
    EXPECT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.main->Documents().size(), 1);
    EXPECT_FALSE(Doc().Modified());
}
