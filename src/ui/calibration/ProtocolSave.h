#pragma once

#include <QString>
#include <functional>

class CCalProtocol;
class Ui;

// The file type of protocol files in the file dialogs.
QString ProtocolFileFilter();

// "CalProt <kind> <date>" for the held protocol; empty without a protocol date.
QString ProposedProtocolName(CCalProtocol& protocol, const QString& kind);

// The save dialog for the held protocol, proposing "CalProt <kind> <date>", then the file.
// False when cancelled or failed (a failure is reported).
bool SaveProtocolAs(Ui& ui, CCalProtocol& protocol, const QString& kind);

// The kind the held protocol's window proposes: "pH", or "Turb " and the calibration mode.
QString HeldProtocolKind(CCalProtocol& protocol);

// Asks before edited lot data that was never saved is dropped; "Oui" saves the protocol as
// `kind` first. True to go on.
bool MayDropEditedLot(Ui& ui, CCalProtocol& protocol, const std::function<QString()>& kind);
