#include "archive/ArchiveWatch.h"

#include <chrono>

namespace {

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

ArchiveWatch::Call::Call(ArchiveWatch* watch) : m_watch(watch) {
    if (m_watch != nullptr) {
        m_watch->m_since = NowMs();
    }
}

ArchiveWatch::Call::~Call() {
    if (m_watch != nullptr) {
        m_watch->m_since = -1;
    }
}

qint64 ArchiveWatch::WaitingMs() const {
    const qint64 since = m_since;
    return since < 0 ? 0 : NowMs() - since;
}
