#include "data/RecordWalker.h"

#include "app/Services.h"
#include "data/CImportMVal.h"
#include "support/QtPrint.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

struct Walk {
    QList<QStringList> records;
    bool failed = false;
    bool operator==(const Walk&) const = default;
};

void PrintTo(const Walk& walk, std::ostream* os) {
    *os << (walk.failed ? "failed " : "ok ") << walk.records.size() << " records:";
    for (const QStringList& r : walk.records) {
        *os << " [" << r.join(QLatin1Char('|')).toStdString() << "]";
    }
}

class RecordWalkerTest : public ::testing::Test {
protected:
    // The classic walk every consumer used: copy, drop two characters, take a record off.
    Walk ClassicWalk(const QString& strMVals, short intNum) {
        Walk walk;
        QString copy = strMVals;
        QStringList fields(std::max<int>(intNum, 0));
        for (;;) {
            if (copy.size() < 2) {
                walk.failed = true;
                return walk;
            }
            copy.remove(0, 2);
            if (!services.importMVal.ExtractNextRecSet(fields, copy, intNum)) {
                return walk;
            }
            walk.records << fields;
        }
    }

    static Walk WalkerWalk(const QString& strMVals, int intNum) {
        Walk walk;
        RecordWalker walker(strMVals);
        QStringList fields;
        while (walker.Next(fields, intNum)) {
            walk.records << fields;
            EXPECT_EQ(walker.RecordsRead(), walk.records.size());
        }
        walk.failed = walker.Failed();
        QStringList untouched{QStringLiteral("keep")};
        EXPECT_FALSE(walker.Next(untouched, intNum)) << "a finished walk stays finished";
        return walk;
    }

    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
};

QString Answer(const QStringList& lines) {
    QString text = QStringLiteral("\r\n");
    text += lines.join(QStringLiteral("\r\n"));
    return text + QStringLiteral("\r\n!\r\n>");
}

} // namespace

