#include "ui/app/HelpContext.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr char kProperty[] = "HelpContextID";

} // namespace

void SetHelpContext(QWidget* window, int context) {
    window->setProperty(kProperty, context);
}

int HelpContextOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const int context = widget->property(kProperty).toInt();
        if (context != 0) {
            return context;
        }
    }
    return 0;
}
