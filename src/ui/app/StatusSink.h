#pragma once

class QString;

// The main window's status bar, as the windows that report the meter, the user or what an
// operation did write it.
class StatusSink {
public:
    virtual ~StatusSink() = default;

    virtual void SetStatusBarCOM(const QString& strCOMPort, const QString& strBaudrate) = 0;
    virtual void SetStatusBarDevice(const QString& strDeviceName, const QString& strSerNum) = 0;
    virtual void SetStatusBarUserName(const QString& strUserName) = 0;
    // A passing note beside the status bar's panels (what the archive took).
    virtual void ShowStatusNote(const QString& text) = 0;

protected:
    StatusSink() = default;
    StatusSink(const StatusSink&) = default;
    StatusSink& operator=(const StatusSink&) = default;
};
