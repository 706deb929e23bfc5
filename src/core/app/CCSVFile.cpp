#include "app/CCSVFile.h"

#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "app/SafeSaveFile.h"
#include "app/Windows1252.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

void WriteWholeFile(const QString& path, const QString& text) {
    WriteWholeFileBytes(path, Windows1252::Encode(text));
}

void WriteWholeFileBytes(const QString& path, const QByteArray& bytes) {
    SafeSaveFile::WriteWhole(path, bytes);
}

QString ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(path, file, false);
    }
    return WithCrLfLineEnds(DecodeFileText(file.readAll()));
}

QString DecodeFileText(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Bom)) {
        return QString::fromUtf8(bytes.mid(kUtf8Bom.size()));
    }
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            return text;
        }
    }
    return Windows1252::Decode(bytes);
}

QString WithCrLfLineEnds(const QString& text) {
    if (!text.contains(QLatin1Char('\n'))) {
        return text;
    }
    QString out;
    out.reserve(text.size() + text.size() / 16);
    QChar previous;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\n') && previous != QLatin1Char('\r')) {
            out += QLatin1Char('\r');
        }
        out += ch;
        previous = ch;
    }
    return out;
}

QByteArray EncodeFileTextExactly(const QString& text) {
    bool complete = false;
    QByteArray bytes = Windows1252::Encode(text, &complete);
    return complete ? bytes : kUtf8Bom + text.toUtf8();
}

bool CCSVFile::WriteFile(const QString& strFileName, const QString& strStream) {
    return Trapped(m_ui, false, [&] {
        WriteWholeFile(strFileName, strStream);
        return true;
    });
}

bool CCSVFile::ReadFile(QString& strStream, const QString& strFileName) {
    return Trapped(m_ui, false, [&] {
        strStream = ReadWholeFile(strFileName);
        return true;
    });
}
