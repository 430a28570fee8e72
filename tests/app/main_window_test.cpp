// main_window_test.cpp - page table, buttons, memory and default operations.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <memory>

#include "app/camera_library.h"
#include "app/camera_page.h"
#include "app/camera_state.h"
#include "app/my_tab.h"
#include "app/page_kinds.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/sim_board_control.h"
#include "vistrel_build.h"

namespace {

struct PlanCase {
  int32_t type;
  int32_t version;
  int32_t tag27;
  int32_t language;
  bool rebuild;
  std::vector<const char*> titles;
};

std::vector<QString> plannedTitles(const PlanCase& c) {
  CameraState& s = cameraState();
  s.reset();
  s.typeCode = c.type;
  s.versionCode = c.version;
  s.videoPageTag = c.tag27;
  s.language = c.language;
  std::vector<QString> out;
  for (const auto& p : CTyxVistrelDlg::pagePlan(s, c.rebuild)) out.push_back(p.title);
  return out;
}

std::vector<QString> toStrings(const std::vector<const char*>& in) {
  std::vector<QString> out;
  for (const char* t : in) out.push_back(QString::fromUtf8(t));
  return out;
}

}  // namespace

class PagePlan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PagePlan, TitlesInOrder) {
  EXPECT_EQ(plannedTitles(GetParam()), toStrings(GetParam().titles))
      << "type " << GetParam().type << " version " << GetParam().version;
}

INSTANTIATE_TEST_SUITE_P(
    Types, PagePlan,
    ::testing::Values(
        PlanCase{0, 0, 0, 9, false, {"Mode", "Param", "Port and File"}},
        PlanCase{219290, 0, 0, 9, false, {"Mode", "Param", "Color", "Port and File"}},
        PlanCase{219290, 0, 0, 2, false, {"模式选择", "参数调节", "色彩调节", "通信与文件"}},
        PlanCase{120770, 0, 0, 9, false, {"Mode", "Param", "Color", "Port and File"}},
        // After a reopen the line-scan Mode and Param tabs keep Chinese titles.
        PlanCase{117810, 0, 0, 9, true, {"模式调节", "参数设置", "Color", "Port and File"}},
        PlanCase{215590, 9, 0, 9, false, {"Mode", "Param", "Port and File"}},
        PlanCase{215590, 1, 0, 9, false, {"Mode", "Param", "Electronic Circle", "Port and File"}},
        PlanCase{
            212630, 4, 0, 9, false, {"Mode", "Param", "Electronic Circle", "video param", "Port and File"}},
        PlanCase{212630, 3, 0, 9, false, {"Mode", "Param", "Port and File"}},
        PlanCase{210781, 2, 0, 9, false, {"Mode", "Param", "video param", "Port and File"}},
        PlanCase{
            217070, 0, 1, 9, false, {"Mode", "Param", "Electronic Circle", "video param", "Port and File"}},
        PlanCase{217070, 0, 0, 9, false, {"Mode", "Param", "Electronic Circle", "Port and File"}},
        PlanCase{321140, 0, 0, 9, false, {"Mode", "Param", "Color", "Melko", "Port and File"}},
        PlanCase{321880, 0, 0, 2, false, {"模式选择", "参数调节", "Tarvo", "通信与文件"}},
        PlanCase{219660, 0, 0, 9, false, {"Param", "Color Correct", "Port and File"}},
        PlanCase{211150, 0, 0, 2, true, {"参数调节", "色彩校正", "通信与文件"}}));

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
  void start(const std::string& camera, int32_t language = 9) {
    sim.control("clear;camera COM1=" + camera);
    window.reset(startMainWindow(language));
    sim.clearLog();
    desktop.clear();
  }
  bool enabled(int id) const { return window->button(id)->isEnabled(); }
  std::vector<QString> shownTitles() const {
    std::vector<QString> out;
    for (int i = 0; i < window->tabs()->pageCount(); ++i) out.push_back(window->tabs()->title(i));
    return out;
  }
  // The plan: the tab titles it should show.
  std::vector<QString> expectedTitles(bool rebuild) const {
    std::vector<QString> out;
    for (const auto& p : CTyxVistrelDlg::pagePlan(cameraState(), rebuild)) out.push_back(p.title);
    return out;
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
};

