// main_window_capture_test.cpp - captures that are running when the main window or its image windows go.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <thread>

#include "imaging/grab_button_fixture.h"
#include "imaging/paint_usb_fixture.h"

TEST_F(GrabButtonTest, ClosingTheMainWindowDuringCaptureEndsIt) {
#if defined(__SANITIZE_THREAD__)
  // The main window's start-up paints its progress window, and Qt's own
  // painting helper threads synchronise in ways ThreadSanitizer cannot see
  // (Qt is not built for it). The same ending of a capture with a frame in
  // flight runs under it in DestroyingTheWindowWhileAFrameIsInFlight.
  GTEST_SKIP() << "paints through Qt's helper threads, which ThreadSanitizer misreads";
#endif
  start("219290");
  ASSERT_EQ(boards.control("pace=manual"), 1);
  confirmSelection();
  window->button(1008)->click();
  auto* video = qobject_cast<CDlgGrabVideo*>(companion(CompanionKind::GrabVideo));
  ASSERT_NE(video, nullptr);
  void* board = video->board();
  video->onCaptureStart();
  boards.step(board, 1);
  QElapsedTimer t;
  t.start();
  while (video->frameCount() < 1 && t.elapsed() < 5000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(video->frameCount(), 1);
  // The frame waits for its paint while the main window goes away.
  window.reset();
  EXPECT_NE(boards.log().find("CloseBoard 0"), std::string::npos);
}


using UsbVideoTest = PaintUsbFixture;

TEST_F(UsbVideoTest, VideoRunsUntilStoppedAndRepaintsOnItsOwn) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  ctl<QPushButton>(1065)->click();
  for (int id : {1066, 1065, 1107, 1067}) EXPECT_FALSE(ctl<QPushButton>(id)->isEnabled()) << id;
  EXPECT_TRUE(ctl<QPushButton>(1001)->isEnabled());
  EXPECT_TRUE(window->videoRunning());
  const auto captures = sim.calls("CaptureFrame");
  ASSERT_FALSE(captures.empty());
  EXPECT_EQ(captures.back().value("mode"), 0);
  // The library redraws the block on its own thread; the window's repaints
  // show the count rising (bounded wait on the camera's thread).
  QElapsedTimer t;
  t.start();
  while (ctl<QLineEdit>(1062)->text().toInt() < 3 && t.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_GE(ctl<QLineEdit>(1062)->text().toInt(), 3);
  // Closing (the Grab button's second press) leaves the video running.
  window->closeGrab();
  EXPECT_TRUE(window->videoRunning());
  ctl<QPushButton>(1001)->click();
  EXPECT_FALSE(window->videoRunning());
  for (int id : {1066, 1065, 1107, 1067}) EXPECT_TRUE(ctl<QPushButton>(id)->isEnabled()) << id;
  EXPECT_FALSE(sim.calls("StopCapture").empty());
}

TEST_F(UsbVideoTest, WindowDestroyedDuringVideo) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  window->onVideo();
  CameraLibrary& lib = CameraLibrary::instance();
  void* cam = cameraState().handle;
  int32_t count = 0;
  QElapsedTimer t;
  t.start();
  while (lib.getCaptureRate(cam, nullptr, &count) <= 0.0f && t.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_GT(lib.getCaptureRate(cam, nullptr, &count), 0.0f);
  // The frame block is freed with the window, which ends the capture into it.
  window.reset();
  QApplication::processEvents();
  EXPECT_EQ(lib.getCaptureRate(cam, nullptr, &count), 0.0f);
}
