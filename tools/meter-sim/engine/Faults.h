#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Misbehaviour asked for on the command line, so that tests can meet a meter that refuses
// or ignores a command, answers in pieces, answers late or sends extra characters.
struct Faults {
    static constexpr int kChunkGapMs = 30;
    static inline const QByteArray kGarbage = QByteArrayLiteral("#~");

    QStringList refuse; // command codes or whole command lines
    QStringList silent;
    int chunk = 0;   // 0: the answer goes out in one piece
    int delayMs = 0; // before the first character of every answer
    bool garbageAfter = false;

    // Takes one "--fault" value; false with a reason when it is not understood.
    bool Add(const QString& option, QString& error);

    bool Refuses(const QString& line) const { return Matches(refuse, line); }
    bool Silences(const QString& line) const { return Matches(silent, line); }

private:
    static bool Matches(const QStringList& commands, const QString& line);
};
