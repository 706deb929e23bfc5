#include "app/ErrorTrap.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "meter/CDevice.h"
#include "meter/ColumnKind.h"

#include <span>

namespace {

constexpr int Whole = kWholeColumn;
constexpr int Decimal = kDecimalColumn;
constexpr int Text = kTextColumn;
constexpr ColumnContent Date = ColumnContent::Date;
constexpr ColumnContent Time = ColumnContent::Time;

// A column title is a string number, or a fixed text when the number is 0.
struct Column {
    int title;
    const char* fixedTitle;
    short width;
    int kind;
    ColumnContent content = ColumnContent::Plain;
};

// The turbidimeters' 10 columns.
constexpr Column kArdel20[] = {
    {1037, "", 500, Whole},      {1038, "", 800, Text, Date}, {1039, "", 800, Text, Time},
    {0, "ID", 500, Whole},       {1065, "", 800, Decimal},    {1066, "", 1000, Text},
    {1067, "", 800, Text},       {1241, "", 1600, Text},      {1242, "", 1000, Text, Date},
    {1243, "", 800, Text, Time},
};

// The Ardel 60 stores a text identifier: the turbidimeter layout with a wider text ID.
constexpr qsizetype kIdColumn = 3;
constexpr Column kArdel60Id = {0, "ID", 1200, Text};

constexpr Column kPhotometer[] = {
    {1037, "", 500, Whole},      {1038, "", 800, Text, Date}, {1039, "", 800, Text, Time},
    {0, "ID", 500, Whole},       {0, "PROG", 800, Whole},     {1040, "", 1000, Text},
    {1041, "", 1000, Text},      {1042, "", 800, Text},       {1043, "", 800, Decimal},
    {1044, "", 1000, Text},      {1045, "", 800, Text},       {1046, "", 800, Decimal},
    {1047, "", 1000, Text},      {1048, "", 800, Text},       {1242, "", 1000, Text, Date},
    {1243, "", 800, Text, Time},
};

std::span<const Column> LayoutColumns(bool ardel) {
    return ardel ? std::span<const Column>(kArdel20) : std::span<const Column>(kPhotometer);
}

} // namespace

short CDevice::GetTableConfig(QStringList& strColHeaders, QList<short>& intColWidths,
                              QList<int>& curValTypes, const QString& strDeviceName) const {
    return Trapped(m_meter.ui, short{0}, [&]() -> short {
        if (strColHeaders.size() < kMinTableSize || intColWidths.size() < kMinTableSize ||
            curValTypes.size() < kMinTableSize) {
            return 0;
        }
        const bool ardel60 = IsArdel60(strDeviceName);
        const std::span<const Column> layout = LayoutColumns(IsArdel20(strDeviceName) || ardel60);
        for (qsizetype i = 0; i < qsizetype(layout.size()); ++i) {
            const Column& c = ardel60 && i == kIdColumn ? kArdel60Id : layout[i];
            strColHeaders[i] = c.title != 0 ? LoadResString(c.title) : QLatin1String(c.fixedTitle);
            intColWidths[i] = c.width;
            curValTypes[i] = c.kind;
        }
        return static_cast<short>(layout.size());
    });
}

QList<ColumnContent> CDevice::GetTableContents(const QString& strDeviceName) const {
    QList<ColumnContent> contents;
    for (const Column& c : LayoutColumns(IsArdel20(strDeviceName) || IsArdel60(strDeviceName))) {
        contents << c.content;
    }
    return contents;
}
