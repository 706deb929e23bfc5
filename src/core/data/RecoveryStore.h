#pragma once

#include "app/Ui.h"

#include <QString>
#include <QStringList>

class CMeasVal;
struct MValSet;

// Copies of imported datasets that were never saved, kept in the per-user data folder
// (QStandardPaths::AppDataLocation + "/recovery") so that a program ended by a signal, a
// shutdown or a crash loses no import. A copy is a dataset file as Save writes it; it goes
// once its dataset is saved or dropped by the user's choice, and the next start offers the
// copies that are left.
class RecoveryStore {
public:
    explicit RecoveryStore(QString folder = DefaultFolder());
    static QString DefaultFolder();
    const QString& Folder() const { return m_folder; }

    // "MODEL SERIAL YYYY-MM-DD HH-MM-SS.csv" of the import's start, made file-name safe, with
    // " (2)", " (3)"… when the folder holds that name already.
    QString FileNameFor(const MValSet& set) const;
    // Writes `set` under a fresh name; its path, or empty when the writing failed (reported
    // by `measVal`, as any failed save).
    QString Write(CMeasVal& measVal, const MValSet& set) const;
    // The copies, oldest first.
    QStringList List() const;
    // Removes one copy; a copy that is gone already is no failure.
    static void Remove(const QString& path);

private:
    QString m_folder;
};

// The question of the start when copies are left, naming them: "Oui" opens them, "Non"
// removes them, "Annuler" (also Escape) keeps them for the next start.
MsgResult AskToRecover(Ui& ui, const QStringList& paths);
