#include "ui/app/Pictures.h"

#include "app/Errors.h"
#include "app/Paths.h"
#include "app/RunTimeErrors.h"

QString GraficsFile(const QString& name) {
    return ProgramFile(QStringLiteral("Grafics/") + name);
}

QPixmap LoadPicture(const QString& name) {
    const QString path = GraficsFile(name);
    QPixmap picture(path);
    if (picture.isNull()) {
        throw RunTimeError(RtError::InvalidPicture, path);
    }
    return picture;
}

QIcon ProgramIcon() {
    return QIcon(GraficsFile(QStringLiteral("Main.ico")));
}
