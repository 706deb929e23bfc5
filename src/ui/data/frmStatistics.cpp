#include "ui/data/frmStatistics.h"

#include "app/DateText.h"
#include "app/TextTables.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/HelpContext.h"
#include "ui/app/Pictures.h"
#include "ui/data/TableClipboard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kDigits = 6;
// The figures' columns (n to non-numeric) among StatisticsTitles().
constexpr int kFirstFigure = 3;
constexpr int kLastFigure = 10;
// While a program of the rows has limit values: their count, beside the flagged values.
constexpr int kBeyondTitle = 1755;
constexpr int kBeyondColumn = 5;

bool IsFigure(qsizetype column, bool beyond) {
    return column >= kFirstFigure && column <= kLastFigure + (beyond ? 1 : 0);
}

// The row's fields with the count beyond the limits when that column is shown.
QStringList WithBeyond(QStringList fields, const StatisticsRow& row, bool beyond) {
    if (beyond) {
        fields.insert(kBeyondColumn, row.beyond ? QString::number(*row.beyond) : QString());
    }
    return fields;
}

QStringList Titles(bool beyond) {
    QStringList titles = StatisticsTitles();
    if (beyond) {
        titles.insert(kBeyondColumn, LoadResString(kBeyondTitle));
    }
    return titles;
}

QString WhenText(const QDateTime& t) {
    return ShortDateText(t.date()) + QLatin1Char(' ') + LongTimeText(t.time());
}

// On screen in the reader's locale, groups of thousands included.
QStringList LocaleFields(const StatisticsRow& row) {
    const QLocale locale;
    return StatisticsFields(
        row, [&](double v) { return locale.toString(v, 'g', kDigits); }, &WhenText);
}

// For the clipboard with "." as the table's records have it; the copy gives the separator.
QStringList CopyFields(const StatisticsRow& row) {
    return StatisticsFields(
        row, [](double v) { return QString::number(v, 'g', kDigits); }, &WhenText);
}

} // namespace

frmStatistics::frmStatistics(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmStatistics"));
    setProperty("Tag", QStringLiteral("1706"));
    SetHelpContext(this, HelpContext::kStatistics);
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(true);
    lblStatColumn = NewControl<QLabel>(this, "lblStatColumn", "1728");
    cboStatColumn = NewControl<QComboBox>(this, "cboStatColumn");
    lblStatColumn->setBuddy(cboStatColumn);
    chkOkOnly = NewControl<QCheckBox>(this, "chkOkOnly", "1636");
    cmdCopyStatistics = NewControl<QPushButton>(this, "cmdCopyStatistics", "1730");
    cmdClose = NewControl<QPushButton>(this, "cmdClose", "1003");
    cmdCopyStatistics->setAutoDefault(false);
    cmdClose->setAutoDefault(false);
    grdStatistics = NewControl<QTableWidget>(this, "grdStatistics");
    grdStatistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdStatistics->verticalHeader()->hide();

    auto* bar = new QHBoxLayout;
    bar->addWidget(lblStatColumn);
    bar->addWidget(cboStatColumn);
    bar->addWidget(chkOkOnly);
    bar->addStretch(1);
    bar->addWidget(cmdCopyStatistics);
    bar->addWidget(cmdClose);
    auto* column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(grdStatistics, 1);
    ApplyCaptions(this);
    resize(1000, 320);

    connect(cboStatColumn, &QComboBox::currentIndexChanged, this, &frmStatistics::Compute);
    connect(chkOkOnly, &QCheckBox::toggled, this, &frmStatistics::Compute);
    connect(cmdCopyStatistics, &QPushButton::clicked, this, &frmStatistics::CopyStatistics);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmStatistics::SetColumns(const RecordLayout& columns, const QStringList& titles) {
    m_columns = columns;
    m_titles = titles;
    const QString chosen = cboStatColumn->currentText();
    {
        const QSignalBlocker block(cboStatColumn);
        cboStatColumn->clear();
        for (const int c : columns.Values()) {
            cboStatColumn->addItem(titles.value(c), c);
        }
        cboStatColumn->setCurrentIndex(std::max(cboStatColumn->findText(chosen), 0));
    }
    m_lines.clear();
    Compute();
}

void frmStatistics::SetRecords(const QList<QStringView>& lines) {
    m_lines = lines;
    Compute();
}

void frmStatistics::SetLimits(const LimitFlags& limits) {
    m_limits = limits;
    Compute();
}

void frmStatistics::Compute() {
    const int column =
        cboStatColumn->currentData().isValid() ? cboStatColumn->currentData().toInt() : -1;
    m_rows = ValueStatistics(
        m_lines, m_columns, column, m_titles.value(column),
        chkOkOnly->isChecked() ? StatisticsValues::OkOnly : StatisticsValues::All, &m_limits);
    ShowRows();
}

bool frmStatistics::ShowsBeyond() const {
    return std::any_of(m_rows.cbegin(), m_rows.cend(),
                       [](const StatisticsRow& row) { return row.beyond.has_value(); });
}

void frmStatistics::ShowRows() {
    const bool beyond = ShowsBeyond();
    const QStringList titles = Titles(beyond);
    grdStatistics->setColumnCount(int(titles.size()));
    grdStatistics->setHorizontalHeaderLabels(titles);
    grdStatistics->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const QStringList fields = WithBeyond(LocaleFields(m_rows[r]), m_rows[r], beyond);
        for (int c = 0; c < fields.size(); ++c) {
            auto* item = new QTableWidgetItem(fields[c]);
            if (IsFigure(c, beyond)) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            grdStatistics->setItem(r, c, item);
        }
    }
    grdStatistics->resizeColumnsToContents();
}

void frmStatistics::CopyStatistics() {
    QList<QStringList> fields;
    const bool beyond = ShowsBeyond();
    for (const StatisticsRow& row : m_rows) {
        fields.append(WithBeyond(CopyFields(row), row, beyond));
    }
    QList<CopyColumn> columns;
    const QStringList titles = Titles(beyond);
    for (qsizetype c = 0; c < titles.size(); ++c) {
        columns.append({titles[c], IsFigure(c, beyond)});
    }
    PutOnClipboard(MakeTableCopy(
        columns, fields.size(), [&](qsizetype r, qsizetype c) { return QStringView(fields[r][c]); },
        DesktopDecimalPoint(false)));
}
