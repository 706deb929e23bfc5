#pragma once

#include "UiFixture.h"
#include "support/RecordingPrinter.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

// The main window over a scripted meter, a printer of known metrics and the French locale
// (dates 15/03/2024, "," as decimal separator).
class CalProtocolFixture : public ::testing::Test, public MainWindowFixture {
protected:
    CalProtocolFixture() : m_savedLocale(QLocale()) {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        main->services().print.SetPrinterFactory(std::make_unique<RecordingPrinterFactory>(log));
    }
    ~CalProtocolFixture() override { QLocale::setDefault(m_savedLocale); }

    static QString Cmd(const char* command) { return QLatin1String(command) + "\r\n"; }

    // Logs in with a search that finds `model`, confirmed; the conversation is forgotten.
    void Online(const QString& model) {
        link->ScriptOk(Cmd("U.400"), QStringLiteral("ok"));
        link->ScriptOk(Cmd("U.597"), QStringLiteral("2.50"));
        link->ScriptOk(Cmd("U.595"), model);
        link->ScriptOk(Cmd("U.596"), QStringLiteral("SN-4711"));
        link->ScriptOk(Cmd("U.592"), QStringLiteral("000000"));
        ui.messageAnswers = {MsgResult::Ok};
        ASSERT_TRUE(LogIn(QStringLiteral("Marie"), true));
        ASSERT_TRUE(main->services().device.Online());
        ui.Clear();
        link->sent.clear();
    }

    QString WriteFile(const char* name, const QByteArray& text) {
        const QString path = m_dir.file(QLatin1String(name));
        WriteBytes(path, text);
        return path;
    }
    QString File(const char* name) const { return m_dir.file(QLatin1String(name)); }

    // Runs `action` as soon as a modal loop has started, on the modal window.
    static void WhenModal(std::function<void(QWidget*)> action) {
        QTimer::singleShot(
            0, [action = std::move(action)] { action(QApplication::activeModalWidget()); });
    }

    std::shared_ptr<PrinterLog> log = std::make_shared<PrinterLog>();

private:
    QLocale m_savedLocale;
    TempDir m_dir;
};

// The texts of a row of labels.
inline QStringList Texts(std::initializer_list<const QLabel*> labels) {
    QStringList texts;
    for (const QLabel* label : labels) {
        texts << label->text();
    }
    return texts;
}