TEST_F(MainWindowTest, ButtonCaptionsByLanguage) {
  start("219290");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kBarModeButton)->text(), "Bar Mode");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kGrabButton)->text(), "<<Grab");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kGammaButton)->text(), "GAMMA SET>>");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), "Info Window >>");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kReadMemoryButton)->text(), "Read Memory");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kWriteMemoryButton)->text(), "Write Memory");
  EXPECT_EQ(window->button(CTyxVistrelDlg::kDefaultParamButton)->text(), "Default Param");
  EXPECT_EQ(window->button(1)->text(), "Close");
  window.reset();
  start("219290", 2);
  EXPECT_EQ(window->button(CTyxVistrelDlg::kBarModeButton)->text(), QString::fromUtf8("控制条模式"));
  EXPECT_EQ(window->button(CTyxVistrelDlg::kDefaultParamButton)->text(), QString::fromUtf8("恢复出厂设置"));
  EXPECT_EQ(window->button(1), window->button(1));
  EXPECT_EQ(window->button(1)->text(), QString::fromUtf8("关闭"));
}

struct ButtonCase {
  const char* camera;
  std::vector<int> disabled;
};

class StartupButtons : public MainWindowTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(StartupButtons, DisabledSet) {
  start(GetParam().camera);
  for (int id : {1007, 1008, 1006, 1005, 1002, 1071, 1026, 1003, 1}) {
    const bool shouldBeDisabled =
        std::find(GetParam().disabled.begin(), GetParam().disabled.end(), id) != GetParam().disabled.end();
    EXPECT_EQ(enabled(id), !shouldBeDisabled) << "button " << id << " for " << GetParam().camera;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Types, StartupButtons,
    ::testing::Values(ButtonCase{"219290", {}}, ButtonCase{"212630/4", {}},
                      ButtonCase{"215590/9", {CTyxVistrelDlg::kGammaButton}},
                      ButtonCase{"120770",
                                 {CTyxVistrelDlg::kBarModeButton, CTyxVistrelDlg::kInfoButton,
                                  CTyxVistrelDlg::kGrabButton, CTyxVistrelDlg::kGammaButton}},
                      ButtonCase{"219660",
                                 {CTyxVistrelDlg::kBarModeButton, CTyxVistrelDlg::kGammaButton,
                                  CTyxVistrelDlg::kInfoButton, CTyxVistrelDlg::kReopenButton,
                                  CTyxVistrelDlg::kReadMemoryButton, CTyxVistrelDlg::kWriteMemoryButton,
                                  CTyxVistrelDlg::kDefaultParamButton}}));

TEST_F(MainWindowTest, StartUpShowsThePlannedTabsWithTheFirstPageVisible) {
  start("219290");
  EXPECT_EQ(shownTitles(), expectedTitles(false));
  if (window->tabs()->pageCount() == 0) GTEST_SKIP() << "no pages in this build";
  window->show();
  EXPECT_TRUE(window->tabs()->page(0)->isVisible());
  for (int i = 1; i < window->tabs()->pageCount(); ++i)
    EXPECT_FALSE(window->tabs()->page(i)->isVisible()) << "page " << i;
}

TEST_F(MainWindowTest, ReopenOnAnotherCameraRebuildsTabsAndButtons) {
  start("219660");
  EXPECT_FALSE(enabled(CTyxVistrelDlg::kReadMemoryButton));
  sim.control("camera COM1=219290");
  window->reopenCamera();
  EXPECT_EQ(cameraState().typeCode, 219290);
  EXPECT_EQ(shownTitles(), expectedTitles(true));
  for (int id :
       {CTyxVistrelDlg::kBarModeButton, CTyxVistrelDlg::kGrabButton, CTyxVistrelDlg::kGammaButton,
        CTyxVistrelDlg::kInfoButton, CTyxVistrelDlg::kReopenButton, CTyxVistrelDlg::kReadMemoryButton,
        CTyxVistrelDlg::kWriteMemoryButton, CTyxVistrelDlg::kDefaultParamButton})
    EXPECT_TRUE(enabled(id)) << "button " << id << " must come back for an area-scan camera";

  sim.control("camera COM1=120770");
  window->reopenCamera();
  EXPECT_EQ(shownTitles(), expectedTitles(true));
  for (int id : {CTyxVistrelDlg::kBarModeButton, CTyxVistrelDlg::kInfoButton, CTyxVistrelDlg::kGrabButton,
                 CTyxVistrelDlg::kGammaButton})
    EXPECT_FALSE(enabled(id)) << id;
  EXPECT_TRUE(enabled(CTyxVistrelDlg::kReadMemoryButton));
}

TEST_F(MainWindowTest, FirstPageShownAfterRebuildWhateverWasShownBefore) {
  start("219290");
  window->show();
  if (window->tabs()->pageCount() < 2) GTEST_SKIP() << "needs two pages in this build";
  window->tabs()->setCurrentIndex(window->tabs()->pageCount() - 1);
  QWidget* last = window->tabs()->page(window->tabs()->pageCount() - 1);
  EXPECT_TRUE(last->isVisible());
  window->rebuildPages();
  EXPECT_TRUE(window->tabs()->page(0)->isVisible());
  EXPECT_EQ(window->tabs()->currentIndex(), 0);
  for (int i = 1; i < window->tabs()->pageCount(); ++i) EXPECT_FALSE(window->tabs()->page(i)->isVisible());
}

TEST_F(MainWindowTest, WriteMemoryWaitsThenMemorizes) {
  start("219290");
  window->onWriteMemory();
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_EQ(desktop.sleeps[0].ms, 1000);
  EXPECT_EQ(sim.calls("MemorizeParam").size(), 1u);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(cameraState().typeCode, 219290);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

struct MemoryFailure {
  const char* name;
  void (CTyxVistrelDlg::*action)();
};

class MemoryFailures : public MainWindowTest, public ::testing::WithParamInterface<MemoryFailure> {};

TEST_P(MemoryFailures, ReportAndLeaveTypeZero) {
  start("219290");
  sim.control("vanish 120");
  (window.get()->*GetParam().action)();
  ASSERT_FALSE(desktop.messages.empty()) << GetParam().name;
  EXPECT_EQ(desktop.messages[0].text, "Invalidate Handle");
  EXPECT_EQ(cameraState().typeCode, 0);
  EXPECT_EQ(cameraState().linkFlag, 0);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MemoryFailures,
                         ::testing::Values(MemoryFailure{"write", &CTyxVistrelDlg::onWriteMemory},
                                           MemoryFailure{"read", &CTyxVistrelDlg::onReadMemory},
                                           MemoryFailure{"default", &CTyxVistrelDlg::onDefaultParam}));

TEST_F(MainWindowTest, ReadMemoryRecallsAndReadsTheRecord) {
  start("219290");
  window->onReadMemory();
  const auto log = sim.log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0].name, "RecallParam");
  EXPECT_EQ(log[1].name, "GetConfigParam");
  EXPECT_EQ(log[1].value("id"), -1);
  EXPECT_TRUE(desktop.messages.empty());
}

