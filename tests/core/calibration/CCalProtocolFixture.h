#pragma once

#include "app/Services.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QLocale>
#include <gtest/gtest.h>

// Services around a scripted meter, a known locale (French: 15/03/2024, 09:05:07) and a
// temporary folder for protocol files.
class CCalProtocolFixture : public ::testing::Test {
protected:
    CCalProtocolFixture() {
        auto scripted = std::make_unique<ScriptedMeterLink>();
        link = scripted.get();
        services = std::make_unique<Services>(ui, std::move(scripted));
    }
    void SetUp() override {
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    void TearDown() override { QLocale::setDefault(m_savedLocale); }

    static QString Cmd(const QString& command) { return command + QStringLiteral("\r\n"); }

    // Identifies the meter through the scripted link, then forgets that conversation.
    void Online(const QString& model) {
        link->ScriptOk(Cmd(QStringLiteral("U.400")), QStringLiteral("ok"));
        link->ScriptOk(Cmd(QStringLiteral("U.597")), QStringLiteral("2.50"));
        link->ScriptOk(Cmd(QStringLiteral("U.595")), model);
        link->ScriptOk(Cmd(QStringLiteral("U.596")), QStringLiteral("SN-4711"));
        link->ScriptOk(Cmd(QStringLiteral("U.592")), QStringLiteral("000000"));
        QString name;
        QString serial;
        ASSERT_EQ(services->device.Recognise(name, serial, false), 0);
        services->login.UserName(QStringLiteral("Marie"));
        link->calls.clear();
        link->sent.clear();
    }

    // The meter answers `command` with the value fields (field 0 included).
    void Answers(const QString& command, const QString& fields) {
        link->ScriptOk(Cmd(command), fields);
    }

    struct TurbidityView {
        QString meter, serNo, user, date, time, interval, mode;
        short points = -1;
        QStringList standards;
    };
    // What GetProtocolTurbidity gives; `standards` starts as given.
    TurbidityView ViewTurbidity(const QStringList& standards = {}) {
        TurbidityView v;
        v.standards = standards;
        EXPECT_TRUE(protocol().GetProtocolTurbidity(v.meter, v.serNo, v.user, v.date, v.time,
                                                    v.interval, v.mode, v.points, v.standards));
        return v;
    }

    CCalProtocol& protocol() { return services->calProtocol; }
    QString File(const QString& name) const { return m_dir.file(name); }

    ScriptedUi ui;
    ScriptedMeterLink* link = nullptr;
    std::unique_ptr<Services> services;

private:
    QLocale m_savedLocale;
    TempDir m_dir;
};
