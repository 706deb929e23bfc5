#pragma once

#include "support/QtPrint.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, removed with it.
class TempDir {
public:
    TempDir() : m_dir(QDir::tempPath() + QStringLiteral("/mervex-XXXXXX")) {}
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
