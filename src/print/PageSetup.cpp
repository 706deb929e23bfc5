#include "print/PageSetup.h"

#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>

namespace {

constexpr double kMargin_mm = 15;

} // namespace

void SetUpPage(QPagedPaintDevice& device, PageOrientation orientation) {
    device.setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait);
    // A printer whose least margins are wider keeps its own.
    device.setPageMargins(QMarginsF(kMargin_mm, kMargin_mm, kMargin_mm, kMargin_mm),
                          QPageLayout::Millimeter);
}

QPageSize LocalePageSize() {
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}
