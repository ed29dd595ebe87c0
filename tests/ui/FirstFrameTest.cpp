// What the Qt window leaves for right after its first frame: its icon, whose images would load
// every image plugin Qt has before anything is drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QList>
#include <QSize>
#include <QTest>

#include "EditorFakes.h"
#include "frmEditor.h"

using namespace quelvar;
using namespace quelvar::qt;

namespace {

TEST(FirstFrame, TheWindowIconComesOnlyAfterTheFirstPaint) {
    testing_support::FakeMsgBox msgBox;
    testing_support::FakeDialog dialog;
    frmEditor window(msgBox, dialog);
    // Whatever the construction queued has run; nothing was painted yet.
    QApplication::processEvents();
    EXPECT_TRUE(window.windowIcon().availableSizes().isEmpty()) << "icon before the first frame";

    window.show();
    const bool arrived =
        QTest::qWaitFor([&] { return !window.windowIcon().availableSizes().isEmpty(); }, 5000);
    ASSERT_TRUE(arrived) << "no icon five seconds after the window was shown";
    EXPECT_EQ(window.windowIcon().availableSizes(),
              (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
}

}  // namespace
