#include "archive/TraceText.h"

#include "app/TextTables.h"
#include "archive/ArchiveIdentity.h"
#include "archive/ArchiveTrail.h"

#include <QSet>
#include <gtest/gtest.h>

// Every action the trail stores has a label of its own; a code of a newer program shows as
// it is stored rather than as nothing.
TEST(TraceText, EveryActionHasItsOwnLabelAndAnUnknownOneShowsItsCode) {
    QSet<QString> labels;
    for (const char* code : {ArchiveTrail::kImportArchived, ArchiveTrail::kRecordInvalidated,
                             ArchiveTrail::kRecordRestored, ArchiveTrail::kQcVersionAdded,
                             ArchiveTrail::kLimitVersionAdded, ArchiveTrail::kReviewGiven,
                             ArchiveTrail::kBackupMade, ArchiveTrail::kSchemaUpgraded}) {
        const QString label = TraceText::ActionLabel(QLatin1String(code));
        EXPECT_NE(label, QLatin1String(code));
        labels << label;
    }
    EXPECT_EQ(labels.size(), 8);
    EXPECT_EQ(TraceText::ActionLabel(QStringLiteral("seal_broken")), QStringLiteral("seal_broken"));
}

// A row written before the archive kept the account, host and version names its login name
// alone; the database role is said only where there is one.
TEST(TraceText, IdentityOfOlderRowsIsTheLoginNameAndTheRoleOnlyWhereThereIsOne) {
    ArchiveIdentity who;
    who.userName = QStringLiteral("claire");
    EXPECT_EQ(TraceText::Identity(who), QStringLiteral("claire"));
    who.osAccount = QStringLiteral("cdupont");
    who.hostName = QStringLiteral("labo-2");
    who.programVersion = QStringLiteral("5.0.3");
    const QString sqlite =
        LoadResString(1863).arg(QStringLiteral("claire"), QStringLiteral("cdupont"),
                                QStringLiteral("labo-2"), QStringLiteral("5.0.3"));
    EXPECT_EQ(TraceText::Identity(who), sqlite);
    who.userName.clear(); // what the program did on its own
    EXPECT_TRUE(TraceText::Identity(who).startsWith(QStringLiteral("\u2014, ")));
    who.userName = QStringLiteral("claire");
    who.dbRole = QStringLiteral("mervex_writer");
    EXPECT_EQ(TraceText::Identity(who),
              sqlite + QStringLiteral(", ") +
                  LoadResString(1864).arg(QStringLiteral("mervex_writer")));
}
