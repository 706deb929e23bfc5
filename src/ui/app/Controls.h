#pragma once

#include <QLatin1String>
#include <QWidget>

// A control named like the window's design (objectName), with the string number of its
// caption in its Tag for ApplyCaptions.
template <typename W> W* NewControl(QWidget* parent, const char* name, const char* tag = nullptr) {
    auto* control = new W(parent);
    control->setObjectName(QLatin1String(name));
    if (tag) {
        control->setProperty("Tag", QLatin1String(tag));
    }
    return control;
}