TEST_F(RecordWalkerTest, SplitsRecordsPadsMissingFieldsAndDropsSurplus) {
    const QString data =
        Answer({QStringLiteral("1;12/07/26;09:05;7;4.2;NTU;OK;;1/1/26;8:00"), QStringLiteral("2;a"),
                QStringLiteral("3;x;y;z;;;;;;;;;;;;;surplus;more")});
    const Walk walk = WalkerWalk(data, 10);
    ASSERT_EQ(walk.records.size(), 3);
    EXPECT_FALSE(walk.failed);
    EXPECT_EQ(walk.records[0].join(QLatin1Char('|')),
              QStringLiteral("1|12/07/26|09:05|7|4.2|NTU|OK||1/1/26|8:00"));
    EXPECT_EQ(walk.records[1], QStringList({"2", "a", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(walk.records[2].size(), 10);
    EXPECT_EQ(walk.records[2][3], QStringLiteral("z"));
    EXPECT_EQ(walk.records[2][9], QString());
    // The last requested field takes only up to the next separator.
    EXPECT_EQ(WalkerWalk(Answer({QStringLiteral("a;b;c")}), 2).records[0], QStringList({"a", "b"}));
    EXPECT_EQ(walk, ClassicWalk(data, 10));

    RecordWalker lines(data);
    QStringView line;
    QStringList seen;
    while (lines.NextLine(line)) {
        seen << line.toString();
    }
    EXPECT_EQ(seen, QStringList({"1;12/07/26;09:05;7;4.2;NTU;OK;;1/1/26;8:00", "2;a",
                                 "3;x;y;z;;;;;;;;;;;;;surplus;more"}));
    EXPECT_EQ(lines.RecordsRead(), 3);
}

TEST_F(RecordWalkerTest, EndRulesOfTheWalk) {
    // An answer without record lines is a complete walk with nothing in it.
    const Walk none = WalkerWalk(Answer({}).mid(0, 2) + QStringLiteral("\r\n!\r\n>"), 16);
    EXPECT_TRUE(none.records.isEmpty());
    EXPECT_FALSE(none.failed);
    // Empty or one-character text: failed.
    EXPECT_TRUE(WalkerWalk(QString(), 16).failed);
    EXPECT_TRUE(WalkerWalk(QStringLiteral("x"), 16).failed);
    // An empty line ends the walk: the record behind it is never read.
    const Walk gap = WalkerWalk(QStringLiteral("\r\n1;a\r\n\r\n2;b\r\n!\r\n>"), 2);
    EXPECT_EQ(gap.records.size(), 1);
    EXPECT_FALSE(gap.failed);
    // So does a one-character record line.
    EXPECT_EQ(WalkerWalk(Answer({"1;a", "7", "2;b"}), 2).records.size(), 1);
    // Two characters make a record.
    EXPECT_EQ(WalkerWalk(Answer({"1;a", "77", "2;b"}), 2).records.size(), 3);
    // A last line without its line end is not a record; what is left is too short.
    const Walk cut = WalkerWalk(QStringLiteral("\r\n1;a\r\n2;b"), 2);
    EXPECT_EQ(cut.records.size(), 1);
    EXPECT_FALSE(cut.failed);
    const Walk truncated = WalkerWalk(QStringLiteral("\r\n1;a\r"), 2);
    EXPECT_EQ(truncated.records.size(), 0);
    EXPECT_FALSE(truncated.failed);
    const Walk exhausted = WalkerWalk(QStringLiteral("\r\n1;a\r\n"), 2);
    EXPECT_EQ(exhausted.records.size(), 1);
    // After a record the text always starts with its line end, so only a text that is
    // too short from the start fails.
    EXPECT_FALSE(exhausted.failed);
}

TEST_F(RecordWalkerTest, ExtractNextRecSetRefusesWithoutTouchingAnything) {
    QStringList ten(10, QStringLiteral("old"));
    QString text = QStringLiteral("1;2;3\r\n!\r\n>");
    EXPECT_FALSE(services.importMVal.ExtractNextRecSet(ten, text, 16));
    EXPECT_EQ(text, QStringLiteral("1;2;3\r\n!\r\n>"));
    EXPECT_EQ(ten, QStringList(10, QStringLiteral("old")));

    QStringList sixteen(16, QStringLiteral("old"));
    ASSERT_TRUE(services.importMVal.ExtractNextRecSet(sixteen, text, 2));
    EXPECT_EQ(text, QStringLiteral("\r\n!\r\n>"));
    // Only the requested fields are written; the rest of the array stays as it was.
    EXPECT_EQ(sixteen.mid(0, 3), QStringList({"1", "2", "old"}));

    text = QStringLiteral("!\r\n>");
    EXPECT_FALSE(services.importMVal.ExtractNextRecSet(sixteen, text, 2));
    EXPECT_EQ(text, QStringLiteral("!\r\n>"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(RecordWalkerTest, GivesTheRecordsOfTheClassicWalkOnAdversarialText) {
    const QStringList fixed = {
        QString(),
        QStringLiteral("\r"),
        QStringLiteral("\r\n"),
        QStringLiteral("\r\n\r\n"),
        QStringLiteral("\r\n\r\n!\r\n>"),
        QStringLiteral("ab12;3\r\nxy45;6\r\n!\r\n>"), // no CR LF in front: two characters go anyway
        QStringLiteral("\r\n1;\ra;\nb\r\n2\n;x\r\n!\r\n>"), // lone CR and LF stay in the fields
        QStringLiteral("\r\n;;;;\r\n;\r\n!\r\n>"),
        QStringLiteral("\r\n\r\r\n\n\r\n!\r\n>"),
        QStringLiteral("\r\nÉtat;µS/cm;°C\r\n!\r\n>"),
        QStringLiteral("\r\n1;a\r\n2;b\r\n!\r\n>trailing text\r\n"),
    };
    for (const QString& data : fixed) {
        for (short n : {short(-1), short(0), short(1), short(7), short(10), short(16)}) {
            EXPECT_EQ(WalkerWalk(data, n), ClassicWalk(data, n))
                << "text " << data.toStdString() << " fields " << n;
        }
    }
    // Random text over the characters that matter to the walk.
    QRandomGenerator random(20260707);
    const QString alphabet = QStringLiteral("\r\n;a!>\r\n");
    for (int round = 0; round < 2000; ++round) {
        QString data;
        const int length = random.bounded(40);
        for (int i = 0; i < length; ++i) {
            data += alphabet[random.bounded(alphabet.size())];
        }
        const short n = static_cast<short>(random.bounded(5));
        ASSERT_EQ(WalkerWalk(data, n), ClassicWalk(data, n)) << "round " << round;
    }
}
