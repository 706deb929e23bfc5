#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures of the folder "Grafics" beside the program.
QString GraficsFile(const QString& name);
// The picture, or a MervexError naming the file when it is missing or unreadable.
QPixmap LoadPicture(const QString& name);
// The windows' icon "Main.ico"; a missing icon gives the platform's default.
QIcon ProgramIcon();
