#pragma once

#include "data/LinePrinter.h"

#include <QPageSize>

class QPagedPaintDevice;

// The page every printout of the program uses: 15 mm margins on each side, the given
// orientation (portrait for Automatic: the printout may turn it).
void SetUpPage(QPagedPaintDevice& device, PageOrientation orientation);

// The paper of a PDF made without a printer: Letter where the locale measures in US
// units, A4 elsewhere.
QPageSize LocalePageSize();
