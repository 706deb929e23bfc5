#pragma once

#include "archive/ArchiveJob.h"
#include "qc/QcJudge.h"
#include "ui/archive/ArchiveServices.h"
#include "ui/archive/ArchiveWindowWork.h"

#include <QList>
#include <QWidget>
#include <functional>

class QCheckBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QcChartView;

// Quality control over the archive: the controls every PC of the lab shares, with each
// version's values and who made it when; for the control chosen, its Levey-Jennings chart
// over a period, the table of its points with z and the rules that fired (sortable,
// copyable), the count per rule, the records that are no points with why, and the chart as a
// picture. The database is read off the window's thread under the runner's wait dialog.
class frmQualityControl : public QWidget {
    Q_OBJECT
public:
    explicit frmQualityControl(ArchiveServices services, QWidget* parent = nullptr);
    ~frmQualityControl() override;

    QListWidget* lstControls = nullptr;
    QTableWidget* grdVersions = nullptr;
    QCheckBox* chkPeriod = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QPushButton* cmdShow = nullptr;
    QcChartView* picChart = nullptr;
    QTableWidget* grdPoints = nullptr;
    QLabel* lblCounts = nullptr;
    QPushButton* cmdSaveChart = nullptr;

    // Reads the controls from the archive and shows `chosen` (else the one shown, else the
    // first); false (after one message) when it cannot.
    bool LoadControls(const QString& chosen = QString());
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
    ArchiveWindowWork m_work;
};
