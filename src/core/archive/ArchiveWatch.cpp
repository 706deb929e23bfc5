#include "archive/ArchiveWatch.h"

#include <chrono>

namespace {

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

ArchiveWatch::ArchiveWatch() : m_since(NowMs()) {}

void ArchiveWatch::Progress() {
    m_since = NowMs();
}

ArchiveWatch::Call::Call(ArchiveWatch* watch) : m_watch(watch) {
    if (m_watch != nullptr) {
        m_watch->Progress();
    }
}

ArchiveWatch::Call::~Call() {
    if (m_watch != nullptr) {
        m_watch->Progress();
    }
}

qint64 ArchiveWatch::WaitingMs() const {
    return NowMs() - m_since;
}
