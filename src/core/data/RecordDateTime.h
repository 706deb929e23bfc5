#pragma once

#include <QDate>
#include <QStringView>
#include <QTime>
#include <optional>

// The date and time fields of a record as the meters write them, whatever the PC's locale:
// "30.11.23" (or "30.11.2023") and "08:01:02" (or "08:01"). Nothing for any other text,
// including an impossible date such as "31.02.23". Both run for every text field of an
// export, so they look at the characters in place and allocate nothing.
std::optional<QDate> RecordDate(QStringView field);
std::optional<QTime> RecordTime(QStringView field);
