#include "archive/VerifiedLines.h"

#include "app/DateText.h"
#include "app/TextTables.h"
#include "archive/ImportReview.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

QString Reviewer(const ArchiveIdentity& who) {
    if (who.osAccount.isEmpty() || who.osAccount == who.userName) {
        return who.userName;
    }
    return QStringLiteral("%1 (%2)").arg(who.userName, who.osAccount);
}

// "import 37", "imports 37, 41".
QString ImportsText(const QList<qint64>& ids) {
    QStringList texts;
    for (const qint64 id : ids) {
        texts << QString::number(id);
    }
    return LoadResString(ids.size() > 1 ? 1884 : 1883).arg(texts.join(QStringLiteral(", ")));
}

} // namespace

QStringList VerifiedLines(const QList<ImportSummary>& imports) {
    // By reviewer and day, in the order they first come.
    QList<std::pair<std::pair<QString, QString>, QList<qint64>>> reviewed;
    QList<qint64> unreviewed;
    for (const ImportSummary& import : imports) {
        if (!import.review) {
            unreviewed << import.id;
            continue;
        }
        const std::pair key{Reviewer(import.review->who),
                            ShortDateText(import.review->at.toLocalTime().date())};
        auto group = std::find_if(reviewed.begin(), reviewed.end(),
                                  [&](const auto& known) { return known.first == key; });
        if (group == reviewed.end()) {
            reviewed.append({key, {}});
            group = std::prev(reviewed.end());
        }
        group->second << import.id;
    }
    QStringList lines;
    const bool several = imports.size() > 1;
    for (const auto& [who, ids] : std::as_const(reviewed)) {
        lines << (several ? LoadResString(1882).arg(who.first, who.second, ImportsText(ids))
                          : LoadResString(1881).arg(who.first, who.second));
    }
    if (!unreviewed.isEmpty()) {
        lines << LoadResString(1897).arg(ImportsText(unreviewed));
    }
    return lines;
}
