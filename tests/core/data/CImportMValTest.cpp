#include "data/CImportMVal.h"

#include "app/BusyState.h"
#include "data/TransferProgress.h"
#include "meter/CCommunication.h"
#include "support/QtPrint.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

class GetMValsTest : public ::testing::Test {
protected:
    GetMValsTest() {
        communication.COMPort = 3;
        communication.Baudrate = QStringLiteral("19200");
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
    ScriptedMeterLink scripted;
    ScriptedMeterLink* link = &scripted;
    BusyState busy;
    CCommunication communication{scripted};
    CImportMVal importMVal{{scripted, communication, busy, ui}};
    QString strMVals = QStringLiteral("stale");
};

const QStringList kAbortTail = {"COMContinue", "COMChangeAnswerTime 4", "send U.999", "COMDeinit"};

} // namespace

TEST_F(GetMValsTest, ReadsTheWholeMemoryInOneConversation) {
    const QString memory = ScriptedMeterLink::OkAnswer(QStringLiteral("1;a\r\n2;b"));
    link->Script(QStringLiteral("U.581\r\n"), {memory});
    EXPECT_TRUE(importMVal.GetMVals(strMVals));
    EXPECT_EQ(strMVals, memory);
    EXPECT_EQ(link->calls, Calls({"COMInit 3 19200 4", "send U.400", "COMChangeAnswerTime 600",
                                  "send U.581", "COMDeinit"}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(GetMValsTest, AnEmptyMemoryIsASuccess) {
    link->ScriptOk(QStringLiteral("U.581\r\n"), QString());
    EXPECT_TRUE(importMVal.GetMVals(strMVals));
    EXPECT_EQ(strMVals, QStringLiteral("\r\n\r\n!\r\n>"));
}

TEST_F(GetMValsTest, NoLinkMeansNoCommand) {
    link->initSucceeds = false;
    EXPECT_FALSE(importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_EQ(link->calls, Calls({"COMInit 3 19200 4"}));
}

TEST_F(GetMValsTest, SilentMeterOnTheOpeningCommandEndsTheConversation) {
    link->Script(QStringLiteral("U.400\r\n"), {QString()});
    EXPECT_FALSE(importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_EQ(link->calls, Calls({"COMInit 3 19200 4", "send U.400", "COMDeinit"}));
}

TEST_F(GetMValsTest, AFailedTransferIsAbortedOnAnActiveLink) {
    // No answer to U.581: a time-out, or the wait dialog was closed (which stops the link).
    EXPECT_FALSE(importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_EQ(link->calls,
              Calls({"COMInit 3 19200 4", "send U.400", "COMChangeAnswerTime 600", "send U.581"}) +
                  kAbortTail);
    EXPECT_EQ(link->sent.back(), QStringLiteral("U.999\r\n"));
    EXPECT_FALSE(link->active);
}

TEST_F(GetMValsTest, ARefusedTransferIsAFailureToo) {
    link->Script(QStringLiteral("U.581\r\n"), {ScriptedMeterLink::RefusedAnswer()});
    EXPECT_FALSE(importMVal.GetMVals(strMVals));
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
    StoppedDuringTransfer link;
    BusyState busy;
    CCommunication communication(link);
    CImportMVal importMVal({link, communication, busy, ui});
    link.ScriptOk(QStringLiteral("U.400\r\n"), QString());
    link.ScriptOk(QStringLiteral("U.581\r\n"), QStringLiteral("1;a"));
    link.ScriptOk(QStringLiteral("U.999\r\n"), QString());
    QString strMVals;
    EXPECT_FALSE(importMVal.GetMVals(strMVals));
    EXPECT_TRUE(strMVals.isEmpty());
    EXPECT_TRUE(link.abortSentWhileActive);
    EXPECT_EQ(link.calls.mid(3), QStringList({"COMStop", "send U.581"}) + kAbortTail);
}

// The transfer counts its records as the pieces arrive, wherever a piece ends.
TEST(TransferProgress, CountsRecordLinesWhereverThePiecesEnd) {
    const QString memory =
        QStringLiteral("\r\n1;07/12/26;09:10:00;0.5\r\n2;07/12/26;09:11:00;0.7\r\n"
                       "3;x\r\n!\r\n>");
    for (int piece : {1, 2, 5, 7, 1000}) {
        QList<qsizetype> counts;
        TransferProgress progress([&](qsizetype records, qint64) { counts << records; }, 0);
        for (qsizetype at = 0; at < memory.size(); at += piece) {
            progress.Feed(QStringView(memory).mid(at, piece));
        }
        EXPECT_EQ(progress.Records(), 3) << piece;
        ASSERT_FALSE(counts.isEmpty());
        EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end())) << piece;
        EXPECT_EQ(counts.back(), 3) << piece;
    }
}

TEST(TransferProgress, ReportsTheFirstPieceThenAtMostOncePerInterval) {
    int reports = 0;
    TransferProgress progress([&](qsizetype, qint64) { ++reports; }, 60'000);
    for (int i = 0; i < 500; ++i) {
        progress.Feed(QStringLiteral("\r\n12;a;b"));
    }
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(progress.Records(), 499);
    EXPECT_EQ(TransferProgressText(1234, 65'400),
              QStringLiteral("1234 enregistrements reçus en 1:05"));
}

// The hook hears the data memory (and only it) while the transfer holds the busy state.
TEST_F(GetMValsTest, TheDataMemoryIsCountedWhileTheTransferHoldsTheBusyState) {
    link->receivePiece = 3;
    link->Script(QStringLiteral("U.581\r\n"), {QStringLiteral("\r\n1;a\r\n2;b\r\n!\r\n>")});
    QList<qsizetype> counts;
    QList<bool> busyAtReport;
    importMVal.SetProgressHook([&](qsizetype records, qint64) {
        counts << records;
        busyAtReport << busy.Busy();
    });
    QList<bool> edges;
    QObject::connect(&busy, &BusyState::Changed, [&](bool busy) { edges << busy; });
    ASSERT_TRUE(importMVal.GetMVals(strMVals));
    ASSERT_FALSE(counts.isEmpty());
    EXPECT_LE(counts.back(), 2);
    EXPECT_FALSE(busyAtReport.contains(false));
    EXPECT_EQ(edges, (QList<bool>{true, false}));
    // After the transfer the link tells nobody: a later program list is not counted.
    const qsizetype reports = counts.size();
    QString answer;
    link->COMInit(1, QStringLiteral("4800"), 4);
    link->COMSendAndReceive(QStringLiteral("U.581\r\n"), answer);
    EXPECT_EQ(counts.size(), reports);
}
