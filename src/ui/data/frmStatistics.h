#pragma once

#include "data/RecordColumns.h"
#include "data/ValueStatistics.h"
#include "qc/LimitFlags.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Statistiques": one row per program (or unit) for a chosen value column of the records
// the document's table shows, so it follows the filter. Flagged values are counted apart,
// or left out with "valeurs OK seulement". Copied like the table.
class frmStatistics : public QDialog {
    Q_OBJECT
public:
    explicit frmStatistics(QWidget* parent);

    // The layout and titles of a new dataset; keeps the chosen column when it still exists.
    void SetColumns(const RecordLayout& columns, const QStringList& titles);
    // The records shown now, in any order.
    void SetRecords(const QList<QStringView>& lines);
    // The limit values of the programs: a column counts the values beyond them, shown while
    // a program of the rows has limits.
    void SetLimits(const LimitFlags& limits);
    // The rows (TSV and HTML) on the clipboard, numbers as the table's copy gives them: the
    // desktop's decimal separator and no group separator, so that they paste as numbers.
    void CopyStatistics();
    const QList<StatisticsRow>& Rows() const { return m_rows; }

    QLabel* lblStatColumn = nullptr;
    QComboBox* cboStatColumn = nullptr;
    QCheckBox* chkOkOnly = nullptr;
    QTableWidget* grdStatistics = nullptr;
    QPushButton* cmdCopyStatistics = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void Compute();
    void ShowRows();
    bool ShowsBeyond() const;

    RecordLayout m_columns;
    QStringList m_titles;
    QList<QStringView> m_lines;
    LimitFlags m_limits;
    QList<StatisticsRow> m_rows;
};
