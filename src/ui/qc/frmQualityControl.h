#pragma once

#include "archive/ArchiveJob.h"
#include "qc/QcJudge.h"
#include "ui/archive/ArchiveServices.h"
#include "ui/archive/ArchiveWindowWork.h"

#include <QDate>
#include <QList>
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QcChartView;
struct Printout;

// Quality control over the archive: the controls every PC of the lab shares, with each
// version's values and who made it when, a new control or a new version of the chosen one
// (frmQcDefine); for the control chosen, its Levey-Jennings chart
// over a period, the table of its points with z and the rules that fired (sortable,
// copyable), the count per rule, the records that are no points with why, the chart as a
// picture, and the report of what is shown printed or made a PDF as the documents are (the
// chart on page 1, the points with their rules, the summary of violations, the signature
// block). The database is read off the window's thread under the runner's wait dialog.
class frmQualityControl : public QWidget {
    Q_OBJECT
public:
    explicit frmQualityControl(ArchiveServices services, QWidget* parent = nullptr);
    ~frmQualityControl() override;

    QListWidget* lstControls = nullptr;
    QPushButton* cmdNewControl = nullptr;
    QPushButton* cmdNewVersion = nullptr;
    QTableWidget* grdVersions = nullptr;
    QCheckBox* chkPeriod = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QPushButton* cmdShow = nullptr;
    QcChartView* picChart = nullptr;
    QTableWidget* grdPoints = nullptr;
    QLabel* lblCounts = nullptr;
    QPushButton* cmdSaveChart = nullptr;
    QPushButton* cmdReport = nullptr; // its menu: print, preview, PDF

    // Reads the controls from the archive and shows `chosen` (else the one shown, else the
    // first); false (after one message) when it cannot.
    bool LoadControls(const QString& chosen = QString());
    // The dialog of a new control, or of a new version of the chosen one; the list shows
    // what was saved.
    void DefineControl(bool newVersion);
    // The report of the control and period shown; nothing when no control is shown.
    std::optional<Printout> ReportPrintout() const;
    // Reads the chosen control's records, judges them and shows the period's points.
    bool ShowControl();
    const QList<QcControl>& Controls() const { return m_controls; }
    const QcJudgement& Judgement() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    void ShowVersions();
    void ShowPoints();
    void CopyPoints();
    void SaveChart();
    bool RunWork(const ArchiveJob::Work& work);

    ArchiveServices m_services;
    QList<QcControl> m_controls;
    std::optional<QDate> m_shownFrom, m_shownTo; // the period of the chart shown
    ArchiveWindowWork m_work;
};
