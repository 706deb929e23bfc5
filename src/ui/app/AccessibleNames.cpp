#include "ui/app/AccessibleNames.h"

#include <QAbstractButton>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

namespace {

constexpr int kPrefixLength = 3;

bool IsInputName(const QString& name) {
    static const QStringList kInputPrefixes = {QStringLiteral("txt"), QStringLiteral("cbo"),
                                               QStringLiteral("chk"), QStringLiteral("lst"),
                                               QStringLiteral("opt")};
    return name.size() > kPrefixLength && kInputPrefixes.contains(name.left(kPrefixLength));
}

// What a screen reader should say for a caption: no access-key marker, no trailing colon.
QString SpokenText(QString caption) {
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    caption = caption.trimmed();
    while (caption.endsWith(QLatin1Char(':'))) {
        caption.chop(1);
    }
    return caption.trimmed();
}

// A label and its control share a parent and the name after the kind prefix.
using Key = std::pair<const QObject*, QString>;

} // namespace

void NameControls(QWidget* window) {
    QHash<Key, QLabel*> labels;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const QString name = label->objectName();
        if (name.startsWith(QLatin1String("lbl")) && !label->text().isEmpty()) {
            labels.insert({label->parentWidget(), name.mid(kPrefixLength)}, label);
        }
    }
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (IsInputName(name)) {
            if (QLabel* label = labels.value({control->parentWidget(), name.mid(kPrefixLength)})) {
                label->setBuddy(control);
                control->setAccessibleName(SpokenText(label->text()));
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            if (button->text().isEmpty() && !button->toolTip().isEmpty()) {
                button->setAccessibleName(button->toolTip());
            }
        }
    }
}
