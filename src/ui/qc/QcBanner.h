#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QPushButton;
class QToolButton;
struct QcImportVerdict;

// Says above a document's table which controls the values just archived rejected, without
// stopping anyone: the user opens the chart from it, or closes it.
class QcBanner : public QFrame {
    Q_OBJECT
public:
    explicit QcBanner(QWidget* parent = nullptr);

    QLabel* lblQcBanner = nullptr;
    QPushButton* cmdQcChart = nullptr;
    QToolButton* cmdQcBannerClose = nullptr;

    // Shows the verdict's rejections; hides when there is none.
    void Show(const QcImportVerdict& verdict);
    void Dismiss();

signals:
    // The chart of the first control that rejected.
    void ChartAsked(const QString& control);
    void VisibilityChanged();

private:
    QString m_control;
};
