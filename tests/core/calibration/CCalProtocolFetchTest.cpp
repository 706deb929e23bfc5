#include "CCalProtocolFixture.h"

namespace {

const QString kPH = QStringLiteral("U.586");
const QString kTurb = QStringLiteral("U.585");
const QString kTurbExt = QStringLiteral("U.587");

// A pH answer: date, time, mode code, slope, asymmetry, quality code, interval, the two
// display flags, the point count and the point fields.
QString PHAnswer(const QString& modeCode, const QString& quality, const QString& count,
                 const QString& points) {
    return QStringLiteral("586,2024,3,15,9,5,7,%1,-58.0,-3.2,%2,7,0,1,%3%4")
        .arg(modeCode, quality, count, points);
}

struct PHView {
    QString meter, serNo, user, date, time, interval, mode, slope, asy, quality;
    bool showF = true;
    bool showPC = false;
    short points = -1;
    QStringList ph, mV, temp;
};

class CCalProtocolFetchTest : public CCalProtocolFixture {
protected:
    bool GetPH(PHView& v) {
        return protocol().GetProtocolPH(v.meter, v.serNo, v.user, v.date, v.time, v.interval,
                                        v.mode, v.slope, v.asy, v.quality, v.showF, v.showPC,
                                        v.points, v.ph, v.mV, v.temp);
    }
    PHView ViewPH() {
        PHView v;
        EXPECT_TRUE(GetPH(v));
        return v;
    }

    // The fetch fails, leaves no protocol, and the link was closed again.
    void ExpectRejected(bool fPH, bool fExtended) {
        EXPECT_FALSE(protocol().UpdateFromMeter(fPH, fExtended));
        EXPECT_FALSE(protocol().IsProtocolValid());
        ASSERT_FALSE(link->calls.isEmpty());
        EXPECT_EQ(link->calls.last(), QStringLiteral("COMDeinit"));
        EXPECT_FALSE(link->active);
    }
};

} // namespace

TEST_F(CCalProtocolFetchTest, OfflineGivesTrueWithoutAProtocolAndNoConversation) {
    EXPECT_TRUE(protocol().UpdateFromMeter(true, false));
    EXPECT_FALSE(protocol().IsProtocolValid());
    EXPECT_TRUE(link->calls.isEmpty());
    QString meter, serNo, user;
    EXPECT_FALSE(protocol().GetProtocolHeader(meter, serNo, user));
    short y = 0, m = 0, d = 0;
    EXPECT_FALSE(protocol().GetProtocolDate(y, m, d));
}

