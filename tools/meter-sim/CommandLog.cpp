#include "CommandLog.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

CommandLog::CommandLog(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    m_file = std::fopen(path.toLocal8Bit().constData(), "ab");
    if (m_file == nullptr) {
        throw std::runtime_error(QStringLiteral("cannot open the log %1: %2")
                                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)))
                                     .toStdString());
    }
}

CommandLog::~CommandLog() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void CommandLog::Record(const QByteArray& line) {
    if (m_file == nullptr) {
        return;
    }
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), m_file);
    std::fputc('\n', m_file);
    std::fflush(m_file);
}
