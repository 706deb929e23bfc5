#pragma once

class QLabel;
class QWidget;
class Services;

// The program windows' pictures: the window icon, the header image and the maker's logo
// ("Logo_" + the Manufacturer of Settings.ini + ".gif", shown only when it exists).
void LoadWindowPictures(Services& services, QWidget* window, QLabel* header, QLabel* logo);
