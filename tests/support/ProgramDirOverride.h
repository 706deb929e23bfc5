#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Runs the command line with its program folder (and so Settings.ini) in `dir` while the
// object lives.
class ProgramDirOverride {
public:
    explicit ProgramDirOverride(const QString& dir) : m_saved(qgetenv("MERVEX_PROGRAM_DIR")) {
        qputenv("MERVEX_PROGRAM_DIR", dir.toLocal8Bit());
    }
    ~ProgramDirOverride() { qputenv("MERVEX_PROGRAM_DIR", m_saved); }
    ProgramDirOverride(const ProgramDirOverride&) = delete;
    ProgramDirOverride& operator=(const ProgramDirOverride&) = delete;

private:
    QByteArray m_saved;
};