struct RecallCase {
  const char* camera;
  const char* fault;
  std::vector<std::string> calls;  // what reaches the library, in order
  int64_t readId;                  // id of the read-back, when there is one
  const char* message;             // null: no message
};

class ReadMemory : public MainWindowTest, public ::testing::WithParamInterface<RecallCase> {};

// The settings come back from the camera's memory, then the record that
// suits the camera is read; a refused recall reads nothing and reports.
TEST_P(ReadMemory, RecallThenReadTheCamerasRecord) {
  start(GetParam().camera);
  if (*GetParam().fault != '\0') sim.control(GetParam().fault);
  window->onReadMemory();
  std::vector<std::string> names;
  for (const auto& c : sim.log()) names.push_back(c.name);
  EXPECT_EQ(names, GetParam().calls) << GetParam().camera;
  if (GetParam().readId != 0) {
    ASSERT_FALSE(sim.calls("GetConfigParam").empty());
    EXPECT_EQ(sim.calls("GetConfigParam")[0].value("id"), GetParam().readId);
  }
  if (GetParam().message == nullptr) {
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_NE(cameraState().typeCode, 0);
  } else {
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, QString::fromUtf8(GetParam().message));
    EXPECT_EQ(cameraState().typeCode, 0);
    EXPECT_EQ(cameraState().linkFlag, 0);
  }
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, ReadMemory,
    ::testing::Values(
        RecallCase{"120770", "", {"RecallParam", "GetConfigParam"}, 100, nullptr},
        RecallCase{"219290", "fail recall=104", {"RecallParam"}, 0, "Can not write the serial port."}));

