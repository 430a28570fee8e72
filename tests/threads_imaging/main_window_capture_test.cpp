// main_window_capture_test.cpp - captures that are running when the main window or its image windows go.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <thread>

#include "imaging/grab_button_fixture.h"
#include "imaging/paint_usb_fixture.h"

using enum CDlgPaintUsb::CtlId;

TEST_F(GrabButtonTest, ClosingTheMainWindowDuringCaptureEndsIt) {
  start("219290");
  ASSERT_EQ(boards.control("pace=manual"), 1);
  confirmSelection();
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  auto* video = qobject_cast<CDlgGrabVideo*>(companion(CompanionKind::GrabVideo));
  ASSERT_NE(video, nullptr);
  void* board = video->board();
  video->onCaptureStart();
  boards.step(board, 1);
  QElapsedTimer t;
  t.start();
  while (video->frameCount() < 1 && t.elapsed() < 5000)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(video->frameCount(), 1);
  // The frame waits for its paint while the main window goes away.
  window.reset();
  EXPECT_NE(boards.log().find("CloseBoard 0"), std::string::npos);
}

using UsbVideoTest = PaintUsbFixture;

TEST_F(UsbVideoTest, VideoRunsUntilStoppedAndRepaintsOnItsOwn) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  // Shown, as the Grab button shows it: a hidden window does not paint.
  window->show();
  ctl<QPushButton>(kCaptureVideoButton)->click();
  for (int id : {kCaptureImageButton, kCaptureVideoButton, kSizeButton, kSaveImageButton})
    EXPECT_FALSE(ctl<QPushButton>(id)->isEnabled()) << id;
  EXPECT_TRUE(ctl<QPushButton>(kStopButton)->isEnabled());
  EXPECT_TRUE(window->videoRunning());
  const auto captures = sim.calls("CaptureFrame");
  ASSERT_FALSE(captures.empty());
  EXPECT_EQ(captures.back().value("mode"), 0);
  // The library redraws the block on its own thread; the window's repaints
  // show the count rising (bounded wait on the camera's thread).
  QElapsedTimer t;
  t.start();
  while (ctl<QLineEdit>(kFrameCountEdit)->text().toInt() < 3 && t.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_GE(ctl<QLineEdit>(kFrameCountEdit)->text().toInt(), 3);
  // Closing (the Grab button's second press) leaves the video running.
  window->closeGrab();
  EXPECT_TRUE(window->videoRunning());
  ctl<QPushButton>(kStopButton)->click();
  EXPECT_FALSE(window->videoRunning());
  for (int id : {kCaptureImageButton, kCaptureVideoButton, kSizeButton, kSaveImageButton})
    EXPECT_TRUE(ctl<QPushButton>(id)->isEnabled()) << id;
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

TEST_F(UsbVideoTest, EachNewFramePaintedOnceAndItsRateShown) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  window->show();
  window->onVideo();
  CameraLibrary& lib = CameraLibrary::instance();
  void* cam = cameraState().handle;
  auto serveUntil = [&](auto done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
  };
  ASSERT_TRUE(serveUntil([&] { return window->paintedFrames() >= 1; }));
  int32_t startCount = 0;
  lib.getCaptureRate(cam, nullptr, &startCount);
  const int64_t startPainted = window->paintedFrames();
  // One second later on the window's clock, with more frames shown.
  desktop.clock += 1000;
  ASSERT_TRUE(serveUntil([&] { return window->paintedFrames() >= startPainted + 5; }));
  int32_t endCount = 0;
  lib.getCaptureRate(cam, nullptr, &endCount);
  window->onStop();
  const int64_t painted = window->paintedFrames() - startPainted;
  // The window polls far faster than the camera draws: painting on every
  // poll would count several times the frames the library delivered.
  EXPECT_LE(painted, endCount - startCount + 1);
  EXPECT_GT(window->displayedFps(), 0.0);
  EXPECT_EQ(ctl<QLineEdit>(kDisplayRateEdit)->text(), QString::number(window->displayedFps(), 'f', 1));
  // Stopped: polls and repaints no longer count as shown frames.
  const int64_t after = window->paintedFrames();
  window->onVideoTick();
  window->refresh();
  EXPECT_EQ(window->paintedFrames(), after);
}

