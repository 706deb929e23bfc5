#pragma once

#include <QString>
#include <optional>

class Services;

// Large files saved again and again (by mervex-save-loop) until a test kills the process
// in the middle of a save. Generation g of each kind is a fixed function of g and carries
// the tag "GEN-" + g in six digits, so that a file found afterwards can be told to be
// exactly one complete generation.
namespace SaveLoop {

enum class Kind { Dataset, Config, Program };

std::optional<Kind> KindNamed(const QString& name);
QString KindName(Kind kind);

QString Tag(int generation);
// The generation a file's text names; -1 when it names none.
int GenerationOf(const QByteArray& fileBytes);

// Saves generation g through the program's own operation; a failure is reported through
// the services' Ui. A dataset or program file goes to `target`; the configuration file
// lives where the services keep it.
void Save(Services& services, Kind kind, const QString& target, int generation);

// The work directory that generation g of the configuration names.
QString WorkDirOf(int generation);
// The number of the program that every generation of a program file holds.
QString ProgramNumber();

} // namespace SaveLoop
