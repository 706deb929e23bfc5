#include "ui/programs/KeyFilter.h"

#include <QLineEdit>
#include <QPushButton>

void ReplaceTypedChars(QLineEdit* box, const QString& from, const QString& to) {
    QObject::connect(box, &QLineEdit::textEdited, box, [box, from, to](const QString& text) {
        QString replaced = text;
        for (qsizetype i = 0; i < from.size(); ++i) {
            replaced.replace(from[i], to[i]);
        }
        if (replaced != text) {
            const int cursor = box->cursorPosition();
            box->setText(replaced);
            box->setCursorPosition(cursor);
        }
    });
}

void AcceptCommaAsPoint(QLineEdit* box) {
    ReplaceTypedChars(box, QStringLiteral(","), QStringLiteral("."));
}

void NoDefaultButtons(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}
