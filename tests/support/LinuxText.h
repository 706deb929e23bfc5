#pragma once

#include "app/Windows1252.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A file of the program's own (Windows-1252, CR LF) as Linux tools re-save it: LF line
// ends, UTF-8 with or without a byte order mark, and CR LF kept but a BOM put in front.
inline QList<QByteArray> LinuxCopies(const QByteArray& original) {
    const QString text = Windows1252::Decode(original);
    QString lf = text;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray bom = QByteArrayLiteral("\xEF\xBB\xBF");
    return {Windows1252::Encode(lf), lf.toUtf8(), bom + lf.toUtf8(), bom + text.toUtf8()};
}
