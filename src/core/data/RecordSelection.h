#pragma once

#include <QString>
#include <optional>
#include <vector>

class RecordLayout;
struct RecordFilter;

// The records a printout or an export takes: the whole dataset in the meter's order, or
// the records a table shows (its filter and sort applied), in the table's order. A
// selection is always said in the header: "41 enregistrements sur 300".
class RecordSelection {
public:
    RecordSelection() = default; // the whole dataset
    // `rows`: the records (0-based, in the dataset's order) in the order they are written.
    RecordSelection(std::vector<int> rows, int total);

    bool IsWhole() const { return !m_rows.has_value(); }
    int Count() const { return m_rows ? int(m_rows->size()) : m_total; }
    int Total() const { return m_total; }
    // The records chosen of a dataset of `records`, in their order.
    std::vector<int> Rows(int records) const;
    // The dataset in raw answer form holding only the chosen records, in their order: what
    // every writer of a dataset reads. The text itself for the whole dataset, so that the
    // whole dataset's printouts and files stay exactly what they were.
    QString Records(const QString& strMVals) const;
    // The value of the header's line "Sélection:"; empty for the whole dataset.
    QString Note() const;
    bool operator==(const RecordSelection&) const = default;

private:
    std::optional<std::vector<int>> m_rows;
    int m_total = 0;
};

// The records of `strMVals` that `filter` keeps, in the dataset's order; the whole dataset
// when the filter is empty. The table's filter bar decides with the same matcher.
RecordSelection FilteredSelection(const QString& strMVals, const RecordFilter& filter,
                                  const RecordLayout& columns);
