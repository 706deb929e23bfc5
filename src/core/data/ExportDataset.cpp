#include "data/ExportDataset.h"

#include "app/Services.h"
#include "data/MValSet.h"

#include <QFileInfo>
#include <QScopeGuard>

ExportType ExportTypeFor(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0
               ? ExportType::Xlsx
               : ExportType::Xls;
}

bool ExportDataset(Services& services, const MValSet& set, const QString& path,
                   const WorkProgress& progress) {
    if (ExportTypeFor(path) == ExportType::Xlsx) {
        services.exportXlsx.SetProgress(progress);
        const auto forget = qScopeGuard([&] { services.exportXlsx.SetProgress({}); });
        return services.exportXlsx.SetMVals(set.strMVals, set.strMeter, set.strSerNo, set.strUser,
                                            set.curDate, path);
    }
    services.exportExcel.SetProgress(progress);
    const auto forget = qScopeGuard([&] { services.exportExcel.SetProgress({}); });
    return services.exportExcel.SetMVals(set.strMVals, set.strMeter, set.strSerNo, set.strUser,
                                         set.curDate, path);
}
