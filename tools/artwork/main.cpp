// Writes the program's pictures into a folder and reads each one back to check it.
#include "Drawings.h"
#include "GifWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QTextStream>

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool Save(const QDir& dir, const QString& name, const QImage& image) {
    const QString path = dir.filePath(name);
    const bool written =
        name.endsWith(QLatin1String(".gif"))
            ? WriteFile(path, EncodeGif(image))
            : image.save(path, nullptr, name.endsWith(QLatin1String(".jpg")) ? 92 : -1);
    QImageReader reader(path);
    const QImage back = reader.read();
    // The GIF must give back exactly the palette image it was made of.
    const QImage expected = name.endsWith(QLatin1String(".gif"))
                                ? image.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither)
                                      .convertToFormat(QImage::Format_ARGB32)
                                : back.convertToFormat(QImage::Format_ARGB32);
    const bool ok = written && back.size() == image.size() &&
                    back.convertToFormat(QImage::Format_ARGB32) == expected;
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << "\n";
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        QTextStream(stderr) << "usage: mervex-artwork OUTPUT-FOLDER [DESKTOP-ICON.png]\n";
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath(QStringLiteral("."));
    bool ok = Save(dir, QStringLiteral("Main.ico"), DrawMainIcon());
    ok &= Save(dir, QStringLiteral("Finger.ico"), DrawFinger());
    ok &= Save(dir, QStringLiteral("Logo_0.gif"), DrawLogo());
    ok &= Save(dir, QStringLiteral("Lab.jpg"), DrawLab());
    ok &= Save(dir, QStringLiteral("Head.png"), DrawHead());
    for (const char* key : {"New", "Open", "Save", "Print", "Import", "Export", "UsrProgs"}) {
        ok &= Save(dir, QLatin1String(key) + QStringLiteral(".png"),
                   DrawToolImage(QLatin1String(key)));
    }
    if (argc == 3) {
        // The desktop's menus and docks want the program's icon far larger than a window's.
        const QFileInfo icon(QString::fromLocal8Bit(argv[2]));
        ok &= Save(icon.dir(), icon.fileName(), DrawMainIcon(256));
    }
    return ok ? 0 : 1;
}
