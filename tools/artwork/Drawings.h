#pragma once

#include <QImage>

// The program's pictures, drawn for Mervex: icons, tool bar images, logo and About art.
QImage DrawMainIcon(int size = 32);
QImage DrawFinger();
QImage DrawLogo();
QImage DrawLab();
QImage DrawHead();
QImage DrawToolImage(const QString& key);
