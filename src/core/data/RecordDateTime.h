#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

// The date and time fields of a record as the meters write them, whatever the PC's locale:
// "30.11.23" (or "30.11.2023") and "08:01:02" (or "08:01"). Nothing for any other text,
// including an impossible date such as "31.02.23".
std::optional<QDate> RecordDate(const QString& field);
std::optional<QTime> RecordTime(const QString& field);
