#pragma once

#include <QString>
#include <QStringList>

// Writes a photometer dataset file (model "Zentravox") holding `records`, as the program
// saves one.
void WritePhotometerFile(const QString& path, const QString& serial, const QStringList& records);

// Photometer record i: measured on day 1 + i % 28 of a month of 2024 with program
// 300 + i % 10 and a value of i / 100; every record of one count is different.
QStringList ArchivePhotometerRecords(int first, int count);
