#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The dataset of one document: the records as the meter sent them and where they came from.
struct MValSet {
    // Raw answer form: CR LF, the records separated by CR LF, then CR LF "!" CR LF ">".
    // Empty when the document holds no dataset.
    QString strMVals;
    QString strMeter, strSerNo, strUser;
    // When the import started; 1 January 2000 00:00:00 before any import or file open.
    QDateTime curDate = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
};