TEST_F(MainWindowTest, GammaWriteThatFailsIsReportedAndTheModeKept) {
  start("219290");
  sim.control("gamma-choice 3 60;fail 3=106");
  window->onGammaSet();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Can not write in for invalid link.");
  EXPECT_EQ(cameraState().params.gamma, 3) << "a failed write keeps the new value in the record";
  const auto writes = sim.writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[1], W(15, 60)) << "the gamma value is written all the same";
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(MainWindowTest, DefaultParamWritesTheBlocksAndSetsTheFlag) {
  start("219290");
  cameraState().params.gain = 999;
  window->onDefaultParam();
  std::vector<int64_t> ids;
  for (const auto& c : sim.calls("SetConfigParam")) ids.push_back(c.value("id"));
  ASSERT_FALSE(ids.empty());
  EXPECT_EQ(ids[0], -2);
  EXPECT_EQ(sim.calls("SetConfigParam")[0].value("mode"), 2);
  EXPECT_EQ(cameraState().defaultsRestored, 1);
  EXPECT_NE(cameraState().params.gain, 999) << "the factory values are read back";
  EXPECT_TRUE(desktop.messages.empty());
}

struct DefaultCase {
  const char* camera;
  const char* extra;  // further simulator commands
  std::vector<int64_t> writtenIds;
};

class DefaultBlocks : public MainWindowTest, public ::testing::WithParamInterface<DefaultCase> {};

// The factory values go out as whole blocks in mode 2: CameraParams always,
// ExtendedParams only for a camera that has one (tag 34) and is not one of
// the two models that keep their own extended values; then the record is
// read back.
TEST_P(DefaultBlocks, WritesTheBlocksThenReadsTheRecordBack) {
  sim.control(std::string("clear;camera COM1=") + GetParam().camera + GetParam().extra);
  window.reset(startMainWindow(9));
  sim.clearLog();
  desktop.clear();
  window->onDefaultParam();
  std::vector<int64_t> ids;
  for (const auto& c : sim.calls("SetConfigParam")) {
    ids.push_back(c.value("id"));
    EXPECT_EQ(c.value("mode"), 2) << "id " << c.value("id");
  }
  EXPECT_EQ(ids, GetParam().writtenIds) << GetParam().camera;
  const auto log = sim.log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().name, "GetConfigParam");
  EXPECT_EQ(log.back().value("id"), -1);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(cameraState().defaultsRestored, 1);
}

INSTANTIATE_TEST_SUITE_P(Types, DefaultBlocks,
                         ::testing::Values(DefaultCase{"219290", "", {-2, 35}},
                                           DefaultCase{"215590", "", {-2}}, DefaultCase{"321880", "", {-2}},
                                           DefaultCase{"321140", ";tag COM1:34=1", {-2}}));

TEST_F(MainWindowTest, DefaultParamOnALineScanCameraUsesTheBlock) {
  start("120770");
  window->onDefaultParam();
  const auto sets = sim.calls("SetConfigParam");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].value("id"), 101);
  bool readBack = false;
  for (const auto& c : sim.calls("GetConfigParam")) readBack |= c.value("id") == 100;
  EXPECT_TRUE(readBack);
}

TEST_F(MainWindowTest, InfoWindowToggles) {
  start("219290");
  window->show();
  CompanionWindow* info = window->companion(CompanionKind::Info);
  ASSERT_NE(info, nullptr);
  EXPECT_FALSE(info->isVisible());
  window->onInfoWindow();
  EXPECT_TRUE(info->isVisible());
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), "Info Window<<");
  EXPECT_EQ(info->windowTitle(), "All Info");
  window->onInfoWindow();
  EXPECT_FALSE(info->isVisible());
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), "Info Window>>");
}

