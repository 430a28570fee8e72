// main_window_pages_test.cpp - the four pages inside the real main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>
#include <vector>

#include "app/camera_library.h"
#include "app/camera_page.h"
#include "app/my_tab.h"
#include "app/scroll_bar.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"
#include "imaging/dlg_usb_param.h"
#include "imaging/dlg_video.h"
#include "pages/models/dlg_cirl.h"
#include "pages/models/dlg_color_correct.h"

namespace {

class MainWindowPages : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
  void start(const std::string& camera, int32_t language) {
    sim.control("clear;camera COM1=" + camera);
    window.reset(startMainWindow(language));
    window->show();
    sim.clearLog();
    desktop.clear();
  }
  // The tab index that carries a page, or -1.
  int tabOf(PageKind kind) const {
    CameraPage* page = window->page(kind);
    for (int i = 0; i < window->tabs()->pageCount(); ++i)
      if (page != nullptr && window->tabs()->page(i) == page) return i;
    return -1;
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
};

struct TabCase {
  const char* name;
  const char* camera;
  int32_t language;
  PageKind kind;
  const char* title;
  std::function<void(CameraPage*)> change;
  std::vector<Write> writes;
};

class MainWindowPageTab : public MainWindowPages, public ::testing::WithParamInterface<TabCase> {};

TEST_P(MainWindowPageTab, AppearsAndWritesToTheCamera) {
  const TabCase& c = GetParam();
  start(c.camera, c.language);
  const int tab = tabOf(c.kind);
  ASSERT_GE(tab, 0) << "no tab for camera " << c.camera;
  EXPECT_EQ(window->tabs()->title(tab), QString::fromUtf8(c.title));
  window->tabs()->setCurrentIndex(tab);
  CameraPage* page = window->page(c.kind);
  ASSERT_TRUE(page->isVisible());
  sim.clearLog();
  c.change(page);
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_TRUE(desktop.messages.empty());
}

void drag(CameraPage* p, int id, int pos) { p->control<ReqScrollBar>(id)->request(SbThumbTrack, pos); }
void click(CameraPage* p, int id) {
  if (auto* box = p->control<QCheckBox>(id))
    box->click();
  else
    p->control<QPushButton>(id)->click();
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, MainWindowPageTab,
    ::testing::Values(
        TabCase{"ColourCorrect219660",
                "219660",
                9,
                PageKind::ColorCorrect,
                "Color Correct",
                [](CameraPage* p) { drag(p, CDlgColorCorrect::kBrightnessBar, 90); },
                {W(4, 90)}},
        TabCase{"ColourCorrect211150Chinese",
                "211150",
                2,
                PageKind::ColorCorrect,
                "色彩校正",
                [](CameraPage* p) { drag(p, CDlgColorCorrect::kContrastBar, 90); },
                {W(10, 90), W(11, 90), W(12, 90)}},
        TabCase{"UsbTrigger219660Chinese",
                "219660",
                2,
                PageKind::UsbParam,
                "参数调节",
                [](CameraPage* p) { click(p, CDlgUsbParam::kTriggerCheck); },
                {W(2, 2)}},
        TabCase{"UsbExposure211150",
                "211150",
                9,
                PageKind::UsbParam,
                "Param",
                [](CameraPage* p) { p->control<QComboBox>(CDlgUsbParam::kExposureList)->setCurrentIndex(4); },
                {W(19, 1000)}},
        TabCase{"CircleRadius",
                "212630/4",
                9,
                PageKind::Circle,
                "Electronic Circle",
                [](CameraPage* p) {
                  p->control<QLineEdit>(CDlgCirl::kRadiusEdit)->setText("123");
                  click(p, CDlgCirl::kRadiusButton);
                },
                {W(16, 123)}},
        TabCase{"CircleCentreChinese",
                "212630/4",
                2,
                PageKind::Circle,
                "消隐圆设置",
                [](CameraPage* p) {
                  p->control<QLineEdit>(CDlgCirl::kCentreXEdit)->setText("40");
                  p->control<QLineEdit>(CDlgCirl::kCentreYEdit)->setText("50");
                  click(p, CDlgCirl::kCentreButton);
                },
                {W(17, 40), W(18, 50)}},
        TabCase{"Video210781",
                "210781/2",
                9,
                PageKind::Video,
                "video param",
                [](CameraPage* p) { click(p, CDlgVideo::kHorizontalInverseCheck); },
                {W(27, 1)}},
        TabCase{"VideoRecursionChinese",
                "212630/4",
                2,
                PageKind::Video,
                "视频参数",
                [](CameraPage* p) { p->control<QComboBox>(CDlgVideo::kRecursionList)->setCurrentIndex(3); },
                {W(25, 3)}}),
    [](const ::testing::TestParamInfo<TabCase>& info) { return std::string(info.param.name); });

// Cameras that must not get these pages.
struct AbsentCase {
  const char* camera;
  std::vector<PageKind> absent;
};

class MainWindowPageAbsent : public MainWindowPages, public ::testing::WithParamInterface<AbsentCase> {};

TEST_P(MainWindowPageAbsent, NoTab) {
  start(GetParam().camera, 9);
  for (PageKind kind : GetParam().absent) EXPECT_EQ(tabOf(kind), -1) << static_cast<int>(kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, MainWindowPageAbsent,
    ::testing::Values(
        AbsentCase{"219290", {PageKind::ColorCorrect, PageKind::UsbParam, PageKind::Circle, PageKind::Video}},
        AbsentCase{"219660", {PageKind::Circle, PageKind::Video}},
        AbsentCase{"210781/2", {PageKind::Circle, PageKind::ColorCorrect, PageKind::UsbParam}},
        AbsentCase{"212630/3", {PageKind::Circle, PageKind::Video}}));

TEST_F(MainWindowPages, ColourCorrectionStartsFromTheCamerasRecord) {
  start("219660", 9);
  CameraPage* page = window->page(PageKind::ColorCorrect);
  ASSERT_NE(page, nullptr);
  const CameraParams& p = cameraState().params;
  window->tabs()->setCurrentIndex(tabOf(PageKind::ColorCorrect));
  EXPECT_EQ(page->control<QLineEdit>(CDlgColorCorrect::kBrightnessEdit)->text(), QString::number(p.black));
  EXPECT_EQ(page->control<QLineEdit>(CDlgColorCorrect::kAllContrastEdit)->text(),
            QString::number(p.allContrast));
  EXPECT_TRUE(page->control<ReqScrollBar>(CDlgColorCorrect::kAllContrastBar)->isEnabled());
}

TEST_F(MainWindowPages, UsbParamShowsTheVersionsInTheRunningProgram) {
  start("211150", 9);
  window->tabs()->setCurrentIndex(tabOf(PageKind::UsbParam));
  window->page(PageKind::UsbParam)->control<QPushButton>(CDlgUsbParam::kVersionButton)->click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_TRUE(desktop.messages[0].text.startsWith("Driver ver 1.05\t\n"));
}

}  // namespace
