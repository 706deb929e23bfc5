#pragma once

class QCheckBox;
class QDateEdit;

// A date field that shows and takes dates in the program's one form of its language, with
// the language's month and day names in it and in its calendar, whatever the desktop's.
void UseProgramDateForm(QDateEdit& field);

// A period: two date fields in the program's form, with a calendar, used only while `period`
// is ticked.
void UsePeriodFields(QCheckBox& period, QDateEdit& from, QDateEdit& to);
