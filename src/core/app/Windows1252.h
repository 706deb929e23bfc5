#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The single-byte code page of every file the program reads or writes: the meter's own
// code page, so that files already kept by labs in it read back and travel unchanged.
namespace Windows1252 {

// Every byte decodes; the five unassigned bytes map to the C1 controls of the same value.
QString Decode(const QByteArray& bytes);
// The same into `out`, which has room for one character per byte; returns the end.
QChar* DecodeInto(QByteArrayView bytes, QChar* out);

// Characters outside the code page become "?". When `complete` is given it tells
// whether every character could be represented.
QByteArray Encode(QStringView text, bool* complete = nullptr);

// The byte of one character, or -1 when the code page has none.
int EncodeChar(char16_t ch);

} // namespace Windows1252
