#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

// The record of every command line received, one per line, on disk at once so that a test
// can read it while the emulator runs. Without a file name nothing is recorded.
class CommandLog {
public:
    explicit CommandLog(const QString& path); // throws std::runtime_error
    ~CommandLog();
    CommandLog(const CommandLog&) = delete;
    CommandLog& operator=(const CommandLog&) = delete;

    void Record(const QByteArray& line);

private:
    std::FILE* m_file = nullptr;
};
