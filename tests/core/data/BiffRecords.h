#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// A reader of the record stream of a spreadsheet file, written from the format's layout
// (not from the writer), for checking what the writer and the export produce.
struct BiffRecord {
    int id = 0;
    QByteArray data;
};

struct BiffCell {
    int id = 0;
    int row = 0; // 0-based, as in the file
    int col = 0;
    int hiddenLocked = 0;
    int font = 0;
    int alignment = 0;
    QVariant value; // int (INTEGER), double (NUMBER) or QString (LABEL, Windows-1252)
};

// Throws std::runtime_error for a stream that ends inside a record.
QList<BiffRecord> ParseBiff(const QByteArray& bytes);
bool IsCell(const BiffRecord& record);
BiffCell CellOf(const BiffRecord& record);
QList<BiffCell> CellsOf(const QList<BiffRecord>& records);
QList<int> IdsOf(const QList<BiffRecord>& records);
double DoubleAt(const QByteArray& data, int offset);