TEST_F(UsbVideoTest, CameraVanishingDuringVideoLeavesEveryControlUsable) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  window->show();
  window->onVideo();
  QElapsedTimer t;
  t.start();
  while (window->paintedFrames() < 2 && t.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_GE(window->paintedFrames(), 2);
  sim.control("vanish 103");
  // The video goes on polling a camera that answers nothing.
  t.restart();
  while (t.elapsed() < 100) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(ctl<QLineEdit>(kFrameCountEdit)->text(), "0");  // no count: shown as 0
  EXPECT_EQ(ctl<QLineEdit>(kRateEdit)->text(), "0");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  desktop.fileNames.push_back(dir.filePath("last.bmp"));
  // Every button a user can reach, in the order the panel offers them.
  for (int id : {kStopButton, kCaptureImageButton, kCaptureVideoButton, kStopButton, kSizeButton,
                 kOriginalRadio, kZoomRadio, kSaveImageButton}) {
    SCOPED_TRACE(id);
    auto* button = qobject_cast<QAbstractButton*>(window->controlWidget(id));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    button->click();
    QApplication::processEvents();
  }
  EXPECT_FALSE(window->videoRunning());
  for (int id : {kCaptureImageButton, kCaptureVideoButton, kSizeButton, kSaveImageButton})
    EXPECT_TRUE(window->controlWidget(id)->isEnabled()) << id;
  // Capture Image freed the last frame and the vanished camera gave no new
  // one: the save writes no file and says why.
  EXPECT_EQ(window->frame(), nullptr);
  EXPECT_FALSE(QFile::exists(dir.filePath("last.bmp")));
  EXPECT_EQ(desktop.texts(), QStringList{"there is no frame to save"});
}

TEST_F(GrabButtonTest, ClosingTheCameraEndsTheUsbVideoFirst) {
  start("219660");
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  auto* usb = qobject_cast<CDlgPaintUsb*>(companion(CompanionKind::PaintUsb));
  ASSERT_NE(usb, nullptr);
  usb->onVideo();
  ASSERT_TRUE(usb->videoRunning());
  sim.clearLog();
  // Reopen closes the camera: the window must not go on polling the old
  // handle with its capture buttons locked.
  window->reopenCamera();
  EXPECT_FALSE(usb->videoRunning());
  for (int id : {kCaptureImageButton, kCaptureVideoButton, kSizeButton, kSaveImageButton})
    EXPECT_TRUE(usb->controlWidget(id)->isEnabled()) << id;
  std::vector<std::string> order;
  for (const SimCamera::Call& c : sim.log())
    if (c.name == "StopCapture" || c.name == "CloseCamera") order.push_back(c.name);
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[0], "StopCapture");
  EXPECT_EQ(order[1], "CloseCamera");
}

TEST_F(GrabButtonTest, VideoLeftRunningIsStillLiveWhenGrabShowsTheWindowAgain) {
  start("219660");
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  auto* usb = qobject_cast<CDlgPaintUsb*>(companion(CompanionKind::PaintUsb));
  ASSERT_NE(usb, nullptr);
  ASSERT_TRUE(usb->isVisible());
  qobject_cast<QPushButton*>(usb->controlWidget(kCaptureVideoButton))->click();
  ASSERT_TRUE(usb->videoRunning());
  void* block = usb->frame();
  window->button(CTyxVistrelDlg::kGrabButton)->click();  // hidden; the video goes on
  ASSERT_FALSE(usb->isVisible());
  sim.clearLog();
  window->button(CTyxVistrelDlg::kGrabButton)->click();  // shown again
  ASSERT_TRUE(usb->isVisible());
  EXPECT_EQ(window->button(CTyxVistrelDlg::kGrabButton)->text(), ">>Grab");
  // No single frame ends the video or replaces the block it draws into.
  EXPECT_TRUE(sim.calls("CaptureFrame").empty());
  EXPECT_TRUE(sim.calls("StopCapture").empty());
  EXPECT_EQ(usb->frame(), block);
  EXPECT_TRUE(usb->videoRunning());
  for (int id : {kCaptureImageButton, kCaptureVideoButton, kSizeButton, kSaveImageButton})
    EXPECT_FALSE(usb->controlWidget(id)->isEnabled()) << id;
  // The camera still delivers, and the window shows the count rising.
  auto* total = qobject_cast<QLineEdit*>(usb->controlWidget(kFrameCountEdit));
  const int before = total->text().toInt();
  QElapsedTimer t;
  t.start();
  while (total->text().toInt() < before + 3 && t.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_GE(total->text().toInt(), before + 3);
  qobject_cast<QPushButton*>(usb->controlWidget(kStopButton))->click();
  EXPECT_FALSE(usb->videoRunning());
}
