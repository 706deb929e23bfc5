#pragma once

#include "meter/MeterLink.h"

#include <QStringList>
#include <memory>

class Ui;

// The meter link of the command line: the serial link over the port catalogue, probing
// only the given devices when there are any.
std::unique_ptr<MeterLink> MakeCliLink(Ui& ui, const QStringList& ports);
