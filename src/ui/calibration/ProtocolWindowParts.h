#pragma once

#include <initializer_list>
#include <utility>

class QGridLayout;
class QLabel;
class CIni;
class QWidget;

// The pictures every protocol window shows: the window icon, the head strip and the
// logo of the Manufacturer setting (when its file exists).
void LoadProtocolPictures(CIni& ini, QWidget* window, QLabel* imgHead, QLabel* imgLogo);

// Rows of a caption and its value from `row` on, the value over the remaining columns.
// The row after the last.
int AddCaptionRows(QGridLayout* grid, int row,
                   std::initializer_list<std::pair<QWidget*, QWidget*>> rows);
