#pragma once

#include <QList>
#include <QStringList>
#include <utility>

class QMimeData;
class Ui;

// What a list of files from outside the program's own dialogs (the command line, a drop,
// the recent files) opens: dataset files, one document each, and protocol files with their
// kind (true: pH).
struct FilesToOpen {
    QStringList datasets;
    QList<std::pair<QString, bool>> protocols;
};

// Sorts the files by kind; a file that does not exist is reported and dropped from the
// recent files.
FilesToOpen SortFilesToOpen(Ui& ui, const QStringList& paths);

// The local files of a drag, or none when it carries no file.
QStringList DroppedFiles(const QMimeData* data);
