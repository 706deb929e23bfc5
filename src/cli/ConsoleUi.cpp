#include "cli/ConsoleUi.h"

#include <QCoreApplication>
#include <QTextStream>

MsgResult ConsoleUi::Message(const QString& text, const QString&, MsgIcon, MsgButtons,
                             MsgResult defaultButton) {
    QString oneLine = text;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_err << oneLine << "\n";
    m_err.flush();
    return defaultButton;
}

std::optional<QString> ConsoleUi::SaveFileDialog(const FileDialogRequest&) {
    return std::nullopt;
}

std::optional<QString> ConsoleUi::OpenFileDialog(const FileDialogRequest&) {
    return std::nullopt;
}

std::optional<QString> ConsoleUi::InputBox(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

void ConsoleUi::Yield() {
    QCoreApplication::processEvents();
}
