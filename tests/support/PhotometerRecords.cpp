#include "support/PhotometerRecords.h"

QStringList WidePhotometerRecords(int count) {
    QStringList records;
    for (int i = 1; i <= count; ++i) {
        records << QStringLiteral("%1;12.07.24;09:05:%2;%3;370;GH;Cal;1:10;%4.5;°dH;> MR;"
                                  "1234.56;mg/l;> MR;01.06.24;23:59:59")
                       .arg(i)
                       .arg(i % 60, 2, 10, QLatin1Char('0'))
                       .arg(900 + i)
                       .arg(20 + i % 10);
    }
    return records;
}

QString PrintedRecordLine(const QString& record) {
    return record.split(QLatin1Char(';')).join(QStringLiteral("; ")) + QStringLiteral(";");
}

QString ReportRecordLine(const QString& record) {
    return record.split(QLatin1Char(';')).join(QLatin1Char(' ')).simplified();
}

MValSet WidePhotometerDataset(int count) {
    MValSet set;
    set.strMeter = QStringLiteral("Zentravox");
    set.strMVals = QStringLiteral("\r\n") +
                   WidePhotometerRecords(count).join(QStringLiteral("\r\n")) +
                   QStringLiteral("\r\n!\r\n>");
    return set;
}
