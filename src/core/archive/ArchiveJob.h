#pragma once

#include "archive/ArchiveTarget.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class ArchiveDatabase;

// Archive work on a thread of its own with a connection of its own (a Qt SQL connection
// serves only the thread that opened it), so that the thread that starts it, a window's,
// keeps going while the database waits on another program's lock or a slow server.
// The starter may stop waiting at any moment (Abandon, or destroying the job): the work then
// ends at its next check, a transaction it began is rolled back, nothing of it reaches the
// starter any more, and its thread and connection are cleaned up once the database lets go.
// Whatever the work fills must be shared with it (a std::shared_ptr it holds), since it may
// outlive the starter.
class ArchiveJob : public QObject {
    Q_OBJECT
public:
    // For the work: notes how far it is (records read, say) for the starter to show, and
    // answers false once the starter stopped waiting: the work ends at once.
    using Going = std::function<bool(qint64 done)>;
    // The work, on the job's thread, with the archive open; false with the database's
    // Error() when it failed.
    using Work = std::function<bool(ArchiveDatabase& db, const Going& going)>;

    explicit ArchiveJob(ArchiveSettings settings, QObject* parent = nullptr);
    ~ArchiveJob() override;

    void Start(Work work);
    bool Running() const;
    // After Finished: whether the work succeeded, else why not.
    bool Succeeded() const;
    QString Error() const;

    void Abandon();
    // What the work last noted through its Going.
    qint64 Progress() const;
    // The works of every job that have not ended yet, abandoned ones included.
    static int StillRunning();

signals:
    // The work ended (on the starter's thread); never after Abandon.
    void Finished();

private:
    struct State;
    std::shared_ptr<State> m_state;
};
