#include "data/ExportSheet.h"

#include "app/DateText.h"
#include "app/TextTables.h"
#include "meter/CDevice.h"
#include "meter/ColumnKind.h"

ExportLayout ExportLayoutFor(const CDevice& device, const QString& strMeter) {
    ExportLayout layout;
    layout.titles = QStringList(kExportMaxColumns);
    layout.widths = QList<short>(kExportMaxColumns);
    layout.kinds = QList<int>(kExportMaxColumns);
    layout.count = device.GetTableConfig(layout.titles, layout.widths, layout.kinds, strMeter);
    if (layout.count > 0) {
        layout.contents = device.GetTableContents(strMeter);
    }
    return layout;
}

QStringList ExportHeaderLines(const QString& strMeter, const QString& strSerNo,
                              const QString& strUser, const QDateTime& curDate,
                              const QString& strSelection) {
    const QString blank = QStringLiteral(" ");
    QStringList lines{
        LoadResString(1063) + blank + strMeter,
        LoadResString(1064) + blank + strSerNo,
        LoadResString(1176) + blank + strUser,
        LoadResString(1049) + blank + ShortDateText(curDate.date()),
        LoadResString(1050) + blank + LongTimeText(curDate.time()),
    };
    if (!strSelection.isEmpty()) {
        lines << LoadResString(1644) + blank + strSelection;
    }
    return lines;
}
