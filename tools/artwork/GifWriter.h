#pragma once

#include <QByteArray>
#include <QImage>

// Qt reads GIF but does not write it: a small GIF89a encoder (one frame, a 256-colour
// palette, LZW compressed, optional transparent colour from the image's alpha).
QByteArray EncodeGif(const QImage& image);
