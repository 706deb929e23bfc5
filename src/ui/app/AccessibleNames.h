#pragma once

class QWidget;

// Gives the inputs of a window the names a screen reader says. A label named like a
// control ("lblModel" beside "txtModel", "cboLambda", "chkBlankRequired", "lstProgsPC",
// "optYes") becomes that control's buddy (its access key moves the focus there) and lends
// it its text as accessible name; a button that shows only an icon is named by its tool
// tip. Runs with the captions, so the names are in the table's language.
void NameControls(QWidget* window);
