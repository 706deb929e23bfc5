#include "meter/RecordLayout.h"

#include "app/TextTables.h"

#include <algorithm>

namespace {

using P = RecordPart;
constexpr int Whole = kWholeColumn;
constexpr int Decimal = kDecimalColumn;
constexpr int Text = kTextColumn;
constexpr ColumnContent Plain = ColumnContent::Plain;
constexpr ColumnContent Date = ColumnContent::Date;
constexpr ColumnContent Time = ColumnContent::Time;

// The turbidimeters measure one parameter: 10 columns.
constexpr LayoutColumn kTurbidimeter[] = {
    {P::Number, 1037, "", 500, Whole, Plain},   {P::Date, 1038, "", 800, Text, Date},
    {P::Time, 1039, "", 800, Text, Time},       {P::Id, 0, "ID", 500, Whole, Plain},
    {P::Value1, 1065, "", 800, Decimal, Plain}, {P::Unit1, 1066, "", 1000, Text, Plain},
    {P::State1, 1067, "", 800, Text, Plain},    {P::Flags, 1241, "", 1600, Text, Plain},
    {P::CalDate, 1242, "", 1000, Text, Date},   {P::CalTime, 1243, "", 800, Text, Time},
};

// The Ardel 60 stores a text identifier: the turbidimeter layout with a wider text ID.
constexpr LayoutColumn kArdel60Id = {P::Id, 0, "ID", 1200, Text, Plain};

// The photometers name the method by program number and citation form, and may give two
// results of one measurement: 16 columns.
constexpr LayoutColumn kPhotometer[] = {
    {P::Number, 1037, "", 500, Whole, Plain},    {P::Date, 1038, "", 800, Text, Date},
    {P::Time, 1039, "", 800, Text, Time},        {P::Id, 0, "ID", 500, Whole, Plain},
    {P::Program, 0, "PROG", 800, Whole, Plain},  {P::Citation, 1040, "", 1000, Text, Plain},
    {P::Reference, 1041, "", 1000, Text, Plain}, {P::Dilution, 1042, "", 800, Text, Plain},
    {P::Value1, 1043, "", 800, Decimal, Plain},  {P::Unit1, 1044, "", 1000, Text, Plain},
    {P::State1, 1045, "", 800, Text, Plain},     {P::Value2, 1046, "", 800, Decimal, Plain},
    {P::Unit2, 1047, "", 1000, Text, Plain},     {P::State2, 1048, "", 800, Text, Plain},
    {P::CalDate, 1242, "", 1000, Text, Date},    {P::CalTime, 1243, "", 800, Text, Time},
};

} // namespace

RecordLayout::RecordLayout(MeterFamily family, const LayoutColumn* columns, int count)
    : m_family(family), m_count(count) {
    std::copy(columns, columns + count, m_columns.begin());
    for (int c = 0; c < count; ++c) {
        m_at[size_t(columns[c].part)] = c;
    }
}

RecordLayout RecordLayout::Of(MeterFamily family) {
    switch (family) {
    case MeterFamily::Ardel20:
        return RecordLayout(family, kTurbidimeter, int(std::size(kTurbidimeter)));
    case MeterFamily::Ardel60: {
        RecordLayout layout(family, kTurbidimeter, int(std::size(kTurbidimeter)));
        layout.m_columns[size_t(layout.Id())] = kArdel60Id;
        return layout;
    }
    case MeterFamily::Photometer:
        break;
    }
    return RecordLayout(MeterFamily::Photometer, kPhotometer, int(std::size(kPhotometer)));
}

RecordLayout RecordLayout::ForModel(const QString& model) {
    const MeterModel* known = FindMeterModel(model);
    return Of(known != nullptr ? known->family : MeterFamily::Photometer);
}

RecordLayout RecordLayout::ForKinds(const QList<int>& kinds) {
    for (const MeterFamily family :
         {MeterFamily::Photometer, MeterFamily::Ardel20, MeterFamily::Ardel60}) {
        const RecordLayout layout = Of(family);
        if (layout.Kinds() == kinds) {
            return layout;
        }
    }
    return Of(kinds.size() >= int(std::size(kPhotometer)) ? MeterFamily::Photometer
                                                          : MeterFamily::Ardel20);
}

QString RecordLayout::Title(int column) const {
    const LayoutColumn& c = Column(column);
    return c.title != 0 ? LoadResString(c.title) : QLatin1String(c.fixedTitle);
}

QStringList RecordLayout::Titles() const {
    QStringList titles;
    for (int c = 0; c < m_count; ++c) {
        titles << Title(c);
    }
    return titles;
}

QList<int> RecordLayout::Kinds() const {
    QList<int> kinds;
    for (int c = 0; c < m_count; ++c) {
        kinds << Kind(c);
    }
    return kinds;
}

QList<int> RecordLayout::Values() const {
    QList<int> values;
    for (const RecordPart part : {RecordPart::Value1, RecordPart::Value2}) {
        if (At(part) != kAbsent) {
            values << At(part);
        }
    }
    return values;
}

int RecordLayout::Paired(int column,
                         std::initializer_list<std::pair<RecordPart, RecordPart>> pairs) const {
    if (column < 0 || column >= m_count) {
        return kAbsent;
    }
    for (const auto& [part, paired] : pairs) {
        if (Column(column).part == part) {
            return At(paired);
        }
    }
    return kAbsent;
}

int RecordLayout::UnitOf(int valueColumn) const {
    return Paired(valueColumn, {{RecordPart::Value1, RecordPart::Unit1},
                                {RecordPart::Value2, RecordPart::Unit2}});
}

int RecordLayout::StateOf(int valueColumn) const {
    return Paired(valueColumn, {{RecordPart::Value1, RecordPart::State1},
                                {RecordPart::Value2, RecordPart::State2}});
}

int RecordLayout::TimeOf(int dateColumn) const {
    return Paired(dateColumn, {{RecordPart::Date, RecordPart::Time},
                               {RecordPart::CalDate, RecordPart::CalTime}});
}

bool RecordLayout::IsNumeric(int column) const {
    return column >= 0 && column < m_count && Kind(column) != kTextColumn;
}

int RecordLayout::GroupColumn() const {
    return Program() != kAbsent ? Program() : UnitOf(Value1());
}
