#include "ui/programs/WindowPictures.h"

#include "app/CIni.h"
#include "ui/app/Pictures.h"

#include <QFileInfo>
#include <QLabel>

namespace {

void ShowIfPresent(QLabel* label, const QString& path) {
    if (QFileInfo::exists(path)) {
        label->setPixmap(QPixmap(path));
    }
}

} // namespace

void LoadWindowPictures(CIni& ini, QWidget* window, QLabel* header, QLabel* logo) {
    window->setWindowIcon(ProgramIcon());
    ShowIfPresent(header, GraficsFile(QStringLiteral("Head.png")));
    const QString manufacturer =
        ini.Setting(QStringLiteral("General"), QStringLiteral("Manufacturer"), QStringLiteral("0"));
    ShowIfPresent(logo, GraficsFile(QStringLiteral("Logo_%1.gif").arg(manufacturer)));
}
