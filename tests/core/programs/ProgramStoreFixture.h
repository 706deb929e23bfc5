#pragma once

#include "app/Services.h"
#include "programs/ProgramRecord.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A scripted link that can run a hook right after a given command was answered (to act
// "during" an exchange, like the wait dialog closing).
class HookedMeterLink : public ScriptedMeterLink {
public:
    bool COMSendAndReceive(const QString& strSend, QString& strAnswer) override {
        const bool ok = ScriptedMeterLink::COMSendAndReceive(strSend, strAnswer);
        if (strSend == hookCommand && hook) {
            hook();
        }
        return ok;
    }
    QString hookCommand;
    std::function<void()> hook;
};

class ProgramStoreTest : public ::testing::Test {
protected:
    ProgramStoreTest() {
        auto scripted = std::make_unique<HookedMeterLink>();
        link = scripted.get();
        services = std::make_unique<Services>(ui, std::move(scripted));
    }

    static QString Cmd(const QString& command) { return command + QStringLiteral("\r\n"); }

    // The meter's answer to "U.513#1,NO" for a program with the given model text.
    static QString ProgramAnswer(const QString& no, const QString& model = QStringLiteral("Nit1"),
                                 const QString& check = QStringLiteral("0")) {
        return QStringLiteral("\r\n%1;%2;16;436;0.0;2.0;%3;0.0;1.0;0.01;NO3;mg/l;0;1;1\r\n!\r\n>")
            .arg(no, model, check);
    }

    // The meter is identified (online) as the given model.
    void Connect(const QString& model = QStringLiteral("Zentravox")) {
        link->ScriptOk(Cmd("U.400"), QStringLiteral("ok"));
        link->ScriptOk(Cmd("U.597"), QStringLiteral("2.05"));
        link->ScriptOk(Cmd("U.595"), model);
        link->ScriptOk(Cmd("U.596"), QStringLiteral("SN-1"));
        link->ScriptOk(Cmd("U.592"), QStringLiteral("000000"));
        QString name;
        QString serial;
        ASSERT_EQ(services->device.Recognise(name, serial, false), 0);
        link->calls.clear();
        link->sent.clear();
    }

    // The meter holds these programs (model text "M" + number).
    void MeterHolds(const QStringList& numbers) {
        QString list = QStringLiteral("\r\n");
        for (const QString& no : numbers) {
            list += no + QStringLiteral("\r\n");
            link->Script(Cmd("U.513#1," + no), {ProgramAnswer(no, "M" + no)});
        }
        link->Script(Cmd("U.512"), {list + QStringLiteral("!\r\n>")});
    }

    void ConnectWith(const QStringList& numbers) {
        Connect();
        MeterHolds(numbers);
        ASSERT_TRUE(store().Update());
        link->calls.clear();
        link->sent.clear();
    }

    QStringList Listed() {
        QStringList list(100);
        short n = -1;
        EXPECT_TRUE(store().ListMeter(list, n));
        return list.mid(0, n);
    }

    static ProgramRecord Record(const QString& no) {
        ProgramRecord r = EmptyProgramRecord();
        const QStringList values{no,    "Nit1", "16",   "436", "0.0",  "2.0",
                                 "0.0", "1.0",  "0.01", "NO3", "mg/l", "Lab1"};
        for (int i = 0; i < values.size(); ++i) {
            r[i] = values[i];
        }
        r[ProgramField::PairX(0)] = "0";
        r[ProgramField::PairY(0)] = "0.002";
        r[ProgramField::BLANKREQ] = "0";
        r[ProgramField::CALPSB] = "1";
        r[ProgramField::CALREQ] = "0";
        return r;
    }

    CUsrDefProg& store() { return services->usrDefProg; }

    ScriptedUi ui;
    HookedMeterLink* link = nullptr;
    std::unique_ptr<Services> services;
};
