// discovery_test.cpp - the start-up scan of COM1..COM4 and Reopen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/dlg_page_wait.h"
#include "app/my_tab.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

using enum CDlgPageWati::CtlId;

namespace {

CDlgPageWati* progressWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* p = qobject_cast<CDlgPageWati*>(w)) return p;
  return nullptr;
}

std::vector<std::string> openedPorts(const SimCamera& sim) {
  std::vector<std::string> ports;
  for (const auto& call : sim.calls("OpenCamera")) {
    auto it = call.args.find("port");
    ports.push_back(it == call.args.end() ? "?" : it->second);
  }
  return ports;
}

std::vector<int> sleepLengths(const FakeDesktop& d) {
  std::vector<int> out;
  for (const auto& s : d.sleeps) out.push_back(s.ms);
  return out;
}

// A control of the progress window, found as the user sees it: by its id.
template <typename T>
T* progressControl(const CDlgPageWati* window, CDlgPageWati::CtlId id) {
  T* control = window->findChild<T*>(QString::number(id));
  EXPECT_NE(control, nullptr) << id;
  return control;
}

}  // namespace

class DiscoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.reset();
    // Record what the progress window says at each wait.
    desktop.onSleep = [this](int) {
      if (CDlgPageWati* p = progressWindow()) shown.push_back(progressControl<QLineEdit>(p, CDlgPageWati::kMessageEdit)->text());
    };
  }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
  void start(int32_t language = 9) { window.reset(startMainWindow(language)); }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
  QStringList shown;
};

TEST_F(DiscoveryTest, CameraOnCom3FoundInTheFirstPass) {
  sim.control("clear;camera COM3=212630/4;driver 2.10");
  start();
  const CameraState& s = cameraState();
  EXPECT_EQ(openedPorts(sim), (std::vector<std::string>{"COM1", "COM2", "COM3"}));
  EXPECT_STREQ(s.portName, "COM3");
  EXPECT_EQ(s.typeCode, 212630);
  EXPECT_EQ(s.versionCode, 4);
  EXPECT_EQ(s.linkFlag, 1);
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{2000, 2000}));
  ASSERT_EQ(shown.size(), 2u);
  // The window shows the last failed port while the next one is tried; the
  // found message names the port.
  EXPECT_EQ(shown[0], "scanning COM2");
  EXPECT_EQ(shown[1], "prepare for opening camera connected with COM3");
  EXPECT_EQ(window->windowTitle(), "Vistrel 2.10");
  EXPECT_EQ(progressWindow(), nullptr) << "the progress window is destroyed after start-up";
}

struct FoundCase {
  int32_t language;
  const char* lastFailed;  // shown while COM3 is tried
  const char* found;
  const char* caption;
};

class FoundOnCom3 : public DiscoveryTest, public ::testing::WithParamInterface<FoundCase> {};

// What the progress window shows at each wait: the text, its caption line
// and the bar, which stands at the last failed port while the next is tried
// and at its end once the camera is found.
TEST_P(FoundOnCom3, ProgressWindowFollowsTheScan) {
  sim.control("clear;camera COM3=219290");
  std::vector<int> steps;
  QStringList captions, titles;
  std::vector<QPoint> places;
  desktop.onSleep = [&](int) {
    if (CDlgPageWati* p = progressWindow()) {
      shown.push_back(progressControl<QLineEdit>(p, CDlgPageWati::kMessageEdit)->text());
      captions.push_back(progressControl<QLabel>(p, CDlgPageWati::kCaptionLabel)->text());
      titles.push_back(p->windowTitle());
      steps.push_back(progressControl<QProgressBar>(p, CDlgPageWati::kProgressBar)->value());
      places.push_back(p->pos());
      EXPECT_EQ(progressControl<QProgressBar>(p, CDlgPageWati::kProgressBar)->maximum(), 4);
      EXPECT_TRUE(p->isVisible());
    }
  };
  start(GetParam().language);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], QString::fromUtf8(GetParam().lastFailed));
  EXPECT_EQ(shown[1], QString::fromUtf8(GetParam().found));
  EXPECT_EQ(steps, (std::vector<int>{2, 4}));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(captions[i], QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(titles[i], "TYX Vistrel");
  }
  // Placed by the main window's size, not centred on it.
  const QPoint expected(static_cast<int>(0.7 * window->width()), static_cast<int>(0.8 * window->height()));
  EXPECT_EQ(places[0], expected);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, FoundOnCom3,
    ::testing::Values(FoundCase{9, "scanning COM2", "prepare for opening camera connected with COM3",
                                "camera status"},
                      FoundCase{2, "正在检测端口COM2", "设备已找到,连接端口COM3,正在打开", "连接状态"}));

TEST_F(DiscoveryTest, CameraThatAnswersOnlyInTheSecondPass) {
  sim.control("clear;camera COM2=219290;second-pass COM2");
  start();
  EXPECT_EQ(openedPorts(sim), (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM1", "COM2"}));
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{3000, 2000, 2000}));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "scan COM again,please wait......");
  EXPECT_EQ(shown[2], "prepare for opening camera connected with COM2");
  EXPECT_EQ(cameraState().typeCode, 219290);
  EXPECT_STREQ(cameraState().portName, "COM2");
}

