// grab_video_capture_test.cpp - live capture in the grab video window: frames painted, stops that never hang.
#include <QLineEdit>
#include <QPushButton>

#include <random>

#include "imaging/grab_video_fixture.h"

namespace {

class GrabCaptureTest : public GrabVideoFixture {
 protected:
  bool buttonsEnabled() const {
    return ctl<QPushButton>(CDlgGrabVideo::kCaptureButton)->isEnabled() && ctl<QPushButton>(CDlgGrabVideo::kSignalTestButton)->isEnabled() &&
           ctl<QPushButton>(CDlgGrabVideo::kAutoSetButton)->isEnabled();
  }
  bool anyButtonEnabled() const {
    return ctl<QPushButton>(CDlgGrabVideo::kCaptureButton)->isEnabled() || ctl<QPushButton>(CDlgGrabVideo::kSignalTestButton)->isEnabled() ||
           ctl<QPushButton>(CDlgGrabVideo::kAutoSetButton)->isEnabled();
  }
  QString totalShown() const { return ctl<QLineEdit>(CDlgGrabVideo::kTotalFramesEdit)->text(); }
  // Distinct colours in the picture: a painted test picture has many.
  int colours() const {
    const QImage& img = window->picture();
    std::vector<QRgb> seen;
    for (int y = 0; y < img.height(); y += 7)
      for (int x = 0; x < img.width(); x += 7) {
        const QRgb c = img.pixel(x, y);
        if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
      }
    return static_cast<int>(seen.size());
  }
  // Lets the board deliver n frames and serves the GUI until each is painted.
  bool deliver(int n) {
    const int before = window->frameCount();
    sim.step(window->board(), n);
    return pumpUntil(
        [&] { return window->frameCount() == before + n && totalShown() == QString::number(before + n); });
  }
};

}  // namespace

TEST_F(GrabCaptureTest, FramesArePaintedAndCounted) {
  ASSERT_TRUE(open("pace=manual"));
  clearLog();
  // Shown, so each frame goes through the real paint of the picture frame.
  window->show();
  ctl<QPushButton>(CDlgGrabVideo::kCaptureButton)->click();
  EXPECT_FALSE(anyButtonEnabled());
  EXPECT_TRUE(window->capturing());
  EXPECT_TRUE(loggedInOrder({"SetConvertParam 2 0", "SetSeqCallback set", "CaptureByBuffer 1"}));
  ASSERT_TRUE(deliver(3));
  EXPECT_GT(colours(), 6);
  const QImage first = window->picture();
  ASSERT_TRUE(deliver(1));
  EXPECT_NE(window->picture(), first);    // the picture moves from frame to frame
  EXPECT_EQ(window->paintedFrames(), 4);  // every delivered frame painted once
  ctl<QPushButton>(CDlgGrabVideo::kStopButton)->click();
  EXPECT_TRUE(buttonsEnabled());
  EXPECT_FALSE(window->capturing());
  EXPECT_TRUE(loggedInOrder({"SetSeqCallback clear", "StopCapture"}));
}

TEST_F(GrabCaptureTest, StartingAgainResetsTheFrameCount) {
  ASSERT_TRUE(open("pace=manual"));
  window->onCaptureStart();
  ASSERT_TRUE(deliver(4));
  window->onCaptureStop();
  EXPECT_EQ(totalShown(), "4");
  window->onCaptureStart();
  EXPECT_EQ(totalShown(), "0");
  ASSERT_TRUE(deliver(1));
  EXPECT_EQ(window->frameCount(), 1);
  window->onCaptureStop();
}

TEST_F(GrabCaptureTest, DisplayedFramesPerSecondFollowTheClock) {
  ASSERT_TRUE(open("pace=manual"));
  window->onCaptureStart();
  // Eleven frames 100 ms apart on the desktop clock: ten intervals in a second.
  for (int i = 0; i < 11; ++i) {
    ASSERT_TRUE(deliver(1));
    desktop.clock += 100;
  }
  EXPECT_DOUBLE_EQ(window->displayedFps(), 10.0);
  EXPECT_EQ(ctl<QLineEdit>(CDlgGrabVideo::kDisplayRateEdit)->text(), "10.0");
  window->onCaptureStop();
}

