#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The meter emulator as a test fixture: started with the given options (and a private
// command log), ready once it has named its device, terminated when the object goes.
class MeterSim {
public:
    explicit MeterSim(const QStringList& args = {});
    ~MeterSim();
    MeterSim(const MeterSim&) = delete;
    MeterSim& operator=(const MeterSim&) = delete;

    QString device() const { return m_device; }
    // Every command line received so far, without CR LF, in order.
    QStringList log() const;
    bool running() const { return m_process.state() == QProcess::Running; }
    // The emulator's process, for tests that stop or kill it behind the program's back.
    qint64 pid() const { return m_process.processId(); }

    // What the emulator wrote on its error output (for a failed start).
    QString errors() const;

private:
    QTemporaryDir m_dir;
    mutable QProcess m_process;
    QString m_device;
};
