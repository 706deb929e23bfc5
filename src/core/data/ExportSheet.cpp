#include "data/ExportSheet.h"

#include "app/DateText.h"
#include "app/TextTables.h"
#include "meter/CDevice.h"

ExportLayout ExportLayoutFor(const CDevice& device, const QString& strMeter) {
    ExportLayout layout;
    layout.record = device.TableLayout(strMeter);
    layout.titles = layout.record.Titles();
    layout.count = layout.record.Count();
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
