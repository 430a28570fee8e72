// held_arrow_test.cpp - a bar's arrow held down while the page shows a message: OK ends the click.
#include "common/bar_input.h"
#include "common/page_test.h"
#include "pages/area/dlg_mode.h"
#include "pages/area/dlg_param.h"
#include "pages/linescan/dlg_linear_param.h"

namespace {

class HeldArrow : public CameraPageTest {
 protected:
  // Presses the right arrow of a bar and keeps it down, as the user whose
  // release the message box swallowed.
  void holdRightArrow(ReqScrollBar* b) {
    const QPoint arrow = rightArrow(b);
    if (arrow.isNull()) GTEST_SKIP() << "this style draws no arrows";
    QTest::mousePress(b, Qt::LeftButton, {}, arrow);
  }
  void release(ReqScrollBar* b) { QTest::mouseRelease(b, Qt::LeftButton, {}, rightArrow(b)); }
};

}  // namespace

TEST_F(HeldArrow, ARefusedGainIsReportedOnceAndTheBarStops) {
  openOn("COM1", "219290", 9);
  ASSERT_EQ(cameraState().readCameraParams(), 1);
  cameraState().copyLineGeometry();
  widget = std::make_unique<CDlgParam>(nullptr, nullptr);
  showWidget();
  ReqScrollBar* gain = bar(CDlgParam::kGainBar);
  const int before = gain->value();
  sim.control("fail *=106");
  holdRightArrow(gain);
  // OK has been pressed on the one message: the arrow is up, nothing repeats.
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_FALSE(gain->repeating());
  EXPECT_FALSE(gain->interacting());
  const auto writes = sim.writes();
  ASSERT_FALSE(writes.empty());
  for (const Write& w : writes) EXPECT_EQ(w, W(1, before + 1)) << "one line, no more";
  // The fault clears; the late release and the time after it add nothing.
  sim.control("unfail");
  release(gain);
  EXPECT_EQ(sim.writes(), writes);
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(gain->value(), before + 1);
}

TEST_F(HeldArrow, ALineScanTimeAtItsLimitIsCorrectedOnce) {
  sim.control("clear;camera COM1=120770");
  CameraState& s = cameraState();
  s.language = 9;
  int32_t t = -2;
  s.handle = CameraLibrary::instance().openCamera(&t, "COM1");
  ASSERT_NE(s.handle, nullptr);
  s.typeCode = t;
  CameraLibrary& lib = CameraLibrary::instance();
  // Free run, Time1 at its limit: 300 + 200 = 500.
  lib.setConfigParam(s.handle, 102, 3, 0);
  lib.setConfigParam(s.handle, 106, 300, 0);
  lib.setConfigParam(s.handle, 107, 200, 0);
  lib.setConfigParam(s.handle, 102, 0, 0);
  ASSERT_EQ(s.readLinearParams(), 1);
  widget = std::make_unique<CDlgLinearParam>(nullptr, nullptr);
  showWidget();
  ReqScrollBar* time1 = bar(CDlgLinearParam::kTime1Bar);
  holdRightArrow(time1);
  EXPECT_EQ(desktop.texts(), QStringList{"input exceed valid range of expose time"});
  EXPECT_FALSE(time1->repeating());
  EXPECT_FALSE(time1->interacting());
  release(time1);
  EXPECT_EQ(desktop.messages.size(), 1u);
  for (const Write& w : sim.writes()) EXPECT_EQ(w, W(106, 300)) << "Time1 never passes its limit";
  EXPECT_EQ(s.linear.time1, 300);
  EXPECT_EQ(editText(CDlgLinearParam::kTime1Edit), "300");
}

TEST_F(HeldArrow, WithNoCameraTheRiseDelayArrowStopsAtTheFirstMessage) {
  sim.reset();
  sim.control("clear");
  cameraState().language = 9;
  ASSERT_EQ(cameraState().handle, nullptr);
  widget = std::make_unique<CDlgMode>(nullptr, nullptr);
  showWidget();
  ReqScrollBar* rise = bar(CDlgMode::kRiseDelayBar);
  ASSERT_TRUE(rise->isVisible()) << "with no camera the page leaves its controls as they are";
  const int before = rise->value();
  holdRightArrow(rise);
  // The write without a camera fails and is reported once; the end of the
  // click would report the same failure again and does not.
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_FALSE(rise->repeating());
  EXPECT_FALSE(rise->interacting());
  release(rise);
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(rise->value(), before + 1);
  EXPECT_EQ(cameraState().ext.riseDelay, before + 1);
}