TEST_F(DiscoveryTest, NoCameraKeepsTheCaptionAndShowsErrId) {
  sim.control("clear");
  start();
  const CameraState& s = cameraState();
  EXPECT_EQ(openedPorts(sim).size(), 8u);
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{3000, 2000, 2000}));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2], "no camera connected,please check link status");
  EXPECT_EQ(s.handle, nullptr);
  EXPECT_EQ(s.linkFlag, 0);
  EXPECT_EQ(s.typeCode, 0);
  EXPECT_EQ(window->windowTitle(), "Vistrel 14.12");
  EXPECT_EQ(qobject_cast<QLabel*>(window->controlWidget(CTyxVistrelDlg::kModelLabel))->text(), "ERR ID");
  EXPECT_FALSE(CameraLibrary::instance().loaded());
}

TEST_F(DiscoveryTest, ChineseTextsAndCaption) {
  sim.control("clear");
  start(2);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], QString::fromUtf8("准备重新检测端口,请等待......"));
  EXPECT_EQ(shown[2], QString::fromUtf8("端口无设备连接,请检查设备连接是否正常"));
  EXPECT_EQ(window->windowTitle(), "Vistrel 20.09");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kReopenButton)->text(), QString::fromUtf8("重新打开"));
}

struct TitleCase {
  const char* driver;
  const char* title;
};

class DriverTitle : public DiscoveryTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(DriverTitle, MinorAlwaysHasTwoDigits) {
  sim.control(std::string("driver ") + GetParam().driver);
  start();
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Versions, DriverTitle,
                         ::testing::Values(TitleCase{"2.10", "Vistrel 2.10"},
                                           TitleCase{"2.5", "Vistrel 2.05"},
                                           TitleCase{"14.0", "Vistrel 14.00"}));

TEST_F(DiscoveryTest, DefaultCameraIsReadAtStartUp) {
  start();
  const CameraState& s = cameraState();
  EXPECT_STREQ(s.portName, "COM1");
  EXPECT_EQ(s.typeCode, 219290);
  EXPECT_EQ(s.params.size, 168);
  EXPECT_EQ(s.lineStep, s.params.lineStep);
  EXPECT_EQ(s.lineCount, s.params.lineCount);
  // Identity, then the tags in their fixed order, then the full read.
  std::vector<int64_t> tags;
  for (const auto& c : sim.calls("FunctionTag")) tags.push_back(c.value("tag"));
  ASSERT_GE(tags.size(), 8u);
  EXPECT_EQ(std::vector<int64_t>(tags.begin(), tags.begin() + 8),
            (std::vector<int64_t>{36, 31, 32, 33, 27, 37, 38, 34}));
  bool readWhole = false;
  for (const auto& c : sim.calls("GetConfigParam")) readWhole |= c.value("id") == -1;
  EXPECT_TRUE(readWhole);
  EXPECT_EQ(qobject_cast<QLabel*>(window->controlWidget(CTyxVistrelDlg::kModelLabel))->text(), s.modelText);
  EXPECT_NE(s.modelText, "ERR ID");
}

TEST_F(DiscoveryTest, LineScanCameraReadsTheLineScanBlock) {
  sim.control("clear;camera COM1=120770");
  start();
  bool readBlock = false, readRecord = false;
  for (const auto& c : sim.calls("GetConfigParam")) {
    readBlock |= c.value("id") == 100;
    readRecord |= c.value("id") == -1;
  }
  EXPECT_TRUE(readBlock);
  EXPECT_FALSE(readRecord);
  EXPECT_EQ(cameraState().linear.size, 256);
}

TEST_F(DiscoveryTest, ReopenOpensTheSamePortAgain) {
  start();
  sim.clearLog();
  desktop.clear();
  window->reopenCamera();
  EXPECT_EQ(openedPorts(sim), (std::vector<std::string>{"COM1"}));
  ASSERT_FALSE(sim.calls("CloseCamera").empty());
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{500}));
  EXPECT_NE(cameraState().handle, nullptr);
  EXPECT_EQ(cameraState().linkFlag, 1);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(DiscoveryTest, ReopenThatFailsReportsAndRebuildsForTypeZero) {
  start();
  sim.control("remove COM1");
  window->reopenCamera();
  const CameraState& s = cameraState();
  EXPECT_EQ(s.handle, nullptr);
  EXPECT_EQ(s.linkFlag, 0);
  EXPECT_EQ(s.typeCode, 0);
  ASSERT_GE(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "can not read camera info, please check it");
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(DiscoveryTest, ReopenOnANetworkPortWhoseListIsCancelledLeavesNoCamera) {
  start();
  const int tabsBefore = window->tabs()->pageCount();
  cameraState().setPortName("NetPort2");
  desktop.clear();
  desktop.dialogs.push_back(nullptr);  // the user closes the list
  window->reopenCamera();
  EXPECT_EQ(cameraState().handle, nullptr);
  EXPECT_EQ(cameraState().linkFlag, 0) << "a closed camera is not shown as linked";
  EXPECT_EQ(window->tabs()->pageCount(), tabsBefore);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{500, 1000}));
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(DiscoveryTest, ReopenOnANetworkPortOpensTheChosenCamera) {
  start();
  cameraState().setPortName("NetPort1");
  sim.clearLog();
  desktop.clear();
  desktop.dialogs.push_back([](QDialog*) {
    cameraState().netPortChoice = 1;
    return int(QDialog::Accepted);
  });
  window->reopenCamera();
  EXPECT_EQ(openedPorts(sim), (std::vector<std::string>{"NetPort2"}));
  EXPECT_EQ(cameraState().typeCode, 321140);
  EXPECT_STREQ(cameraState().portName, "NetPort1") << "the port name itself is not changed";
  ASSERT_FALSE(sim.calls("ScanDevice").empty());
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{500, 1000, 1000}));
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_EQ(cameraState().linkFlag, 1);
  EXPECT_TRUE(desktop.messages.empty());
}