TEST_F(CCalProtocolFetchTest, PHProtocolConversationAndEveryField) {
    Online(QStringLiteral("Zentravox pH"));
    Answers(kPH, PHAnswer(QStringLiteral("2"), QStringLiteral("7"), QStringLiteral("3"),
                          QStringLiteral(",4.01,172.3,25.0,7.00,-3.1,25.1,10.01,-176.9,24.9")));
    ASSERT_TRUE(protocol().UpdateFromMeter(true, false));
    EXPECT_EQ(link->calls,
              QStringList({QStringLiteral("COMInit 1 4800 4"), QStringLiteral("send U.400"),
                           QStringLiteral("send U.586"), QStringLiteral("COMDeinit")}));
    EXPECT_TRUE(protocol().IsProtocolValid());
    EXPECT_TRUE(protocol().IsProtocolPH());
    const PHView v = ViewPH();
    EXPECT_EQ(QStringList({v.meter, v.serNo, v.user, v.date, v.time, v.interval, v.mode, v.slope,
                           v.asy, v.quality}),
              QStringList({"Zentravox pH", "SN-4711", "Marie", "15/03/2024", "09:05:07", "7",
                           "Calomat NIST/DIN", "-58.0", "-3.2", "Erreur"}));
    EXPECT_FALSE(v.showF);
    EXPECT_TRUE(v.showPC);
    EXPECT_EQ(v.points, 3);
    EXPECT_EQ(v.ph, QStringList({"4.01", "7.00", "10.01"}));
    EXPECT_EQ(v.mV, QStringList({"172.3", "-3.1", "-176.9"}));
    EXPECT_EQ(v.temp, QStringList({"25.0", "25.1", "24.9"}));
    short y = 0, m = 0, d = 0;
    ASSERT_TRUE(protocol().GetProtocolDate(y, m, d));
    EXPECT_EQ(QDate(y, m, d), QDate(2024, 3, 15));

    QString meter, serNo, user, date, time, interval, mode;
    short points = 0;
    QStringList standards;
    EXPECT_FALSE(protocol().GetProtocolTurbidity(meter, serNo, user, date, time, interval, mode,
                                                 points, standards));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CCalProtocolFetchTest, PHFieldCountsAndPointLimits) {
    Online(QStringLiteral("Zentravox pH"));
    // 16 fields: no mode, no room for a point.
    Answers(kPH, PHAnswer(QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("0"),
                          QStringLiteral(",x")));
    ASSERT_TRUE(protocol().UpdateFromMeter(true, false));
    EXPECT_EQ(ViewPH().mode, QString());
    EXPECT_EQ(ViewPH().points, 0);

    // 18 fields: mode code 0 and one point.
    Answers(kPH, PHAnswer(QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("1"),
                          QStringLiteral(",6.98,1.5,21.0")));
    ASSERT_TRUE(protocol().UpdateFromMeter(true, false));
    EXPECT_EQ(ViewPH().mode, QStringLiteral("Calomat TBX"));
    EXPECT_EQ(ViewPH().temp, QStringList({"21.0"}));

    struct Case {
        const char* why;
        QString count;
        QString points;
    };
    const Case rejected[] = {
        {"17 fields", QStringLiteral("0"), QStringLiteral(",1,2")},
        {"25 fields", QStringLiteral("3"), QStringLiteral(",1,2,3,4,5,6,7,8,9,10")},
        {"4 points", QStringLiteral("4"), QStringLiteral(",1,2,3,4,5,6,7,8,9")},
        {"3 points in 21 fields", QStringLiteral("3"), QStringLiteral(",1,2,3,4,5,6")},
        {"1 point in 16 fields", QStringLiteral("1"), QStringLiteral(",7.0")},
    };
    for (const Case& c : rejected) {
        SCOPED_TRACE(c.why);
        // A good protocol first: a rejected answer must not leave it behind.
        link->Script(Cmd(kPH),
                     {ScriptedMeterLink::OkAnswer(PHAnswer("0", "3", "0", ",")),
                      ScriptedMeterLink::OkAnswer(PHAnswer("0", "3", c.count, c.points))});
        ASSERT_TRUE(protocol().UpdateFromMeter(true, false));
        ASSERT_TRUE(protocol().IsProtocolValid());
        ExpectRejected(true, false);
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CCalProtocolFetchTest, SensorQualityCodesGiveTheirTexts) {
    Online(QStringLiteral("Zentravox pH"));
    const QStringList texts{"Erreur", "-", "+", "++", "+++", "Conf. de base", "Erreur", "Erreur"};
    for (int code = 0; code < texts.size(); ++code) {
        Answers(kPH, PHAnswer(QStringLiteral("1"), QString::number(code), QStringLiteral("0"),
                              QStringLiteral(",")));
        ASSERT_TRUE(protocol().UpdateFromMeter(true, false));
        EXPECT_EQ(ViewPH().quality, texts[code]) << code;
    }
}

TEST_F(CCalProtocolFetchTest, TurbidityFormIsChosenByTheFieldCount) {
    Online(QStringLiteral("Ardel 60 IR"));
    // The standard answer, although the extended command was sent.
    Answers(kTurbExt, QStringLiteral("587,2024,11,2,16,45,0,30"));
    ASSERT_TRUE(protocol().UpdateFromMeter(false, true));
    EXPECT_EQ(link->sent, QStringList({Cmd("U.400"), Cmd(kTurbExt)}));
    EXPECT_FALSE(protocol().IsProtocolPH());
    TurbidityView t = ViewTurbidity();
    EXPECT_EQ(QStringList({t.meter, t.serNo, t.user, t.date, t.time, t.interval, t.mode}),
              QStringList({"Ardel 60 IR", "SN-4711", "Marie", "02/11/2024", "16:45:00", "30",
                           "3-P StdCAL"}));
    EXPECT_EQ(t.points, 3);
    EXPECT_EQ(t.standards, QStringList({"0.02", "10.0", "1000"}));

    Answers(kTurb, QStringLiteral("585,2024,11,2,16,45,0,30,5-P,5,0.02,10.0,100,500,1000,9"));
    ASSERT_TRUE(protocol().UpdateFromMeter(false, false));
    EXPECT_EQ(link->sent.last(), Cmd(kTurb));
    t = ViewTurbidity({QStringLiteral("overwritten")});
    EXPECT_EQ(t.mode, QStringLiteral("5-P"));
    EXPECT_EQ(t.points, 5);
    EXPECT_EQ(t.standards, QStringList({"0.02", "10.0", "100", "500", "1000"}));
    PHView v;
    EXPECT_FALSE(GetPH(v)) << "a turbidity protocol is no pH protocol";
}

TEST_F(CCalProtocolFetchTest, RejectedTurbidityAnswers) {
    Online(QStringLiteral("Ardel 20 IR"));
    const QString good = ScriptedMeterLink::OkAnswer(QStringLiteral("585,24,1,31,23,59,59,7"));
    const QString rejected[] = {
        QStringLiteral("585,2024,11,2,16,45,0"),                      // 7 fields
        QStringLiteral("585,2024,11,2,16,45,0,30,5-P"),               // 9 fields
        QStringLiteral("585,2024,11,2,16,45,0,30,6-P,6,1,2,3,4,5,6"), // more than 5 standards
        QStringLiteral("585,2024,11,2,16,45,0,30,4-P,4,1,2,3"),       // a standard missing
    };
    for (const QString& answer : rejected) {
        SCOPED_TRACE(answer.toStdString());
        link->Script(Cmd(kTurb), {good, ScriptedMeterLink::OkAnswer(answer)});
        ASSERT_TRUE(protocol().UpdateFromMeter(false, false));
        short y = 0, m = 0, d = 0;
        ASSERT_TRUE(protocol().GetProtocolDate(y, m, d));
        EXPECT_EQ(y, 24) << "the date parts are the meter's text as numbers";
        ExpectRejected(false, false);
    }
    // The two-digit year is read as in the classic date functions.
    link->Script(Cmd(kTurb), {good});
    ASSERT_TRUE(protocol().UpdateFromMeter(false, false));
    const TurbidityView t = ViewTurbidity();
    EXPECT_EQ(t.date, QStringLiteral("31/01/2024"));
    EXPECT_EQ(t.time, QStringLiteral("23:59:59"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CCalProtocolFetchTest, FailedConversationsAndBadNumbers) {
    Online(QStringLiteral("Zentravox pH"));
    // The meter refuses the command.
    link->Script(Cmd(kPH), {ScriptedMeterLink::RefusedAnswer()});
    ExpectRejected(true, false);
    // An answer that does not end with the OK terminator.
    link->Script(Cmd(kPH), {QStringLiteral("\r\n586,2024,3,15,9,5,7,0,1,2,3,7,0,0,0,x\r\n?\r\n>")});
    ExpectRejected(true, false);
    // No greeting answer: the protocol command is not sent.
    link->Script(Cmd(QStringLiteral("U.400")), {QString()});
    link->sent.clear();
    ExpectRejected(true, false);
    EXPECT_EQ(link->sent, QStringList({Cmd("U.400")}));
    EXPECT_TRUE(ui.messages.isEmpty());

    // The port cannot be opened: nothing to close.
    link->ScriptOk(Cmd(QStringLiteral("U.400")), QStringLiteral("ok"));
    link->initSucceeds = false;
    link->calls.clear();
    EXPECT_FALSE(protocol().UpdateFromMeter(true, false));
    EXPECT_EQ(link->calls, QStringList({QStringLiteral("COMInit 1 4800 4")}));
    link->initSucceeds = true;

    // Text where a number is needed is a run-time error: reported, link closed.
    Answers(kPH, PHAnswer(QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("two"),
                          QStringLiteral(",1,2,3")));
    ExpectRejected(true, false);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Erreur"));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
}
