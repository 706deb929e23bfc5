#pragma once

#include <QString>

class Services;

// Sends the printouts of `services` into the PDF file at `path` (the command line's only
// printer).
void PrintIntoPdf(Services& services, const QString& path);
