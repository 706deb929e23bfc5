#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// Dates and times as the program writes them for people: in its windows, printouts,
// spreadsheet headers and PDF titles. One form per language, whatever the desktop's locale,
// so that one screen never mixes "2024-03-05", "05/03/2024" and "3/5/24"; the year always
// has its four digits. Machine outputs (the command line's data, file names) write ISO 8601
// themselves, and fields the meter sent are shown as it sent them.

// The date form of the active language in QDate::toString's terms, from its string table
// (string 1643): French "dd/MM/yyyy" (05/03/2024), English "d MMM yyyy" (5 Mar 2024: day
// and month cannot be taken for each other). Also the display format of every date field.
QString DateFormat();
// The locale of the active language's month and day names, which the desktop's never
// replace (an English program on a French desktop writes "Mar").
QLocale DateLocale();
// The date in the active language's form, e.g. 05/03/2024.
QString ShortDateText(const QDate& date);
// The time of day on the 24-hour clock with seconds, e.g. 14:03:05, as the meter writes it.
QString LongTimeText(const QTime& time);
// Date and time; the time is left out at midnight, as the classic general date format does.
QString GeneralDateText(const QDateTime& dateTime);
// A number with one decimal and no digit grouping, the "0.0" pattern.
QString OneDecimalText(double value);

// A date from parts that may run over: month 13 is January of the next year, day 0 the
// last day of the month before; years 0 to 29 are 2000 to 2029, 30 to 99 are 1930 to
// 1999. Throws MervexError outside the years 100 to 9999.
QDate DateSerial(int year, int month, int day);
// A time of day from parts that may run over (25:00:00 is 01:00:00).
QTime TimeSerial(int hour, int minute, int second);
