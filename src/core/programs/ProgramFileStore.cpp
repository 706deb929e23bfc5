// The work directory side of the program store: one program file per program.

#include "app/CCSVFile.h"
#include "app/ErrorTrap.h"
#include "app/Paths.h"
#include "app/Ui.h"
#include "programs/CUsrDefProg.h"
#include "programs/ProgramFile.h"
#include "programs/SafeDelete.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>

namespace {

const QString kProgramFileExtension = QStringLiteral(".csv");

} // namespace

QString CUsrDefProg::PathInWorkDir(const QString& strFileName) const {
    return JoinPath(WorkDir(), strFileName);
}

bool CUsrDefProg::ListPC(QStringList& strProgNumList, QStringList& strFileNameList,
                         short& intNumProgs) {
    if (strProgNumList.size() < kMaxPrograms || strFileNameList.size() < kMaxPrograms) {
        return false;
    }
    return Trapped(m_meter.ui, false, [&] {
        strProgNumList.fill(QString());
        strFileNameList.fill(QString());
        const QString dir = WorkDir();
        if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
            return false;
        }
        // The file system's own order: no sorting.
        QDirIterator files(dir, QDir::Files | QDir::Hidden);
        short count = 0;
        ProgramRecord program = EmptyProgramRecord();
        while (count < kMaxPrograms && files.hasNext()) {
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

bool CUsrDefProg::ReadListedFile(ProgramRecord& strProgram, const QFileInfo& file) {
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
            ReportError(m_meter.ui, DescribeCurrentException());
        }
        return false;
    }
    m_reportedUnreadable.remove(path);
    return ParseProgramFile(text, strProgram);
}

bool CUsrDefProg::SaveToFile(const ProgramRecord& strProgram, const QString& strFilePath) {
    if (!IsProgramRecord(strProgram)) {
        return false;
    }
    return Trapped(m_meter.ui, false, [&] {
        return CCSVFile(m_meter.ui).WriteFile(strFilePath, FormatProgramFile(strProgram));
    });
}

bool CUsrDefProg::ReadFromFile(ProgramRecord& strProgram, const QString& strFileName) {
    if (!IsProgramRecord(strProgram)) {
        return false;
    }
    return Trapped(m_meter.ui, false, [&] {
        const QString path = PathInWorkDir(strFileName);
        QString text;
        return QFileInfo(path).isFile() && CCSVFile(m_meter.ui).ReadFile(text, path) &&
               ParseProgramFile(text, strProgram);
    });
}

// A file that could not be moved to the trash is still there: that is a failure.
bool CUsrDefProg::DeleteFile(const QString& strFileName) {
    return Trapped(m_meter.ui, false, [&] {
        const QString path = PathInWorkDir(strFileName);
        return QFileInfo(path).isFile() && DeleteToRecycleBin({path}, 1) == 0;
    });
}

bool CUsrDefProg::DeleteFileAll() {
    return Trapped(m_meter.ui, false, [&] {
        QStringList numbers(kMaxPrograms);
        QStringList names(kMaxPrograms);
        short count = 0;
        if (!ListPC(numbers, names, count)) {
            return false;
        }
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << PathInWorkDir(names[i]);
        }
        return RecycleAllIfAllExist(paths);
    });
}
