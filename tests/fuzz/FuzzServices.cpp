#include "FuzzServices.h"

#include "app/CCSVFile.h"
#include "app/Windows1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

FuzzLink::FuzzLink(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& piece : bytes.split('\0')) {
        m_answers.append(Windows1252::Decode(piece));
    }
}

bool FuzzLink::COMScanPorts(int& intPortNum, QString& strBaudrate) {
    intPortNum = 1;
    strBaudrate = QStringLiteral("4800");
    return true;
}

bool FuzzLink::COMSendAndReceive(const QString&, QString& strAnswer) {
    strAnswer.clear();
    if (m_next >= m_answers.size()) {
        return false;
    }
    strAnswer = m_answers[m_next++];
    return true;
}

QString FuzzText(const uint8_t* data, size_t size) {
    return Windows1252::Decode(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

bool ReadsBackAsWritten(const QString& savedPath, const QString& textBeforeSaving) {
    QFile file(savedPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return true; // nothing to excuse: the round trip check fails on its own
    }
    const QByteArray saved = file.readAll();
    bool complete = true;
    Windows1252::Encode(textBeforeSaving, &complete);
    return complete && DecodeFileText(saved) == Windows1252::Decode(saved);
}

QString WriteFuzzFile(const uint8_t* data, size_t size, QString path) {
    if (path.isEmpty()) {
        path = QDir::tempPath() +
               QStringLiteral("/mervex-fuzz-%1.csv").arg(QCoreApplication::applicationPid());
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    return path;
}

namespace {

// The services write their configuration below the home folder: under the fuzzer that
// must be a private one, never the user's.
void UsePrivateHome() {
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/mervex-fuzz-home-XXXXXX"));
    const QByteArray root = home.path().toLocal8Bit();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/.local/share").constData(), 1);
}

} // namespace

void EnsureFuzzApplication() {
    if (!QCoreApplication::instance()) {
        UsePrivateHome();
    }
    static int argc = 1;
    static char name[] = "mervex-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                                : new QCoreApplication(argc, argv);
    (void)app;
}