namespace {

// Counts the paintings of the window it watches.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

// Nothing repaints the information window by hand: it follows the session's
// signal after each operation of the main window's buttons.
TEST_F(MainWindowTest, InfoWindowRepaintsAfterEveryButtonOperation) {
  start("219290");
  window->show();
  window->onInfoWindow();
  CompanionWindow* info = window->companion(CompanionKind::Info);
  ASSERT_TRUE(info->isVisible());
  PaintCounter counter;
  info->installEventFilter(&counter);
  const std::pair<const char*, void (CTyxVistrelDlg::*)()> operations[] = {
      {"read memory", &CTyxVistrelDlg::onReadMemory},
      {"write memory", &CTyxVistrelDlg::onWriteMemory},
      {"default param", &CTyxVistrelDlg::onDefaultParam},
      {"reopen", &CTyxVistrelDlg::reopenCamera}};
  for (const auto& [name, operation] : operations) {
    QCoreApplication::processEvents();
    counter.paints = 0;
    (window.get()->*operation)();
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0) << name;
  }
  info->removeEventFilter(&counter);
}

TEST_F(MainWindowTest, InfoWindowSitsAtTheRightEdgeAndFollowsMoves) {
  start("219290");
  window->show();
  // Positions where the information window fits on the screen beside it.
  window->move(10, 30);
  QCoreApplication::processEvents();
  CompanionWindow* info = window->companion(CompanionKind::Info);
  ASSERT_NE(info, nullptr);
  const QSize ownSize = info->size();
  window->onInfoWindow();
  QCoreApplication::processEvents();
  auto expected = [this] {
    const QRect frame = window->frameGeometry();
    return QPoint(frame.right() + 1, frame.top());
  };
  EXPECT_EQ(info->frameGeometry().topLeft(), expected());
  EXPECT_EQ(info->size(), ownSize) << "the window keeps its own size";
  window->move(20, 90);
  QCoreApplication::processEvents();
  EXPECT_EQ(info->frameGeometry().topLeft(), expected()) << "a move of the main window takes it along";
  window->onInfoWindow();
}

TEST_F(MainWindowTest, InfoWindowStaysOnTheScreenWhenTheMainWindowIsAtItsRightEdge) {
  start("219290");
  window->show();
  const QRect area = window->screen()->availableGeometry();
  CompanionWindow* info = window->companion(CompanionKind::Info);
  ASSERT_NE(info, nullptr);
  window->onInfoWindow();
  for (const int gap : {200, 40, 0}) {
    SCOPED_TRACE(gap);
    window->move(area.right() + 1 - gap - window->frameGeometry().width(), area.top() + 10);
    QCoreApplication::processEvents();
    EXPECT_TRUE(area.contains(info->frameGeometry())) << "the information window is on the screen";
    EXPECT_EQ(info->frameGeometry().top(), window->frameGeometry().top());
    if (gap >= info->frameGeometry().width()) {
      EXPECT_EQ(info->frameGeometry().left(), window->frameGeometry().right() + 1);
    }
  }
  window->onInfoWindow();
}

TEST_F(MainWindowTest, MainWindowKeepsItsLayoutsSize) {
  for (const int32_t language : {9, 2}) {
    SCOPED_TRACE(language);
    start("219290", language);
    window->show();
    const QSize size = window->size();
    window->resize(size.width() / 3, size.height() / 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), size);
    window->resize(size.width() * 2, size.height() * 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), size);
    // Close is inside the window.
    EXPECT_TRUE(window->rect().contains(window->button(1)->geometry()));
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
}

TEST_F(MainWindowTest, ChineseInfoWindowCaptions) {
  start("219290", 2);
  window->show();
  CompanionWindow* info = window->companion(CompanionKind::Info);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), QString::fromUtf8("参数显示>>"));
  window->onInfoWindow();
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), QString::fromUtf8("参数显示<<"));
  EXPECT_EQ(info->windowTitle(), QString::fromUtf8("全部配置信息"));
  window->onInfoWindow();
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), QString::fromUtf8("参数显示>>"));
}

