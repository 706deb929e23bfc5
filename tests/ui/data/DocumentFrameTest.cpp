#include "FakeMainFrame.h"
#include "ui/data/frmDocument.h"
#include "ui/shell/WindowServices.h"

#include <QAction>
#include <gtest/gtest.h>

// A document needs only the frame's interface: the shared menu entries reach the frame,
// and closing tells it before and after the window is gone from the count.
TEST(DocumentFrame, ForwardsTheSharedMenusAndTellsItsFrameWhenItCloses) {
    FakeMainFrame frame;
    frmDocument document(frame, DocumentServicesOf(frame.services()));
    document.Form_Load();
    EXPECT_EQ(frame.calls.value(0), QStringLiteral("UpdateCommandStates 1"));
    frame.calls.clear();
    const AppMenus& menus = document.Menus();
    menus.mnuFileNew->trigger();
    menus.mnuDeviceSearch->trigger();
    menus.mnuProgsUserDef->trigger();
    menus.mnuViewToolbar->trigger();
    EXPECT_EQ(frame.calls, QStringList({"MenuFileNew", "MenuDeviceSearch", "MenuProgsUserDef",
                                        "MenuViewToolbar"}));
    EXPECT_FALSE(menus.mnuViewToolbar->isChecked()); // the frame's state, not a toggle of its own
    frame.calls.clear();
    EXPECT_TRUE(document.close());
    EXPECT_EQ(frame.calls, QStringList({"UpdateCommandStates 0", "DocumentUnloaded"}));
    EXPECT_TRUE(document.IsUnloaded());
}
