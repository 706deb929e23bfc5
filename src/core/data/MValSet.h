#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

// The meter (by its serial number; the model is the dataset's) and the user of a record
// read back from the measurement archive, and what the archive knows it by: its own id,
// the import that brought it and whether it still counts (an invalid record keeps the
// reason it was set aside). Held in memory only: no dataset file or export carries them.
struct RecordOrigin {
    QString serial, user;
    qint64 recordId = 0; // 0: not known (a dataset file)
    qint64 importId = 0;
    bool valid = true;
    QString invalidReason{};
    bool operator==(const RecordOrigin&) const = default;
};

// The dataset of one document: the records as the meter sent them and where they came from.
struct MValSet {
    // Raw answer form: CR LF, the records separated by CR LF, then CR LF "!" CR LF ">".
    // Empty when the document holds no dataset.
    QString strMVals;
    QString strMeter, strSerNo, strUser;
    // When the import started; 1 January 2000 00:00:00 before any import or file open.
    QDateTime curDate = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    // Records read back from the archive remember where each came from, in the records'
    // order, so that archiving them again files each under its own meter; empty for an
    // import or a file, whose records are all the header's meter's.
    QList<RecordOrigin> origins{};
};
