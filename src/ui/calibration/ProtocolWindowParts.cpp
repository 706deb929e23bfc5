#include "ui/calibration/ProtocolWindowParts.h"

#include "app/CIni.h"
#include "ui/app/Pictures.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

void LoadProtocolPictures(CIni& ini, QWidget* window, QLabel* imgHead, QLabel* imgLogo) {
    const QString manufacturer =
        ini.Setting(QStringLiteral("General"), QStringLiteral("Manufacturer"), QStringLiteral("0"));
    window->setWindowIcon(ProgramIcon());
    imgHead->setPixmap(LoadPicture(QStringLiteral("Head.png")));
    const QString logo = QStringLiteral("Logo_%1.gif").arg(manufacturer);
    if (QFileInfo::exists(GraficsFile(logo))) {
        imgLogo->setPixmap(LoadPicture(logo));
    }
}

int AddCaptionRows(QGridLayout* grid, int row,
                   std::initializer_list<std::pair<QWidget*, QWidget*>> rows) {
    for (const auto& [caption, value] : rows) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row++, 1, 1, -1);
    }
    return row;
}
