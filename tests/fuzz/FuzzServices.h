#pragma once

#include "app/Services.h"
#include "app/Ui.h"
#include "meter/MeterLink.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

// A Ui that answers nothing and shows nothing: parsers under the fuzzer report their
// errors into the void and must simply return.
class SilentUi : public Ui {
public:
    MsgResult Message(const QString&, const QString&, MsgIcon, MsgButtons,
                      MsgResult defaultButton) override {
        return defaultButton;
    }
    std::optional<QString> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QString> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return {};
    }
    void Yield() override {}
};

// A meter whose answers are the fuzzer's bytes: the input is cut at every NUL byte and the
// pieces answer the commands in the order they are sent; when the pieces run out the meter
// falls silent.
class FuzzLink : public MeterLink {
public:
    FuzzLink(const uint8_t* data, size_t size);

    bool COMScanPorts(int& intPortNum, QString& strBaudrate) override;
    bool COMInit(int, const QString&, int) override { return true; }
    bool COMSendAndReceive(const QString& strSend, QString& strAnswer) override;
    bool COMChangeAnswerTime(int) override { return true; }
    bool COMDeinit() override { return true; }
    bool COMStop() override { return true; }
    bool COMContinue() override { return true; }
    bool COMStopped() const override { return false; }

private:
    QList<QString> m_answers;
    qsizetype m_next = 0;
};

// The services of the program around a silent Ui and the fuzzer's meter.
struct FuzzServices {
    FuzzServices(const uint8_t* data, size_t size)
        : services(ui, std::make_unique<FuzzLink>(data, size)) {}
    SilentUi ui;
    Services services;
};

// The input as a file's text (Windows-1252), and a file holding exactly the input bytes
// (in the temporary folder unless a path is given).
QString FuzzText(const uint8_t* data, size_t size);
QString WriteFuzzFile(const uint8_t* data, size_t size, QString path = QString());

// Whether a file the program saved reads back as it was written. Files are written in
// Windows-1252, but read by one rule for files from every tool: bytes that also form valid
// UTF-8 with non-ASCII characters read as UTF-8, and text outside the code page was saved
// as "?". The round trip through a file is exact only where neither happens.
bool ReadsBackAsWritten(const QString& savedPath, const QString& textBeforeSaving);

// Stops the fuzzer with a crash report (and the input) when an invariant does not hold.
inline void FuzzCheck(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// Qt needs an application object for file and locale services.
void EnsureFuzzApplication();
