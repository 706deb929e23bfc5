#pragma once

class CIni;
class QLabel;
class QWidget;

// The program windows' pictures: the window icon, the header image and the maker's logo
// ("Logo_" + the Manufacturer of Settings.ini + ".gif", shown only when it exists).
void LoadWindowPictures(CIni& ini, QWidget* window, QLabel* header, QLabel* logo);
