#include "data/CImportMVal.h"

#include "app/Services.h"
#include "support/QtPrint.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

class GetMValsTest : public ::testing::Test {
protected:
    GetMValsTest() {
        auto owned = std::make_unique<ScriptedMeterLink>();
        link = owned.get();
        services = std::make_unique<Services>(ui, std::move(owned));
        services->communication.COMPort = 3;
        services->communication.Baudrate = QStringLiteral("19200");
        link->ScriptOk(QStringLiteral("U.400\r\n"), QString());
        link->ScriptOk(QStringLiteral("U.999\r\n"), QString());
    }

    static QStringList Calls(std::initializer_list<const char*> calls) {
        QStringList list;
        for (const char* c : calls) {
            list << QString::fromLatin1(c);
        }
        return list;
    }

    ScriptedUi ui;
    ScriptedMeterLink* link = nullptr;
    std::unique_ptr<Services> services;
    QString strMVals = QStringLiteral("stale");
};

const QStringList kAbortTail = {"COMContinue", "COMChangeAnswerTime 4", "send U.999", "COMDeinit"};

} // namespace

TEST_F(GetMValsTest, ReadsTheWholeMemoryInOneConversation) {
    const QString memory = ScriptedMeterLink::OkAnswer(QStringLiteral("1;a\r\n2;b"));
    link->Script(QStringLiteral("U.581\r\n"), {memory});
    EXPECT_TRUE(services->importMVal.GetMVals(strMVals));
    EXPECT_EQ(strMVals, memory);
    EXPECT_EQ(link->calls, Calls({"COMInit 3 19200 4", "send U.400", "COMChangeAnswerTime 600",
                                  "send U.581", "COMDeinit"}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(GetMValsTest, AnEmptyMemoryIsASuccess) {
    link->ScriptOk(QStringLiteral("U.581\r\n"), QString());
    EXPECT_TRUE(services->importMVal.GetMVals(strMVals));
    EXPECT_EQ(strMVals, QStringLiteral("\r\n\r\n!\r\n>"));
}

TEST_F(GetMValsTest, NoLinkMeansNoCommand) {
    link->initSucceeds = false;
    EXPECT_FALSE(services->importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_EQ(link->calls, Calls({"COMInit 3 19200 4"}));
}

TEST_F(GetMValsTest, SilentMeterOnTheOpeningCommandEndsTheConversation) {
    link->Script(QStringLiteral("U.400\r\n"), {QString()});
    EXPECT_FALSE(services->importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_EQ(link->calls, Calls({"COMInit 3 19200 4", "send U.400", "COMDeinit"}));
}

TEST_F(GetMValsTest, AFailedTransferIsAbortedOnAnActiveLink) {
    // No answer to U.581: a time-out, or the wait dialog was closed (which stops the link).
    EXPECT_FALSE(services->importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_EQ(link->calls,
              Calls({"COMInit 3 19200 4", "send U.400", "COMChangeAnswerTime 600", "send U.581"}) +
                  kAbortTail);
    EXPECT_EQ(link->sent.back(), QStringLiteral("U.999\r\n"));
    EXPECT_FALSE(link->active);
}

TEST_F(GetMValsTest, ARefusedTransferIsAFailureToo) {
    link->Script(QStringLiteral("U.581\r\n"), {ScriptedMeterLink::RefusedAnswer()});
    EXPECT_FALSE(services->importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_EQ(link->calls.mid(link->calls.size() - 4), kAbortTail);
}

namespace {

// A link whose wait for the data memory is stopped, as closing the wait dialog does.
class StoppedDuringTransfer : public ScriptedMeterLink {
public:
    bool COMSendAndReceive(const QString& strSend, QString& strAnswer) override {
        if (strSend == QStringLiteral("U.581\r\n")) {
            COMStop();
        }
        if (strSend == QStringLiteral("U.999\r\n")) {
            abortSentWhileActive = active;
        }
        return ScriptedMeterLink::COMSendAndReceive(strSend, strAnswer);
    }
    bool abortSentWhileActive = false;
};

} // namespace

TEST(GetMValsStopped, TheAbortCommandGoesOutAfterTheLinkIsActiveAgain) {
    ScriptedUi ui;
    auto owned = std::make_unique<StoppedDuringTransfer>();
    StoppedDuringTransfer& link = *owned;
    Services services(ui, std::move(owned));
    link.ScriptOk(QStringLiteral("U.400\r\n"), QString());
    link.ScriptOk(QStringLiteral("U.581\r\n"), QStringLiteral("1;a"));
    link.ScriptOk(QStringLiteral("U.999\r\n"), QString());
    QString strMVals;
    EXPECT_FALSE(services.importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_TRUE(link.abortSentWhileActive);
    EXPECT_EQ(link.calls.mid(3), QStringList({"COMStop", "send U.581"}) + kAbortTail);
}
