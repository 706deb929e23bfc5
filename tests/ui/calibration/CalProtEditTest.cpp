#include "CalProtocolFixture.h"
#include "ui/calibration/frmCalProtEdit.h"

#include <QLineEdit>
#include <QTest>

namespace {

class LotEditor : public CalProtocolFixture {
protected:
    // Which standard rows a showing with `points` displays.
    QList<bool> RowsShown(short points) {
        frmCalProtEdit& e = main->CalProtEdit();
        e.NumCalPoints(points);
        e.show();
        QList<bool> shown;
        for (int i = 0; i < frmCalProtEdit::kStandards; ++i) {
            EXPECT_EQ(e.lblStd[i]->isVisible(), e.txtStd[i]->isVisible());
            shown << e.txtStd[i]->isVisible();
        }
        e.hide();
        return shown;
    }
};

} // namespace

TEST_F(LotEditor, RowsFollowThePointCount) {
    EXPECT_EQ(RowsShown(7), QList<bool>(5, true));
    EXPECT_EQ(main->CalProtEdit().NumCalPoints(), 5);
    EXPECT_EQ(RowsShown(0), QList<bool>(5, false));
    EXPECT_EQ(RowsShown(5), QList<bool>(5, true));
    EXPECT_EQ(RowsShown(3), QList<bool>({true, true, true, false, false}));
    EXPECT_TRUE(main->CalProtEdit().txtLOTTotal->isVisibleTo(&main->CalProtEdit()));
}

TEST_F(LotEditor, TypingReplacesSeparatorsAndStopsAtFifteen) {
    frmCalProtEdit& e = main->CalProtEdit();
    e.NumCalPoints(5);
    e.show();
    EXPECT_EQ(e.windowTitle(), QStringLiteral("Editer lot"));
    EXPECT_EQ(e.cmdAccept->text(), QStringLiteral("Reprendre"));
    QList<QLineEdit*> boxes{e.txtLOTTotal, e.txtExpiry, e.txtManufacturer};
    boxes += QList<QLineEdit*>(e.txtStd.begin(), e.txtStd.end());
    for (QLineEdit* box : boxes) {
        QTest::keyClicks(box, QStringLiteral("a;b"));
        EXPECT_EQ(box->text(), QStringLiteral("a,b")) << box->objectName().toStdString();
        QTest::keyClicks(box, QStringLiteral("0123456789abcdef"));
        EXPECT_EQ(box->text().size(), 15) << box->objectName().toStdString();
    }
    EXPECT_EQ(e.ChargeIDStd5(), QStringLiteral("a,b0123456789ab"));
    e.hide();
}

TEST_F(LotEditor, EveryShowingStartsUnconfirmed) {
    frmCalProtEdit& e = main->CalProtEdit();
    WhenModal([&](QWidget*) { e.cmdAccept->click(); });
    e.exec();
    EXPECT_TRUE(e.DlgRetVal());
    WhenModal([&](QWidget*) {
        EXPECT_FALSE(e.DlgRetVal());
        e.cmdCancel->click();
    });
    e.exec();
    EXPECT_FALSE(e.DlgRetVal());
}

TEST_F(LotEditor, GivenTextsComeBackWholeAndOnlyTypingIsLimited) {
    frmCalProtEdit& e = main->CalProtEdit();
    const QString longLot = QStringLiteral("Lot 2024-11-A/0042;x"); // 20 characters
    e.NumCalPoints(3);
    e.ChargeIDTotal(longLot);
    e.ChargeIDStd4(QStringLiteral("sub-lot of std 4"));
    e.ChargeIDStd5(QStringLiteral("a;b"));
    e.show();
    // Untouched, every text is given back as it was, also beyond 15 characters and in the
    // hidden rows of unused standards.
    EXPECT_EQ(e.ChargeIDTotal(), longLot);
    EXPECT_EQ(e.ChargeIDStd4(), QStringLiteral("sub-lot of std 4"));
    EXPECT_EQ(e.ChargeIDStd5(), QStringLiteral("a;b"));

    // A long text may be shortened, not lengthened; once edited, ";" becomes "," and at 15
    // characters the usual limit holds.
    e.txtLOTTotal->setFocus();
    e.txtLOTTotal->end(false);
    QTest::keyClick(e.txtLOTTotal, Qt::Key_Z);
    EXPECT_EQ(e.ChargeIDTotal(), longLot);
    e.txtLOTTotal->home(false);
    QTest::keyClick(e.txtLOTTotal, Qt::Key_Delete);
    QTest::keyClick(e.txtLOTTotal, Qt::Key_Z);
    EXPECT_EQ(e.ChargeIDTotal(), QStringLiteral("ot 2024-11-A/0042,x"));
    EXPECT_EQ(e.txtLOTTotal->cursorPosition(), 0);
    e.txtLOTTotal->end(false);
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(e.txtLOTTotal, Qt::Key_Backspace);
    }
    QTest::keyClicks(e.txtLOTTotal, QStringLiteral("a;bc"));
    EXPECT_EQ(e.ChargeIDTotal(), QStringLiteral("ot 2024-11-A/a,"));
    e.hide();
}
