#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Dates and times as the user's locale writes them (QLocale(), which follows the system
// unless the program or a test sets a default).

// The short date format, e.g. 15/03/2024.
QString ShortDateText(const QDate& date);
// The long time format without a time zone, e.g. 14:03:05.
QString LongTimeText(const QTime& time);
// Short date and long time; the time is left out at midnight, as the classic general
// date format does.
QString GeneralDateText(const QDateTime& dateTime);
// A number with one decimal and no digit grouping, the "0.0" pattern.
QString OneDecimalText(double value);

// A date from parts that may run over: month 13 is January of the next year, day 0 the
// last day of the month before; years 0 to 29 are 2000 to 2029, 30 to 99 are 1930 to
// 1999. Throws MervexError outside the years 100 to 9999.
QDate DateSerial(int year, int month, int day);
// A time of day from parts that may run over (25:00:00 is 01:00:00).
QTime TimeSerial(int hour, int minute, int second);
