#pragma once

class QDateEdit;

// A date field that shows and takes dates in the program's one form of its language, with
// the language's month and day names in it and in its calendar, whatever the desktop's.
void UseProgramDateForm(QDateEdit& field);
