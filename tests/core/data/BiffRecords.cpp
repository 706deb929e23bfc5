#include "core/data/BiffRecords.h"

#include "app/Windows1252.h"

#include <QtEndian>
#include <stdexcept>

namespace {

int ByteAt(const QByteArray& data, qsizetype offset) {
    if (offset < 0 || offset >= data.size()) {
        throw std::runtime_error("record too short");
    }
    return static_cast<unsigned char>(data[offset]);
}

int WordAt(const QByteArray& data, qsizetype offset) {
    return ByteAt(data, offset) | ByteAt(data, offset + 1) << 8;
}

} // namespace

QList<BiffRecord> ParseBiff(const QByteArray& bytes) {
    QList<BiffRecord> records;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (pos + 4 > bytes.size()) {
            throw std::runtime_error("record header cut off");
        }
        const int id = WordAt(bytes, pos);
        const int length = WordAt(bytes, pos + 2);
        if (pos + 4 + length > bytes.size()) {
            throw std::runtime_error("record data cut off");
        }
        records.append({id, bytes.mid(pos + 4, length)});
        pos += 4 + length;
    }
    return records;
}

bool IsCell(const BiffRecord& record) {
    return record.id == 0x02 || record.id == 0x03 || record.id == 0x04;
}

double DoubleAt(const QByteArray& data, int offset) {
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = bits << 8 | static_cast<quint64>(ByteAt(data, offset + i));
    }
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

BiffCell CellOf(const BiffRecord& record) {
    const QByteArray& d = record.data;
    BiffCell cell;
    cell.id = record.id;
    cell.row = WordAt(d, 0);
    cell.col = WordAt(d, 2);
    cell.hiddenLocked = ByteAt(d, 4);
    cell.font = ByteAt(d, 5);
    cell.alignment = ByteAt(d, 6);
    if (record.id == 0x02) {
        cell.value = WordAt(d, 7);
    } else if (record.id == 0x03) {
        cell.value = DoubleAt(d, 7);
    } else {
        cell.value = Windows1252::Decode(d.mid(8, ByteAt(d, 7)));
    }
    return cell;
}

QList<BiffCell> CellsOf(const QList<BiffRecord>& records) {
    QList<BiffCell> cells;
    for (const BiffRecord& r : records) {
        if (IsCell(r)) {
            cells.append(CellOf(r));
        }
    }
    return cells;
}

QList<int> IdsOf(const QList<BiffRecord>& records) {
    QList<int> ids;
    for (const BiffRecord& r : records) {
        ids.append(r.id);
    }
    return ids;
}
