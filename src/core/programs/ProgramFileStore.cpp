#include "programs/ProgramFileStore.h"

#include "app/CCSVFile.h"
#include "app/ErrorTrap.h"
#include "app/Paths.h"
#include "app/Ui.h"
#include "programs/ProgramFile.h"
#include "programs/SafeDelete.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>

namespace {

const QString kProgramFileExtension = QStringLiteral(".csv");

} // namespace

QString ProgramFileStore::PathInWorkDir(const QString& strFileName) const {
    return JoinPath(m_workDir(), strFileName);
}

bool ProgramFileStore::List(QStringList& strProgNumList, QStringList& strFileNameList,
                            short& intNumProgs) {
    if (strProgNumList.size() < kMaxFiles || strFileNameList.size() < kMaxFiles) {
        return false;
    }
    return Trapped(m_ui, false, [&] {
        strProgNumList.fill(QString());
        strFileNameList.fill(QString());
        const QString dir = m_workDir();
        if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
            return false;
        }
        // The file system's own order: no sorting.
        QDirIterator files(dir, QDir::Files | QDir::Hidden);
        short count = 0;
        ProgramRecord program = EmptyProgramRecord();
        while (count < kMaxFiles && files.hasNext()) {
            const QFileInfo file = files.nextFileInfo();
            const QString name = file.fileName();
            if (name.endsWith(kProgramFileExtension, Qt::CaseSensitive) &&
                ReadListedFile(program, file)) {
                strProgNumList[count] = program[ProgramField::NO];
                strFileNameList[count] = name;
                ++count;
            }
        }
        intNumProgs = count;
        return true;
    });
}

bool ProgramFileStore::ReadListedFile(ProgramRecord& strProgram, const QFileInfo& file) {
    const QString path = file.absoluteFilePath();
    QString text;
    try {
        text = ReadWholeFile(path);
    } catch (...) {
        const QString state = QStringLiteral("%1 %2 %3")
                                  .arg(file.lastModified().toMSecsSinceEpoch())
                                  .arg(file.size())
                                  .arg(int(file.permissions()));
        if (m_reportedUnreadable.value(path) != state) {
            m_reportedUnreadable.insert(path, state);
            ReportError(m_ui, DescribeCurrentException());
        }
        return false;
    }
    m_reportedUnreadable.remove(path);
    return ParseProgramFile(text, strProgram);
}

bool ProgramFileStore::Save(const ProgramRecord& strProgram, const QString& strFilePath) {
    if (!IsProgramRecord(strProgram)) {
        return false;
    }
    return Trapped(m_ui, false, [&] {
        return CCSVFile(m_ui).WriteFile(strFilePath, FormatProgramFile(strProgram));
    });
}

bool ProgramFileStore::Read(ProgramRecord& strProgram, const QString& strFileName) {
    if (!IsProgramRecord(strProgram)) {
        return false;
    }
    return Trapped(m_ui, false, [&] {
        const QString path = PathInWorkDir(strFileName);
        QString text;
        return QFileInfo(path).isFile() && CCSVFile(m_ui).ReadFile(text, path) &&
               ParseProgramFile(text, strProgram);
    });
}

// A file that could not be moved to the trash is still there: that is a failure.
bool ProgramFileStore::Delete(const QString& strFileName) {
    return Trapped(m_ui, false, [&] {
        const QString path = PathInWorkDir(strFileName);
        return QFileInfo(path).isFile() && DeleteToRecycleBin({path}, 1) == 0;
    });
}

bool ProgramFileStore::DeleteAll() {
    return Trapped(m_ui, false, [&] {
        QStringList numbers(kMaxFiles);
        QStringList names(kMaxFiles);
        short count = 0;
        if (!List(numbers, names, count)) {
            return false;
        }
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << PathInWorkDir(names[i]);
        }
        return RecycleAllIfAllExist(paths);
    });
}