// The program runs the main window until it is closed. Bar Mode hides it
// while the control bar stands in; that must not end the run (a plain modal
// exec() leaves its loop as soon as the dialog is hidden).
TEST_F(MainWindowTest, BarModeDoesNotEndTheProgram) {
  start("219290");
  CompanionWindow* bar = window->companion(CompanionKind::ControlBar);
  ASSERT_NE(bar, nullptr);
  bool barStoodIn = false, mainCameBack = false;
  QTimer::singleShot(0, window.get(), [&] {
    window->onBarMode();
    QTimer::singleShot(0, window.get(), [&] {
      barStoodIn = bar->isVisible() && !window->isVisible();
      bar->reject();  // the bar's way back to the main window
      QTimer::singleShot(0, window.get(), [&] {
        mainCameBack = window->isVisible() && !bar->isVisible();
        window->button(1)->click();
      });
    });
  });
  const int result = window->run();
  EXPECT_TRUE(barStoodIn) << "the run ended when Bar Mode hid the main window";
  EXPECT_TRUE(mainCameBack);
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ClosingTheInfoWindowByItselfRestoresTheCaption) {
  start("219290");
  window->show();
  CompanionWindow* info = window->companion(CompanionKind::Info);
  window->onInfoWindow();
  ASSERT_TRUE(info->isVisible());
  info->close();  // the window's own close box
  EXPECT_FALSE(info->isVisible());
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), "Info Window>>");
  EXPECT_FALSE(window->infoShown());
  window->onInfoWindow();
  EXPECT_TRUE(info->isVisible()) << "one press shows it again";
  EXPECT_EQ(window->button(CTyxVistrelDlg::kInfoButton)->text(), "Info Window<<");
  EXPECT_TRUE(window->infoShown());
}

struct ClosedImageCase {
  const char* camera;
  CompanionKind kind;
};

class ImageWindowClosedByItself : public MainWindowTest,
                                  public ::testing::WithParamInterface<ClosedImageCase> {
 protected:
  void confirmBoard() {
    if (GetParam().kind != CompanionKind::GrabVideo) return;
    desktop.dialogs.push_back([](QDialog* d) {
      d->findChild<QPushButton*>("1")->click();
      return d->result();
    });
  }
};

// The user closes the image window with its close box: the Grab button
// ends what it would have ended (the board of the video window is closed)
// and says "<<Grab", so the next press opens the window again.
TEST_P(ImageWindowClosedByItself, GrabButtonFollows) {
  SimBoardControl boards;
  ASSERT_TRUE(boards.bind());
  ASSERT_EQ(boards.control("reset"), 1);
  start(GetParam().camera);
  window->show();
  CompanionWindow* image = window->companion(GetParam().kind);
  auto* video = qobject_cast<CDlgGrabVideo*>(image);
  confirmBoard();
  window->onGrab();
  ASSERT_TRUE(window->grabShown());
  ASSERT_TRUE(image->isVisible());
  image->close();
  EXPECT_FALSE(window->grabShown());
  EXPECT_EQ(window->button(CTyxVistrelDlg::kGrabButton)->text(), "<<Grab");
  if (video != nullptr) {
    EXPECT_EQ(video->board(), nullptr) << "the board is closed with the window";
  }
  confirmBoard();
  window->onGrab();
  EXPECT_TRUE(image->isVisible()) << "one press opens the window again";
  EXPECT_TRUE(window->grabShown());
  EXPECT_EQ(window->button(CTyxVistrelDlg::kGrabButton)->text(), ">>Grab");
  window->onGrab();
  EXPECT_FALSE(image->isVisible());
  EXPECT_FALSE(window->grabShown());
  boards.control("reset");
}

INSTANTIATE_TEST_SUITE_P(Windows, ImageWindowClosedByItself,
                         ::testing::Values(ClosedImageCase{"219290", CompanionKind::GrabVideo},
                                           ClosedImageCase{"219660", CompanionKind::PaintUsb}));

TEST_F(MainWindowTest, GrabWithoutACameraSaysSo) {
  sim.control("clear");
  window.reset(startMainWindow(9));
  desktop.clear();
  window->onGrab();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Open camera failed!");
  EXPECT_FALSE(window->grabShown());
}

TEST_F(MainWindowTest, BarModeHidesTheMainWindow) {
  start("219290");
  window->show();
  window->onBarMode();
  CompanionWindow* bar = window->companion(CompanionKind::ControlBar);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(bar->pos(), QPoint(10, 10));
  bar->hide();
}

