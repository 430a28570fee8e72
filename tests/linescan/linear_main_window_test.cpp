// linear_main_window_test.cpp - the three line-scan tabs in the real main window.
#include <QComboBox>

#include "app/my_tab.h"
#include "app/tyx_vistrel_dlg.h"
#include "pages/linescan/dlg_linear_color.h"
#include "pages/linescan/dlg_linear_mode.h"
#include "pages/linescan/dlg_linear_param.h"
#include "tests/linescan/linescan_fixture.h"

struct WindowCase {
  const char* type;
  int32_t language;
  std::vector<const char*> titles;
};

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
};

class LineScanWindow : public WindowFixture, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(LineScanWindow, TabsAppearAndAChangeReachesTheCamera) {
  const WindowCase& c = GetParam();
  sim.control(std::string("clear;camera COM1=") + c.type);
  window.reset(startMainWindow(c.language));
  CMyTab* tabs = window->tabs();
  ASSERT_GE(tabs->pageCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(tabs->title(i), QString::fromUtf8(c.titles[static_cast<size_t>(i)]));
  auto* mode = qobject_cast<CDlgLinearMode*>(tabs->page(0));
  auto* param = qobject_cast<CDlgLinearParam*>(tabs->page(1));
  auto* colour = qobject_cast<CDlgLinearColor*>(tabs->page(2));
  ASSERT_NE(mode, nullptr);
  ASSERT_NE(param, nullptr);
  ASSERT_NE(colour, nullptr);

  window->show();
  sim.clearLog();
  mode->control<QComboBox>(CDlgLinearMode::kTestImageList)->setCurrentIndex(2);
  auto sets = sim.calls("SetConfigParam");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].args.at("port"), "COM1");
  EXPECT_EQ(sets[0].value("id"), 108);
  EXPECT_EQ(sets[0].value("value"), 2);

  // The parameter tab, once chosen, shows the block the main window read.
  tabs->setCurrentIndex(1);
  ASSERT_TRUE(param->isVisible());
  EXPECT_EQ(param->control<QLineEdit>(CDlgLinearParam::kTime1Edit)->text().toInt(),
            cameraState().linear.time1);
  sim.clearLog();
  param->control<QComboBox>(CDlgLinearParam::kGainLevelList)->setCurrentIndex(3);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(118, 3)});
  EXPECT_EQ(cameraState().linear.gainLevel, 3);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Types, LineScanWindow,
                         ::testing::Values(WindowCase{"120770", 9, {"Mode", "Param", "Color"}},
                                           WindowCase{"117810", 2, {"模式选择", "参数调节", "色彩调节"}},
                                           WindowCase{"110410", 9, {"Mode", "Param", "Color"}}));

TEST_F(WindowFixture, MemoryAndDefaultsActOnTheLineScanBlock) {
  sim.control("clear;camera COM1=120770");
  window.reset(startMainWindow(9));
  window->show();
  CMyTab* tabs = window->tabs();
  auto* colour = qobject_cast<CDlgLinearColor*>(tabs->page(2));
  ASSERT_NE(colour, nullptr);
  tabs->setCurrentIndex(2);
  const int32_t factoryRed = cameraState().linear.redGain;
  // A value set on the page is stored in the camera's memory.
  colour->control<ReqScrollBar>(CDlgLinearColor::kRedGainBar)->request(SbThumbTrack, 700);
  window->onWriteMemory();
  colour->control<ReqScrollBar>(CDlgLinearColor::kRedGainBar)->request(SbThumbTrack, 10);
  sim.clearLog();
  window->onReadMemory();
  EXPECT_EQ(sim.calls("RecallParam").size(), 1u);
  ASSERT_EQ(sim.calls("GetConfigParam").size(), 1u);
  EXPECT_EQ(sim.calls("GetConfigParam")[0].value("id"), 100);
  EXPECT_EQ(cameraState().linear.redGain, 700);
  // Default Param writes the block whole and reads the factory values back.
  sim.clearLog();
  window->onDefaultParam();
  auto sets = sim.calls("SetConfigParam");
  // The block is written whole first; the visible page then rebuilds from the
  // factory values, and its edits pass on what they are given.
  ASSERT_GE(sets.size(), 1u);
  EXPECT_EQ(sets[0].value("id"), 101);
  for (size_t i = 1; i < sets.size(); ++i) EXPECT_NE(sets[i].value("id"), 101) << sets[i].line;
  EXPECT_EQ(sets[0].value("mode"), 2);
  EXPECT_EQ(cameraState().linear.redGain, factoryRed);
  // The page shows the block once it is shown again.
  tabs->setCurrentIndex(0);
  tabs->setCurrentIndex(2);
  EXPECT_EQ(colour->control<QLineEdit>(CDlgLinearColor::kRedGainEdit)->text().toInt(), factoryRed);
  EXPECT_TRUE(desktop.messages.empty());
}
