#include "ui/app/DateFields.h"

#include "app/DateText.h"

#include <QDateEdit>

void UseProgramDateForm(QDateEdit& field) {
    field.setLocale(DateLocale());
    field.setDisplayFormat(DateFormat());
}
