// camera_switch_test.cpp - after every kind of opening the windows belong to the camera that is open:
// tabs, buttons, the second parameter block, the image and information windows.
#include <cstring>

#include "switch_fixture.h"

namespace {

bool contains(const std::vector<QString>& titles, const char* title) {
  return std::find(titles.begin(), titles.end(), QString::fromUtf8(title)) != titles.end();
}

// ---- network open: the tabs and buttons of the opened camera -----------------

struct NetworkCase {
  const char* name;
  const char* before;  // the port opened first ("" for the start-up camera, 219290 on COM1)
  int row;             // network list row: 0 NetPort1 321880, 2 NetPort3 218920
  int32_t type;
  std::vector<const char*> present;
  std::vector<const char*> absent;
  bool limited;  // gamma, bar and information window disabled
};

class NetworkOpen : public CameraSwitchTest, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(NetworkOpen, GivesTheTabsAndButtonsOfTheOpenedType) {
  const NetworkCase& c = GetParam();
  start();
  if (*c.before != '\0') choosePort(c.before);
  openNetworkCamera(c.row);
  ASSERT_EQ(cameraState().typeCode, c.type);
  EXPECT_EQ(shownTitles(), rebuildTitles());
  for (const char* title : c.present) EXPECT_TRUE(contains(shownTitles(), title)) << title;
  for (const char* title : c.absent) EXPECT_FALSE(contains(shownTitles(), title)) << title;
  // The first tab is the one shown, as after a port change.
  EXPECT_TRUE(window->tabs()->page(0)->isVisible());
  EXPECT_TRUE(enabled(CTyxVistrelDlg::kGrabButton));
  for (int id : {CTyxVistrelDlg::kGammaButton, CTyxVistrelDlg::kBarModeButton, CTyxVistrelDlg::kInfoButton})
    EXPECT_EQ(enabled(id), !c.limited) << id;
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetworkOpen,
    ::testing::Values(
        NetworkCase{"LineScanTo4K",
                    "CamLink1",
                    0,
                    321880,
                    {"Mode", "Param", "Tarvo", "Port and File"},
                    {"模式调节", "参数设置", "Color"},
                    false},
        NetworkCase{"ColourToNonColour", "", 0, 321880, {"Tarvo"}, {"Color"}, false},
        NetworkCase{"AreaToLimitedColour", "COM2", 2, 218920, {"Color"}, {"video param", "Tarvo"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CameraSwitchTest, NetworkOpenedPagesWriteToTheOpenedCamera) {
  start();
  choosePort("CamLink1");
  openNetworkCamera(0);
  ASSERT_EQ(cameraState().typeCode, 321880);
  sim.clearLog();
  // Every tab of the new camera is shown once; none writes an id the 4K
  // camera refuses.
  for (int i = 0; i < window->tabs()->pageCount(); ++i) {
    window->tabs()->setCurrentIndex(i);
    QApplication::processEvents();
  }
  EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join("|").toStdString();
  for (const SimCamera::Call& call : sim.calls("SetConfigParam")) EXPECT_EQ(call.result, "1") << call.line;
}

// ---- the second parameter block ---------------------------------------------------

// The camera's own block, read straight from the library.
ExtendedParams cameraBlock() {
  ExtendedParams e{};
  e.size = sizeof e;
  EXPECT_EQ(CameraLibrary::instance().getConfigParam(cameraState().handle, 34, &e, 0), 1);
  return e;
}

bool sameBlock(const ExtendedParams& a, const ExtendedParams& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

enum class Opening { PortChange, Reopen, Network };

struct BlockCase {
  const char* name;
  Opening opening;
  int32_t type;
};

class SecondBlock : public CameraSwitchTest, public ::testing::WithParamInterface<BlockCase> {
 protected:
  // Opens a camera that has the block, the way the case says.
  void openWithBlock() {
    switch (GetParam().opening) {
      case Opening::PortChange: choosePort("COM4"); break;
      case Opening::Reopen:
        sim.control("camera COM2=219290");
        window->reopenCamera();
        break;
      case Opening::Network: openNetworkCamera(0); break;
    }
  }
};

TEST_P(SecondBlock, IsReadFromEveryCameraThatHasIt) {
  // Start-up finds the PAL/NTSC camera on COM2, which has no second block.
  start("remove COM1;camera COM2=210781/2;camera COM4=219290");
  ASSERT_EQ(cameraState().typeCode, 210781);
  ASSERT_NE(cameraState().extendedBlockTag, 1);
  openWithBlock();
  ASSERT_EQ(cameraState().typeCode, GetParam().type);
  ASSERT_EQ(cameraState().extendedBlockTag, 1);
  const ExtendedParams held = cameraBlock();
  ASSERT_NE(held.riseDelay + held.fallDelay + held.protectTime, 0) << "the simulated camera's block is empty";
  EXPECT_TRUE(sameBlock(cameraState().ext, held));
  bool read = false;
  for (const SimCamera::Call& call : sim.calls("GetConfigParam")) read |= call.value("id") == 34;
  EXPECT_TRUE(read);
}

TEST_P(SecondBlock, DefaultParamWritesTheOpenedCamerasOwnBlock) {
  start("remove COM1;camera COM2=210781/2;camera COM4=219290");
  openWithBlock();
  ASSERT_EQ(cameraState().extendedBlockTag, 1);
  const ExtendedParams held = cameraBlock();
  window->button(CTyxVistrelDlg::kDefaultParamButton)->click();
  // The write left the camera's block as it was: nothing of the camera
  // opened before reached it.
  EXPECT_TRUE(sameBlock(cameraBlock(), held));
  EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Openings, SecondBlock,
                         ::testing::Values(BlockCase{"PortChange", Opening::PortChange, 219290},
                                           BlockCase{"Reopen", Opening::Reopen, 219290},
                                           BlockCase{"NetworkOpen", Opening::Network, 321880}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CameraSwitchTest, ReopenReportsASecondBlockThatCannotBeRead) {
  start("clear;camera COM1=219290");
  ASSERT_EQ(cameraState().extendedBlockTag, 1);
  const ExtendedParams before = cameraState().ext;
  sim.control("fail 34=122");
  window->reopenCamera();
  EXPECT_EQ(desktop.texts(), QStringList{"the input param is incorrect"});
  // The block keeps what it held, as the record does after a failed read.
  EXPECT_TRUE(sameBlock(cameraState().ext, before));
  EXPECT_NE(cameraState().handle, nullptr);
}

TEST_F(CameraSwitchTest, ACameraWithoutTheBlockKeepsNoneOfThePreviousOne) {
  start("camera COM4=219290");
  ASSERT_EQ(cameraState().extendedBlockTag, 1);
  choosePort("COM2");  // 210781 v2: no second block
  ASSERT_NE(cameraState().extendedBlockTag, 1);
  EXPECT_EQ(cameraState().ext.riseDelay, 0);
  EXPECT_EQ(cameraState().ext.fallDelay, 0);
  EXPECT_EQ(cameraState().ext.protectTime, 0);
  for (const SimCamera::Call& call : sim.calls("GetConfigParam"))
    EXPECT_NE(call.value("id"), 34) << call.line;
}

// ---- Grab follows the window it showed ----------------------------------------

struct GrabCase {
  const char* name;
  const char* cameras;  // placed before start-up; COM1 holds the start-up camera
  const char* to;       // the port changed to
  bool kept;            // the shown window is still the one Grab uses (and Grab is enabled)
};

class GrabAcrossPorts : public CameraSwitchTest, public ::testing::WithParamInterface<GrabCase> {};

TEST_P(GrabAcrossPorts, EndsAndHidesAWindowTheNewCameraDoesNotUse) {
  const GrabCase& c = GetParam();
  start(c.cameras);
  CompanionWindow* first = window->imageWindowFor(cameraState().typeCode);
  startLiveVideo();
  ASSERT_TRUE(first->isVisible());
  choosePort(c.to);
  EXPECT_EQ(first->isVisible(), c.kept);
  EXPECT_EQ(window->grabShown(), c.kept);
  EXPECT_EQ(caption(CTyxVistrelDlg::kGrabButton), c.kept ? ">>Grab" : "<<Grab");
  if (!c.kept) {
    // Nothing of the old window runs on behind the new camera.
    EXPECT_FALSE(video()->capturing());
    EXPECT_EQ(video()->board(), nullptr);
    EXPECT_FALSE(usb()->videoRunning());
    if (enabled(CTyxVistrelDlg::kGrabButton) && cameraState().handle != nullptr) {
      // The next Grab opens the new camera's window, and only that one.
      CompanionWindow* next = window->imageWindowFor(cameraState().typeCode);
      if (next == video()) confirmBoard();
      window->button(CTyxVistrelDlg::kGrabButton)->click();
      EXPECT_TRUE(next->isVisible());
      EXPECT_EQ(first->isVisible(), first == next);
      window->button(CTyxVistrelDlg::kGrabButton)->click();
      EXPECT_FALSE(next->isVisible());
    }
  } else {
    EXPECT_TRUE(video()->capturing() || usb()->videoRunning());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ports, GrabAcrossPorts,
    ::testing::Values(
        GrabCase{"BoardVideoToUsbCamera", "clear;camera COM1=219290;camera USB1=219660", "USB1", false},
        GrabCase{"UsbCameraToBoardVideo", "clear;camera COM1=219660;camera COM3=219290", "COM3", false},
        GrabCase{"BoardVideoToLineScan", "clear;camera COM1=219290;camera CamLink1=120770", "CamLink1",
                 false},
        GrabCase{"BoardVideoToAnotherAreaCamera", "clear;camera COM1=219290;camera COM3=212630/4", "COM3",
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CameraSwitchTest, SecondGrabClosesTheWindowTheFirstShowed) {
  // A port change whose camera uses the same window keeps it; Grab then
  // closes that window even when the port has no camera at all.
  start("clear;camera COM1=219290");
  startLiveVideo();
  choosePort("COM2");  // nothing there
  ASSERT_EQ(cameraState().handle, nullptr);
  ASSERT_TRUE(video()->isVisible());
  desktop.clear();
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_FALSE(video()->isVisible());
  EXPECT_FALSE(window->grabShown());
  EXPECT_EQ(video()->board(), nullptr);
  EXPECT_TRUE(desktop.messages.empty());
  // Opening without a camera is still refused.
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_EQ(desktop.texts(), QStringList{"Open camera failed!"});
}

TEST_F(CameraSwitchTest, ReopenOnAnotherKindOfCameraEndsTheShownWindow) {
  start("clear;camera COM1=219290");
  startLiveVideo();
  sim.control("camera COM1=219660");
  window->reopenCamera();
  ASSERT_EQ(cameraState().typeCode, 219660);
  EXPECT_FALSE(video()->isVisible());
  EXPECT_FALSE(video()->capturing());
  EXPECT_FALSE(window->grabShown());
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_TRUE(usb()->isVisible());
  EXPECT_FALSE(video()->isVisible());
}

// ---- where and how large the image windows open --------------------------------------

struct WindowCase {
  const char* name;
  const char* camera;
};

class ImageWindowSize : public CameraSwitchTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(ImageWindowSize, OnTheScreenAndNeverSmallerThanItsControls) {
  start(std::string("clear;camera COM1=") + GetParam().camera);
  CompanionWindow* image = window->imageWindowFor(cameraState().typeCode);
  const QRect area = window->screen()->availableGeometry();
  // Larger than the screen before it opens (as at a large scale factor): it
  // opens no larger than the screen.
  image->resize(area.width() * 2, area.height() * 2);
  if (image == video()) confirmBoard();
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  ASSERT_TRUE(image->isVisible());
  EXPECT_TRUE(area.contains(image->frameGeometry())) << "on the screen";
  // Every control fits inside the smallest size the window accepts.
  const QSize extent = image->controlsExtent();
  for (QWidget* control : image->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->isWindow()) continue;
    EXPECT_LE(control->geometry().right() + 1, extent.width()) << control->objectName().toStdString();
    EXPECT_LE(control->geometry().bottom() + 1, extent.height()) << control->objectName().toStdString();
  }
  EXPECT_EQ(image->minimumSize(), extent.boundedTo(area.size()));
  image->resize(40, 40);
  QApplication::processEvents();
  EXPECT_GE(image->width(), image->minimumWidth());
  EXPECT_GE(image->height(), image->minimumHeight());
  window->button(CTyxVistrelDlg::kGrabButton)->click();
}

INSTANTIATE_TEST_SUITE_P(Windows, ImageWindowSize,
                         ::testing::Values(WindowCase{"GrabVideo", "219290"},
                                           WindowCase{"CaptureImage", "219660"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the information window ---------------------------------------------------------

struct InfoCase {
  const char* name;
  const char* cameras;
  const char* to;
  bool shown;
};

class InfoAcrossPorts : public CameraSwitchTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(InfoAcrossPorts, IsHiddenWhenItsButtonIsDisabled) {
  const InfoCase& c = GetParam();
  start(c.cameras);
  window->button(CTyxVistrelDlg::kInfoButton)->click();
  ASSERT_TRUE(info()->isVisible());
  if (QString(c.to) == "net:2")
    openNetworkCamera(2);
  else
    choosePort(c.to);
  EXPECT_EQ(enabled(CTyxVistrelDlg::kInfoButton), c.shown);
  EXPECT_EQ(info()->isVisible(), c.shown);
  EXPECT_EQ(window->infoShown(), c.shown);
  EXPECT_EQ(caption(CTyxVistrelDlg::kInfoButton), c.shown ? "Info Window<<" : "Info Window>>");
}

INSTANTIATE_TEST_SUITE_P(
    Ports, InfoAcrossPorts,
    ::testing::Values(
        InfoCase{"ToLineScan", "clear;camera COM1=219290;camera CamLink1=120770", "CamLink1", false},
        InfoCase{"ToUsbCamera", "clear;camera COM1=219290;camera USB1=219660", "USB1", false},
        InfoCase{"ToLimitedNetworkCamera", "", "net:2", false},
        InfoCase{"ToAnotherAreaCamera", "clear;camera COM1=219290;camera COM3=212630/4", "COM3", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CameraSwitchTest, ReopenOnALineScanCameraHidesTheInformationWindow) {
  start("clear;camera COM1=219290");
  window->button(CTyxVistrelDlg::kInfoButton)->click();
  ASSERT_TRUE(info()->isVisible());
  sim.control("camera COM1=120770");
  window->reopenCamera();
  ASSERT_EQ(cameraState().typeCode, 120770);
  EXPECT_FALSE(enabled(CTyxVistrelDlg::kInfoButton));
  EXPECT_FALSE(info()->isVisible());
  EXPECT_EQ(caption(CTyxVistrelDlg::kInfoButton), "Info Window>>");
}

// ---- Capture Image while hidden ------------------------------------------------------

TEST_F(CameraSwitchTest, HiddenUsbVideoRunsOnWithoutPollingAndSaysSo) {
  start("clear;camera COM1=219660");
  startLiveVideo();
  ASSERT_TRUE(usb()->polling());
  window->button(CTyxVistrelDlg::kGrabButton)->click();  // hidden; the video goes on
  ASSERT_FALSE(usb()->isVisible());
  EXPECT_TRUE(usb()->videoRunning());
  EXPECT_FALSE(usb()->polling());
  EXPECT_EQ(caption(CTyxVistrelDlg::kGrabButton), "<<Grab (live)");
  EXPECT_TRUE(sim.calls("StopCapture").empty());
  // Nothing asks the library for frames while nobody sees them.
  sim.clearLog();
  QApplication::processEvents();
  EXPECT_TRUE(sim.calls("GetCaptureRate").empty());

  window->button(CTyxVistrelDlg::kGrabButton)->click();  // back
  EXPECT_TRUE(usb()->isVisible());
  EXPECT_TRUE(usb()->polling());
  EXPECT_EQ(caption(CTyxVistrelDlg::kGrabButton), ">>Grab");
  // The newest frame is shown at once, not at the next poll.
  EXPECT_FALSE(sim.calls("GetCaptureRate").empty());

  // Stopped while shown, then hidden: the caption is the plain one again.
  qobject_cast<QPushButton*>(usb()->controlWidget(CDlgPaintUsb::kStopButton))->click();
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  EXPECT_EQ(caption(CTyxVistrelDlg::kGrabButton), "<<Grab");
}

TEST_F(CameraSwitchTest, HiddenUsbVideoEndedByAPortChangeClearsTheLiveCaption) {
  start("clear;camera COM1=219660;camera USB1=219660");
  startLiveVideo();
  window->button(CTyxVistrelDlg::kGrabButton)->click();
  ASSERT_EQ(caption(CTyxVistrelDlg::kGrabButton), "<<Grab (live)");
  choosePort("USB1");
  EXPECT_FALSE(usb()->videoRunning());
  EXPECT_EQ(caption(CTyxVistrelDlg::kGrabButton), "<<Grab");
}

TEST_F(CameraSwitchTest, LiveCaptionIsShownWholeInBothLanguages) {
  for (const int32_t language : {9, 2}) {
    SCOPED_TRACE(language);
    start("clear;camera COM1=219660", language);
    startLiveVideo();
    window->button(CTyxVistrelDlg::kGrabButton)->click();
    QPushButton* grab = window->button(CTyxVistrelDlg::kGrabButton);
    EXPECT_EQ(grab->text(), language == 2 ? QString::fromUtf8("<<视频采集中") : QString("<<Grab (live)"));
    const int frame = grab->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, grab);
    EXPECT_LE(grab->fontMetrics().horizontalAdvance(grab->text()) + 2 * frame, grab->width());
    usb()->onStop();
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
}

}  // namespace
