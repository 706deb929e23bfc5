#pragma once

#include <QString>

// The pseudo-terminal the emulated meter sits on. The program opens the slave side as its
// serial port; the emulator reads and writes the master side.
class PtyDevice {
public:
    PtyDevice(); // throws std::runtime_error when no pseudo-terminal can be had
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    QString path() const { return m_path; }
    int master() const { return m_master; }

    // The line speed the program has set on its side, 0 when it is not a known rate.
    int LineSpeed() const;

    // Our own slave handle keeps the device usable until the program has opened it; after
    // that it would only stand in the way of the program's exclusive use.
    void ReleaseHold();

private:
    int m_master = -1;
    int m_hold = -1;
    QString m_path;
};
