#include "ui/app/WindowPlacement.h"

#include "app/Twips.h"
#include "app/WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("Settings");
const QStringList kKeys = {QStringLiteral("MainLeft"), QStringLiteral("MainTop"),
                           QStringLiteral("MainWidth"), QStringLiteral("MainHeight")};

int ReadKey(const QSettings& settings, const QString& key, int fallback) {
    bool ok = false;
    const int value = settings.value(key, fallback).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

std::optional<Placement> LoadPlacement() {
    QSettings settings;
    settings.beginGroup(kGroup);
    if (std::none_of(kKeys.begin(), kKeys.end(),
                     [&](const QString& key) { return settings.contains(key); })) {
        return std::nullopt;
    }
    Placement p;
    p.left = ReadKey(settings, QStringLiteral("MainLeft"), p.left);
    p.top = ReadKey(settings, QStringLiteral("MainTop"), p.top);
    p.width = ReadKey(settings, QStringLiteral("MainWidth"), p.width);
    p.height = ReadKey(settings, QStringLiteral("MainHeight"), p.height);
    return p;
}

void StorePlacement(const Placement& placement) {
    QSettings settings;
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("MainLeft"), QString::number(placement.left));
    settings.setValue(QStringLiteral("MainTop"), QString::number(placement.top));
    settings.setValue(QStringLiteral("MainWidth"), QString::number(placement.width));
    settings.setValue(QStringLiteral("MainHeight"), QString::number(placement.height));
}

Placement PlacementOf(const QWidget& window) {
    const double dpiX = window.logicalDpiX();
    const double dpiY = window.logicalDpiY();
    return {PixelsToTwips(window.x(), dpiX), PixelsToTwips(window.y(), dpiY),
            PixelsToTwips(window.width(), dpiX), PixelsToTwips(window.height(), dpiY)};
}

void ApplyPlacement(QWidget& window, const Placement& p) {
    const double dpiX = window.logicalDpiX();
    const double dpiY = window.logicalDpiY();
    window.move(TwipsToPixels(p.left, dpiX), TwipsToPixels(p.top, dpiY));
    window.resize(TwipsToPixels(p.width, dpiX), TwipsToPixels(p.height, dpiY));
}

void PlaceAtStart(QWidget& window, const std::optional<Placement>& stored) {
    QList<QRect> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        screens << primary->availableGeometry();
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            screens << screen->availableGeometry();
        }
    }
    std::optional<QRect> storedRect;
    if (stored) {
        ApplyPlacement(window, *stored);
        storedRect = QRect(window.pos(), window.size());
    }
    const QRect rect = WindowGeometry::AtStart(screens, storedRect);
    if (rect.isValid() && (!storedRect || rect != *storedRect)) {
        window.move(rect.topLeft());
        window.resize(rect.size());
    }
}
