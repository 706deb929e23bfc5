#pragma once

#include <QDate>
#include <QStringView>
#include <QTime>
#include <optional>

// The date and time fields of a record as the meters write them, whatever the PC's locale:
// "30.11.23" (or "30.11.2023") and "08:01:02" (or "08:01"). Nothing for any other text,
// including an impossible date such as "31.02.23". Both run for every text field of an
// export, so they look at the characters in place and allocate nothing.
// A two-digit year ("01.01.30") is read in a window that moves with today's date: the year
// of that century that lies from 79 years before this year to 20 years after it.
std::optional<QDate> RecordDate(QStringView field);
// The window itself: `twoDigits` (0 to 99) read in the year `thisYear`.
int WindowedYear(int twoDigits, int thisYear);
std::optional<QTime> RecordTime(QStringView field);
