#pragma once

#include "data/TableCopy.h"

class MValTableProxy;
class QItemSelectionModel;

// Puts a copy on the clipboard as text and as an HTML table.
void PutOnClipboard(const TableCopyText& copy);

// The decimal separator of copied values: the desktop's, or "." for a `raw` copy and where
// the desktop's is more than one character.
QChar DesktopDecimalPoint(bool raw);

// The selected cells of the document's table, in the view's order. Values use the
// desktop's decimal separator unless `raw`, which copies every field as the meter sent it.
TableCopyText CopySelection(const MValTableProxy& proxy, const QItemSelectionModel& selection,
                            const QStringList& titles, bool raw);