TEST_F(GrabCaptureTest, EveryFormatPaints) {
  for (const char* format : {"grey8", "rgb565", "rgb24", "rgb32"}) {
    SCOPED_TRACE(format);
    window.reset();
    ASSERT_EQ(sim.control("reset"), 1);
    window = std::make_unique<CDlgGrabVideo>(nullptr, nullptr);
    ASSERT_TRUE(open(std::string("pace=manual;format=") + format));
    window->onCaptureStart();
    ASSERT_TRUE(deliver(1));
    EXPECT_GT(colours(), 4);
    window->onCaptureStop();
  }
}

TEST_F(GrabCaptureTest, FrameLargerThanThePixelAreaIsCountedNotConverted) {
  ASSERT_TRUE(open("pace=manual;format=rgb32"));
  // 4096 x 4096 at 32 bits is 64 MiB, more than the frame block holds.
  TyxRect big{0, 0, 4096, 4096};
  ASSERT_EQ(BoardLibrary::instance().setTargetRect(window->board(), 1, &big), 1);
  window->onCaptureStart();
  ASSERT_TRUE(deliver(2));
  EXPECT_EQ(colours(), 1);  // still the black of no frame
  window->onCaptureStop();
}

TEST_F(GrabCaptureTest, SequenceEndingByItselfGivesTheButtonsBack) {
  ASSERT_TRUE(open("pace=fast;frames=5"));
  window->onCaptureStart();
  ASSERT_TRUE(pumpUntil([&] { return buttonsEnabled() && !window->capturing(); }));
  EXPECT_EQ(window->frameCount(), 5);
  // And a new capture runs again.
  window->onCaptureStart();
  ASSERT_TRUE(
      pumpUntil([&] { return buttonsEnabled() && window->frameCount() == 5 && !window->capturing(); }));
}

TEST_F(GrabCaptureTest, StopWhileAFrameWaitsForTheGuiThread) {
  ASSERT_TRUE(open("pace=fast"));
  window->onCaptureStart();
  // Without serving events the first frame callback is left waiting for its
  // paint; stopping from here must not wait for it in return.
  QElapsedTimer t;
  t.start();
  while (window->frameCount() < 1 && t.elapsed() < 5000)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(window->frameCount(), 1);
  window->onCaptureStop();
  EXPECT_FALSE(window->capturing());
  QApplication::processEvents();  // the late paint request is harmless
}

TEST_F(GrabCaptureTest, DestroyingTheWindowWhileAFrameIsInFlight) {
  ASSERT_TRUE(open("pace=fast"));
  void* board = window->board();
  window->onCaptureStart();
  QElapsedTimer t;
  t.start();
  while (window->frameCount() < 1 && t.elapsed() < 5000)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  window.reset();
  QApplication::processEvents();
  // The capture ended with the window: no frame comes after it.
  const int delivered = sim.frameCount(board);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(sim.frameCount(board), delivered);
  EXPECT_TRUE(loggedInOrder({"SetSeqCallback clear", "StopCapture", "CloseBoard 0"}));
}

TEST_F(GrabCaptureTest, StartStopCloseStorm) {
  // Hundreds of cycles of every way a capture can end, at random moments:
  // a stop, a close of the board, the window destroyed, a second start
  // press. Any deadlock hangs here; any use after free shows under the
  // sanitizers.
  ASSERT_EQ(sim.control("pace=fast"), 1);
  std::mt19937 random(12345);
  int cycles = 0;
  int framesSeen = 0;
  for (int i = 0; i < 300; ++i) {
    if (!window->board()) {
      scriptSelection();
      ASSERT_TRUE(window->openGrab(nullptr)) << i;
    }
    window->onCaptureStart();
    window->onCaptureStart();  // ignored while running
    const int serve = static_cast<int>(random() % 4);
    for (int k = 0; k < serve; ++k) QApplication::processEvents();
    // Every fourth cycle lets frames arrive before it ends the capture.
    if (i % 4 == 0) {
      ASSERT_TRUE(pumpUntil([&] { return window->frameCount() >= 2; })) << i;
    }
    framesSeen += window->frameCount();
    switch (random() % 4) {
      case 0: window->onCaptureStop(); break;
      case 1: window->closeGrab(); break;
      case 2:
        window.reset();
        window = std::make_unique<CDlgGrabVideo>(nullptr, nullptr);
        break;
      default:
        window->onCaptureStop();
        window->onCaptureStart();
        window->onCaptureStop();
        break;
    }
    ASSERT_TRUE(window->board() == nullptr || !window->capturing()) << i;
    ++cycles;
  }
  QApplication::processEvents();
  EXPECT_EQ(cycles, 300);
  EXPECT_GT(framesSeen, 0);  // frames were in flight during the storm
}
