// grab_button_test.cpp - the main window's Grab button opens and closes the two image windows.
#include "grab_button_fixture.h"

using enum CDlgPaintUsb::CtlId;

TEST_F(GrabButtonTest, AreaCameraOpensTheGrabVideoWindow) {
  start("219290");
  auto* video = qobject_cast<CDlgGrabVideo*>(companion(CompanionKind::GrabVideo));
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->windowTitle(), "Grab video");
  EXPECT_FALSE(video->isVisible());
  confirmSelection();
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_TRUE(window->grabShown());
  EXPECT_TRUE(video->isVisible());
  EXPECT_NE(video->board(), nullptr);
  EXPECT_EQ(window->button(CTyxVistrelDlg::kGrabButton)->text(), ">>Grab");
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_FALSE(window->grabShown());
  EXPECT_FALSE(video->isVisible());
  EXPECT_EQ(video->board(), nullptr);
}

TEST_F(GrabButtonTest, NoBoardKeepsTheGrabStateUnchanged) {
  start("219290");
  ASSERT_EQ(boards.control("boards=0"), 1);
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_FALSE(window->grabShown());
  EXPECT_FALSE(companion(CompanionKind::GrabVideo)->isVisible());
  EXPECT_EQ(desktop.texts(), QStringList{"valid only for tyx image board,no tyx board detected,failed!"});
  EXPECT_EQ(window->button(CTyxVistrelDlg::kGrabButton)->text(), "<<Grab");
}

TEST_F(GrabButtonTest, UsbCameraOpensTheCaptureImageWindow) {
  start("219660");
  auto* usb = qobject_cast<CDlgPaintUsb*>(companion(CompanionKind::PaintUsb));
  ASSERT_NE(usb, nullptr);
  EXPECT_EQ(usb->windowTitle(), "Capture Image");
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_TRUE(window->grabShown());
  EXPECT_TRUE(usb->isVisible());
  EXPECT_NE(usb->frame(), nullptr);
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_FALSE(usb->isVisible());
  EXPECT_NE(usb->frame(), nullptr);  // the frame stays until the next single capture
}

TEST_F(GrabButtonTest, ImageWindowOpensLeftOfTheMainWindowAndStaysOnTheScreen) {
  start("219660");
  auto* usb = companion(CompanionKind::PaintUsb);
  window->show();
  const QRect area = window->screen()->availableGeometry();
  struct Case {
    const char* name;
    int mainLeft;   // from the screen's left edge
    bool touching;  // the image window's right edge meets the main window's left edge
  } cases[] = {
      {"room on the left", usb->frameGeometry().width() + 60, true},
      {"main window at the left edge", 10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window->move(area.left() + c.mainLeft, area.top() + 20);
    window->button(CTyxVistrelDlg::kGrabButton)->click();
    ASSERT_TRUE(usb->isVisible());
    if (c.touching)
      EXPECT_EQ(usb->frameGeometry().right() + 1, window->frameGeometry().left());
    else
      EXPECT_EQ(usb->frameGeometry().left(), area.left());  // not off the screen
    EXPECT_EQ(usb->frameGeometry().top(), window->frameGeometry().top());
    window->button(CTyxVistrelDlg::kGrabButton)->click();
  }
}
