#pragma once

#include "app/RunTimeErrors.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>

// The one way the program creates or replaces a file, so that a failed save leaves the
// previous file as it was and says why it failed.
//
// The content goes to a new file beside the target, which takes the target's name in one
// step once it is complete. A folder that refuses new files may still hold a target the
// user can write: the content is then collected in the system's temporary folder, the old
// content is copied there too, the target's blocks for the whole new size are reserved, and
// only then is the content copied over the old one. When the disk cannot hold the new size,
// or the temporary folder the old content, the target is left untouched; a write that fails
// over the old content (a device error) puts it back, and when even that fails the copy
// stays in the temporary folder and the failure names it.
//
// Every failure names the file and the system's reason in the program's language, taken
// from the system's error number (a short write leaves no error in Qt's file classes).
class SafeSaveFile : public QIODevice {
public:
    explicit SafeSaveFile(const QString& path);
    ~SafeSaveFile() override; // a content never committed is discarded
    SafeSaveFile(const SafeSaveFile&) = delete;
    SafeSaveFile& operator=(const SafeSaveFile&) = delete;

    // Starts a new content; throws FileFailure when no file can be written for the target.
    void Begin();
    // The file that receives the content, for writers that open files by name: what they
    // leave in it is what Commit puts in place.
    QString WorkingFileName() const { return m_workingName; }
    // Puts the content in place of the target and closes; throws FileFailure (and leaves the
    // target as it was) when the content is incomplete or cannot be put in place.
    void Commit();
    // Forgets the content: the target keeps what it held.
    void Discard();

    // The first write failure, if any (the content is then bound to fail at Commit).
    const std::optional<FileFailure>& Failure() const { return m_failure; }
    const QString& Path() const { return m_path; }

    // Creates or replaces `path` with `bytes` in one call.
    static void WriteWhole(const QString& path, const QByteArray& bytes);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool WriteOut(const char* data, qint64 size);
    void FlushBuffer();
    void Fail(int error);
    void Fail(const FileFailure& failure);
    void PutBeside();
    void PutInPlace();
    void CloseWorking();

    QString m_path;        // the target, symbolic links followed
    QString m_workingName; // the file being written
    int m_fd = -1;
    bool m_inPlace = false; // the working file lies in the system's temporary folder
    QByteArray m_buffer;    // small writes (a PDF's objects) collected into larger ones
    std::optional<FileFailure> m_failure;
};
