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
