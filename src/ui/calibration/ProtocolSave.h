#pragma once

#include <QString>
#include <functional>

class Services;

// The file type of protocol files in the file dialogs.
QString ProtocolFileFilter();

// "CalProt <kind> <date>" for the held protocol; empty without a protocol date.
QString ProposedProtocolName(Services& services, const QString& kind);

// The save dialog for the held protocol, proposing "CalProt <kind> <date>", then the file.
// False when cancelled or failed (a failure is reported).
bool SaveProtocolAs(Services& services, const QString& kind);

// The kind the held protocol's window proposes: "pH", or "Turb " and the calibration mode.
QString HeldProtocolKind(Services& services);

// Asks before edited lot data that was never saved is dropped; "Oui" saves the protocol as
// `kind` first. True to go on.
bool MayDropEditedLot(Services& services, const std::function<QString()>& kind);
