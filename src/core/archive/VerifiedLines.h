#pragma once

#include <QList>
#include <QStringList>

struct ImportSummary;

// What a table report's signature block says of the imports its records came from: "Vérifié
// par claire (cdupont) le 12/03/2024" for the reviewed ones, one line per reviewer and day
// (naming the imports when the records span several), then which are not reviewed yet.
// The reviewer is the login name with the operating-system account in brackets, the day
// the user's date; nothing for no imports.
QStringList VerifiedLines(const QList<ImportSummary>& imports);
