#include "ui/app/DateFields.h"

#include "app/DateText.h"

#include <QCheckBox>
#include <QDateEdit>

void UseProgramDateForm(QDateEdit& field) {
    field.setLocale(DateLocale());
    field.setDisplayFormat(DateFormat());
}

void UsePeriodFields(QCheckBox& period, QDateEdit& from, QDateEdit& to) {
    for (QDateEdit* date : {&from, &to}) {
        date->setCalendarPopup(true);
        UseProgramDateForm(*date);
        date->setEnabled(period.isChecked());
        QObject::connect(&period, &QCheckBox::toggled, date, &QWidget::setEnabled);
    }
}
