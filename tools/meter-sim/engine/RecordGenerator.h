#pragma once

#include "engine/MeterModel.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The data memory of a meter that has been in use for a while: `count` measurement
// records in the layout of the model's family (16 fields for photometers, 10 for the
// turbidimeters), Windows-1252 text without the framing. The same family and count always
// give the same records, and a longer memory starts with the records of a shorter one.
QList<QByteArray> GenerateRecords(const QString& model, int count);

// The record lines of a data memory file: one record per line (LF or CR LF), kept as they
// are, empty lines included; the line break after the last line ends it and adds nothing.
QList<QByteArray> RecordLines(const QByteArray& content);
