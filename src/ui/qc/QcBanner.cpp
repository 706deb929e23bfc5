#include "ui/qc/QcBanner.h"

#include "app/TextTables.h"
#include "archive/QcImportCheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QToolButton>

QcBanner::QcBanner(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraQcBanner"));
    // A rejection must be seen at a glance, in any desktop theme: dark red on light red,
    // framed in the same dark red.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xfd, 0xe2, 0xe1));
    colours.setColor(QPalette::WindowText, QColor(0x7f, 0x10, 0x10));
    setPalette(colours);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    lblQcBanner = new QLabel(this);
    lblQcBanner->setObjectName(QStringLiteral("lblQcBanner"));
    lblQcBanner->setWordWrap(true);
    lblQcBanner->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdQcChart = new QPushButton(LoadResString(1769), this);
    cmdQcChart->setObjectName(QStringLiteral("cmdQcChart"));
    cmdQcBannerClose = new QToolButton(this);
    cmdQcBannerClose->setObjectName(QStringLiteral("cmdQcBannerClose"));
    cmdQcBannerClose->setText(QStringLiteral("×"));
    cmdQcBannerClose->setAutoRaise(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 4, 4);
    row->addWidget(lblQcBanner, 1);
    row->addWidget(cmdQcChart);
    row->addWidget(cmdQcBannerClose, 0, Qt::AlignTop);
    connect(cmdQcChart, &QPushButton::clicked, this, [this] { emit ChartAsked(m_control); });
    connect(cmdQcBannerClose, &QToolButton::clicked, this, &QcBanner::Dismiss);
    hide();
}

void QcBanner::Show(const QcImportVerdict& verdict) {
    if (verdict.rejections.isEmpty()) {
        Dismiss();
        return;
    }
    m_control = verdict.rejections.first().control;
    lblQcBanner->setText(verdict.BannerLines().join(QLatin1Char('\n')));
    show();
    emit VisibilityChanged();
}

void QcBanner::Dismiss() {
    if (isHidden()) {
        return;
    }
    hide();
    emit VisibilityChanged();
}
