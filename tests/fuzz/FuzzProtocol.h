#pragma once

class CCalProtocol;
class Services;

// What the protocol windows and the printout ask of the protocol held: the getters of the
// other kind refuse, and the lists they fill hold the points they report.
void CheckProtocolViews(CCalProtocol& protocol);

// A protocol held saves to a file that reads back; saving what was read gives the same
// file again (a field's separators and line breaks are replaced once, on the first save).
void CheckProtocolFileRoundTrip(Services& services);
