#include "data/ExportDataset.h"

#include "data/CExportExcel.h"
#include "data/CExportXlsx.h"
#include "data/MValSet.h"

#include <QFileInfo>
#include <QScopeGuard>

ExportType ExportTypeFor(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0
               ? ExportType::Xlsx
               : ExportType::Xls;
}

namespace {

// The writer's records and header note for the export, forgotten when it ends.
template <typename Writer>
bool Write(Writer& writer, const MValSet& set, const QString& path, const WorkProgress& progress,
           const RecordSelection& selection) {
    writer.SetProgress(progress);
    writer.SetSelectionNote(selection.Note());
    const auto forget = qScopeGuard([&] {
        writer.SetProgress({});
        writer.SetSelectionNote(QString());
    });
    return writer.SetMVals(selection.Records(set.strMVals), set.strMeter, set.strSerNo, set.strUser,
                           set.curDate, path);
}

} // namespace

bool ExportDataset(CExportExcel& xls, CExportXlsx& xlsx, const MValSet& set, const QString& path,
                   const WorkProgress& progress, const RecordSelection& selection,
                   const LimitFlags& limits) {
    if (ExportTypeFor(path) == ExportType::Xls) {
        return Write(xls, set, path, progress, selection);
    }
    xlsx.SetLimits(limits);
    const auto forget = qScopeGuard([&] { xlsx.SetLimits(LimitFlags()); });
    return Write(xlsx, set, path, progress, selection);
}
