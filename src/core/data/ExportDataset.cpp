#include "data/ExportDataset.h"

#include "app/Services.h"
#include "data/MValSet.h"

#include <QFileInfo>

ExportType ExportTypeFor(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0
               ? ExportType::Xlsx
               : ExportType::Xls;
}

bool ExportDataset(Services& services, const MValSet& set, const QString& path) {
    if (ExportTypeFor(path) == ExportType::Xlsx) {
        return services.exportXlsx.SetMVals(set.strMVals, set.strMeter, set.strSerNo, set.strUser,
                                            set.curDate, path);
    }
    return services.exportExcel.SetMVals(set.strMVals, set.strMeter, set.strSerNo, set.strUser,
                                         set.curDate, path);
}