struct GammaCase {
  const char* camera;
  int64_t entries;
  int64_t flag;
};

class GammaSet : public MainWindowTest, public ::testing::WithParamInterface<GammaCase> {};

TEST_P(GammaSet, TableAndCallbacks) {
  start(GetParam().camera);
  sim.control("gamma-choice 3 60");
  cameraState().params.gamma = 2;
  window->onGammaSet();
  const auto calls = sim.calls("GammaDlgCallback");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].value("count"), GetParam().entries);
  EXPECT_EQ(calls[0].value("flag"), GetParam().flag);
  EXPECT_EQ(calls[0].value("check"), 1011) << "check callback marks 1009 + gamma";
  // The apply callback writes the mode (id 3), then the value (id 15).
  const auto writes = sim.writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0], W(3, 3));
  EXPECT_EQ(writes[1], W(15, 60));
  EXPECT_EQ(cameraState().params.gamma, 3);
}

INSTANTIATE_TEST_SUITE_P(Tables, GammaSet,
                         ::testing::Values(GammaCase{"219290", 1024, 1}, GammaCase{"211520", 2048, 17}));

TEST_F(MainWindowTest, GammaModeFourWritesNoValue) {
  start("219290");
  sim.control("gamma-choice 4 45");
  window->onGammaSet();
  const auto writes = sim.writes();
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0], W(3, 4));
  EXPECT_EQ(cameraState().params.gamma, 4);
}

TEST_F(MainWindowTest, ClosingTheWindowClosesTheCameraAndUnloads) {
  start("219290");
  window.reset();
  EXPECT_EQ(sim.calls("CloseCamera").size(), 1u);
  EXPECT_FALSE(CameraLibrary::instance().loaded());
}

