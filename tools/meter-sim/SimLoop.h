#pragma once

#include "engine/LineAssembler.h"
#include "engine/OutputPacer.h"

#include <csignal>

class CommandLog;
class MeterEngine;
class PtyDevice;

// Serves the pseudo-terminal: collects command lines, answers them through the engine at
// the configured line speed only, and paces the answers at that speed.
class SimLoop {
public:
    SimLoop(PtyDevice& pty, MeterEngine& engine, CommandLog& log, int baud);

    // Runs until `stop` becomes non-zero (set by a signal handler). The signals that set
    // it must be blocked by the caller; they are let through only while waiting.
    void Run(const volatile std::sig_atomic_t& stop);

private:
    void Receive();
    void Handle(const QByteArray& line);
    void Transmit();
    void Disconnected();
    void Wait();

    PtyDevice& m_pty;
    MeterEngine& m_engine;
    CommandLog& m_log;
    int m_baud;
    LineAssembler m_lines;
    OutputPacer m_pacer;
    bool m_hungUp = false;
    bool m_blocked = false; // the device's buffer was full at the last write
};
