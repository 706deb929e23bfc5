#include "archive/VerifiedLines.h"

#include "app/DateText.h"
#include "archive/ImportReview.h"

#include <gtest/gtest.h>

namespace {

ImportSummary Import(qint64 id, const QString& user = {}, const QString& account = {},
                     const QDate& day = {}) {
    ImportSummary import;
    import.id = id;
    if (!user.isEmpty()) {
        AuditEvent review;
        review.who.userName = user;
        review.who.osAccount = account;
        review.at = QDateTime(day, QTime(12, 0), Qt::UTC);
        import.review = review;
    }
    return import;
}

} // namespace

// One line per reviewer and day, the imports named only when the records span several; the
// account beside the login name unless they are the same; the imports nobody reviewed last.
TEST(VerifiedLines, OneLinePerReviewerAndDayThenTheImportsNotVerified) {
    const QDate march12(2024, 3, 12);
    const QString day = ShortDateText(march12);
    EXPECT_TRUE(VerifiedLines({}).isEmpty());
    EXPECT_EQ(VerifiedLines({Import(37, "sophie", "slambert", march12)}),
              QStringList{QStringLiteral("Vérifié par sophie (slambert) le %1").arg(day)});
    EXPECT_EQ(VerifiedLines({Import(37)}), QStringList{QStringLiteral("Non vérifié (import 37)")});
    EXPECT_EQ(VerifiedLines({Import(37, "sophie", "slambert", march12), Import(38),
                             Import(39, "marc", "marc", march12),
                             Import(40, "sophie", "slambert", march12), Import(41)}),
              (QStringList{
                  QStringLiteral("Vérifié par sophie (slambert) le %1 (imports 37, 40)").arg(day),
                  QStringLiteral("Vérifié par marc le %1 (import 39)").arg(day),
                  QStringLiteral("Non vérifié (imports 38, 41)")}));
}