TEST_F(MainWindowTest, AboutBoxNamesTheVersionAndTheSimulatedLibrariesInBothLanguages) {
  // The test executable finds the simulators beside itself, as the program does.
  const QString bin = QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath();
  struct Case {
    int32_t language;
    QString expected;
  };
  const std::vector<Case> cases = {
      {9, "Version " VISTREL_VERSION "\nCamera library: " + bin +
              "/libtyxcamera.so (simulated)\nBoard library: " + bin + "/libtyxapi32.so (simulated)"},
      {2, QString::fromUtf8("版本 " VISTREL_VERSION "\n相机库：") + bin +
              QString::fromUtf8("/libtyxcamera.so（模拟）\n采集卡库：") + bin +
              QString::fromUtf8("/libtyxapi32.so（模拟）")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    window.reset();
    start("219290", c.language);
    QString shown;
    desktop.dialogs.push_back([&shown](QDialog* about) {
      if (auto* label = about->findChild<QLabel*>("libraries")) shown = label->text();
      return static_cast<int>(QDialog::Accepted);
    });
    window->showAbout();
    EXPECT_EQ(shown, c.expected);
  }
}

namespace {

// Where an image window goes, for a screen of 1400 x 900 (unless the case
// says otherwise) and a main window of 544 x 460 with (or without) the
// information window of 224 x 471 on its right.
struct PlacementCase {
  const char* name;
  int mainX, mainY;
  QSize image;
  bool infoShown;
  QPoint imageAt;
  QPoint mainAt;
  QSize screen = QSize(1400, 900);
};

class ImagePlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ImagePlacement, BesideTheMainWindowAndOnTheScreen) {
  const PlacementCase& c = GetParam();
  const QRect area(QPoint(0, 0), c.screen);
  const QRect main(c.mainX, c.mainY, 544, 460);
  QRect occupied = main;
  if (c.infoShown) occupied |= QRect(main.right() + 1, main.top(), 224, 471);
  const CTyxVistrelDlg::Placement at = CTyxVistrelDlg::placeImageWindow(area, main, occupied, c.image);
  EXPECT_EQ(at.image, c.imageAt);
  EXPECT_EQ(at.main, c.mainAt);
  const QRect image(at.image, c.image);
  EXPECT_TRUE(area.contains(image)) << "on the screen";
  EXPECT_TRUE(area.contains(QRect(at.main, main.size())));
  const QRect movedOccupied = occupied.translated(at.main - main.topLeft());
  const bool roomForBoth = c.image.width() + occupied.width() <= area.width() ||
                           c.image.height() + occupied.height() <= area.height();
  if (roomForBoth) {
    EXPECT_FALSE(image.intersects(movedOccupied)) << "covers none of the main window";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImagePlacement,
    ::testing::Values(
        // Room on the left: just left of it, top-aligned.
        PlacementCase{"LeftWhenItFits", 800, 100, QSize(700, 420), false, QPoint(100, 100), QPoint(800, 100)},
        PlacementCase{"LeftExactly", 700, 100, QSize(700, 420), true, QPoint(0, 100), QPoint(700, 100)},
        // No room on the left: to the right when that fits.
        PlacementCase{"RightWhenLeftIsShort", 10, 100, QSize(700, 420), false, QPoint(554, 100),
                      QPoint(10, 100)},
        PlacementCase{"RightOfTheInformationWindow", 10, 100, QSize(600, 420), true, QPoint(778, 100),
                      QPoint(10, 100)},
        // The information window holds the right side: the main window moves.
        PlacementCase{"MainMovesForTheInformationWindow", 300, 100, QSize(560, 420), true, QPoint(0, 100),
                      QPoint(560, 100)},
        // Too narrow for the two side by side: below, or above.
        PlacementCase{"Below", 10, 20, QSize(748, 367), false, QPoint(10, 480), QPoint(10, 20),
                      QSize(1280, 1024)},
        PlacementCase{"BelowTheTallerInformationWindow", 10, 20, QSize(748, 367), true, QPoint(10, 491),
                      QPoint(10, 20), QSize(1280, 1024)},
        PlacementCase{"Above", 10, 500, QSize(748, 367), false, QPoint(10, 133), QPoint(10, 500),
                      QSize(1280, 1024)},
        // A main window in the middle of such a screen moves up.
        PlacementCase{"MainMovesUp", 368, 281, QSize(748, 367), false, QPoint(368, 657), QPoint(368, 197),
                      QSize(1280, 1024)},
        // The screen holds the two in no way: at its left edge, the main
        // window as far right as it goes.
        PlacementCase{"ScreenTooSmall", 10, 100, QSize(900, 600), true, QPoint(0, 100), QPoint(632, 100)},
        PlacementCase{"ScreenTooSmallMainNearTheRight", 800, 100, QSize(900, 600), false, QPoint(0, 100),
                      QPoint(856, 100)},
        // Top-aligned, but never below the screen's bottom edge.
        PlacementCase{"KeptAboveTheBottom", 800, 420, QSize(700, 600), false, QPoint(100, 300),
                      QPoint(800, 420)}),
    [](const auto& info) { return std::string(info.param.name); });

// An image window's sizes: what its controls need, within the screen.
struct SizeCase {
  const char* name;
  QSize current, controls, room;
  QSize minimum, size;
};

class ImageWindowSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ImageWindowSizes, NeverBelowItsControlsNorAboveTheScreen) {
  const SizeCase& c = GetParam();
  const CTyxVistrelDlg::ImageSize got = CTyxVistrelDlg::fitImageWindow(c.current, c.controls, c.room);
  EXPECT_EQ(got.minimum, c.minimum);
  EXPECT_EQ(got.size, c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageWindowSizes,
    ::testing::Values(SizeCase{"OwnSizeOnALargeScreen", QSize(742, 364), QSize(742, 364), QSize(1280, 1000),
                               QSize(742, 364), QSize(742, 364)},
                      SizeCase{"ShrunkBelowItsControls", QSize(300, 200), QSize(742, 364), QSize(1280, 1000),
                               QSize(742, 364), QSize(742, 364)},
                      SizeCase{"EnlargedByTheUser", QSize(900, 500), QSize(742, 364), QSize(1280, 1000),
                               QSize(742, 364), QSize(900, 500)},
                      // Twice the scale on a 1400-pixel screen: 700 logical pixels.
                      SizeCase{"WiderThanTheScreen", QSize(742, 364), QSize(742, 364), QSize(700, 500),
                               QSize(700, 364), QSize(700, 364)},
                      SizeCase{"LargerThanTheScreenEverywhere", QSize(2000, 2000), QSize(742, 364),
                               QSize(700, 300), QSize(700, 300), QSize(700, 300)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
