#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

// F1 in any window of the program, modal dialogs included, asks for the help at the context
// of the window it was pressed in. A shortcut of the main window would not do: a modal
// dialog blocks it.
class HelpKey : public QObject {
public:
    using ShowHelp = std::function<void(int context)>;
    HelpKey(ShowHelp showHelp, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ShowHelp m_showHelp;
};

// The HTML page that stands for the designed help file: same folder, same stem.
QString HelpPage(const QString& designedFile);
// The page's address, at the section of `context` (0: the top of the page).
QUrl HelpUrl(const QString& page, int context);
