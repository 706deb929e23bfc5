#pragma once

#include <QString>
#include <memory>

// Why a port could not be opened or set up.
enum class SerialPortError { None, NotFound, PermissionDenied, Busy, Other };

// One serial port instance as the link uses it: opened on a device, set to a baud rate
// with 8 data bits, no parity, 1 stop bit and RTS/CTS handshake, written and read as text.
// The real port is a QSerialPort; tests use an in-memory line.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // False with Error() and ErrorString() set when the device cannot be opened.
    virtual bool Open(const QString& device) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Baud rate as decimal text ("4800"), then 8N1 and RTS/CTS.
    virtual bool Configure(const QString& baud) = 0;
    // Discards pending output, then pending input.
    virtual void Clear() = 0;
    // Writes the text as Windows-1252 bytes.
    virtual bool Write(const QString& text) = 0;
    // Everything received since the previous read, decoded.
    virtual QString ReadAll() = 0;
    // Waits at most `ms` milliseconds for input to arrive; true when some is there.
    virtual bool WaitForData(int ms) = 0;
    // True once the device has gone away behind the open port (unplugged, switched off, the
    // far end of a pseudo-terminal closed): nothing will arrive until it is opened again.
    virtual bool Lost() const = 0;

    virtual SerialPortError Error() const = 0;
    virtual QString ErrorString() const = 0;
};

// A port on the system's serial devices.
std::unique_ptr<SerialPort> MakeQtSerialPort();
