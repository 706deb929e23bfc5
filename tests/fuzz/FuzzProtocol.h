#pragma once

#include <QStringList>

class CCalProtocol;
class Services;

// Everything the protocol windows and the printout can ask of the protocol held, as texts
// (a getter that refuses gives "0" and leaves its texts empty). Checks on the way that the
// getters of the other kind refuse and that the lists hold the points reported.
QStringList ProtocolView(CCalProtocol& protocol);

// A protocol held saves to a file that reads back to the same view, but for a field's
// separators and line breaks, which the file replaces; saving what was read gives the
// same file again.
void CheckProtocolFileRoundTrip(Services& services);
