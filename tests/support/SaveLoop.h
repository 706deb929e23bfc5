#pragma once

#include <QString>
#include <memory>
#include <optional>

class MeterLink;
class Services;

// Large files saved again and again (by mervex-save-loop) until a test kills the process
// in the middle of a save. Generation g of each kind is a fixed function of g and carries
// the tag "GEN-" + g in six digits, so that a file found afterwards can be told to be
// exactly one complete generation.
namespace SaveLoop {

enum class Kind { Dataset, Config, Program, Protocol };

std::optional<Kind> KindNamed(const QString& name);
QString KindName(Kind kind);

QString Tag(int generation);
// The generation a file's text names; -1 when it names none.
int GenerationOf(const QByteArray& fileBytes);

// The meter link the services of a save loop need: a scripted meter that hands out a
// calibration protocol (a protocol can only be saved once one has been fetched).
std::unique_ptr<MeterLink> Link();

// Saves generation g through the program's own operation: false when it failed (its
// messages, if any, went to the services' Ui). A dataset, program or protocol file goes to `target`; the
// configuration file lives where the services keep it.
bool Save(Services& services, Kind kind, const QString& target, int generation);

// The work directory that generation g of the configuration names.
QString WorkDirOf(int generation);
// The number of the program that every generation of a program file holds.
QString ProgramNumber();

} // namespace SaveLoop
