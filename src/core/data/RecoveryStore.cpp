#include "data/RecoveryStore.h"

#include "app/TextTables.h"
#include "data/CMeasVal.h"
#include "data/MValSet.h"
#include "data/ProposedName.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kExtension = QStringLiteral(".csv");

} // namespace

RecoveryStore::RecoveryStore(QString folder) : m_folder(std::move(folder)) {}

QString RecoveryStore::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

QString RecoveryStore::FileNameFor(const MValSet& set) const {
    QStringList parts;
    for (const QString& part : {set.strMeter.trimmed(), set.strSerNo.trimmed()}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    parts << set.curDate.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString stem = FileNameSafe(parts.join(QLatin1Char(' ')));
    const QDir folder(m_folder);
    QString name = stem + kExtension;
    for (int n = 2; folder.exists(name); ++n) {
        name = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(kExtension);
    }
    return name;
}

QString RecoveryStore::Write(CMeasVal& measVal, const MValSet& set) const {
    QDir().mkpath(m_folder);
    const QString path = QDir(m_folder).filePath(FileNameFor(set));
    return measVal.SaveFile(set, path) ? path : QString();
}

QStringList RecoveryStore::List() const {
    QStringList paths;
    const QFileInfoList files = QDir(m_folder).entryInfoList(
        {QStringLiteral("*") + kExtension}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& file : files) {
        paths << file.filePath();
    }
    return paths;
}

void RecoveryStore::Remove(const QString& path) {
    if (!path.isEmpty()) {
        QFile::remove(path);
    }
}

MsgResult AskToRecover(Ui& ui, const QStringList& paths) {
    QStringList lines{LoadResString(1626)};
    for (const QString& path : paths) {
        lines << QFileInfo(path).completeBaseName();
    }
    lines << QString() << LoadResString(1625);
    return ui.Message(lines.join(QStringLiteral("\r\n")), LoadResString(1095), MsgIcon::Question,
                      MsgButtons::YesNoCancel, MsgResult::Yes);
}
