#include "support/DatasetFiles.h"

#include "support/TempDir.h"

void WritePhotometerFile(const QString& path, const QString& serial, const QStringList& records) {
    const QString text = QStringLiteral("METER;S/N;USER;DATE;TIME\r\nZentravox;%1;Marc;7/12/2024;"
                                        "10:0:0\r\n\r\nNO;DATE;TIME;ID;PROG;CIT;AR/BV;DIL;VALUE1;"
                                        "UNIT1;VALID1;VALUE2;UNIT2;VALID2\r\n")
                             .arg(serial) +
                         records.join(QStringLiteral("\r\n"));
    WriteBytes(path, text.toLatin1());
}

QStringList ArchivePhotometerRecords(int first, int count) {
    QStringList records;
    records.reserve(count);
    for (int i = first; i < first + count; ++i) {
        records << QStringLiteral("%1;%2.%3.24;%4:%5:00;%6;%7;NO3-N;;1:1;%8;mg/l;OK;;;;"
                                  "01.01.24;07:00:00")
                       .arg(i % 10000)
                       .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                       .arg(1 + (i / 28) % 12, 2, 10, QLatin1Char('0'))
                       .arg((i / 336) % 24, 2, 10, QLatin1Char('0'))
                       .arg((i / 8064) % 60, 2, 10, QLatin1Char('0'))
                       .arg(i)
                       .arg(300 + i % 10)
                       .arg(i / 100.0, 0, 'f', 2);
    }
    return records;
}
