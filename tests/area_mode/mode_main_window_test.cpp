// mode_main_window_test.cpp - the mode and parameter tabs inside the running program.
#include <QAbstractButton>
#include <QLineEdit>

#include "app/camera_page.h"
#include "app/dlg_page2.h"
#include "app/my_tab.h"
#include "app/tyx_vistrel_dlg.h"
#include "mode_fixture.h"
#include "pages/area/dlg_mode.h"
#include "pages/area/dlg_param.h"

namespace {

class ModeMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    main.reset();
    CameraLibrary::instance().resetForTests();
  }
  void start(const std::string& camera, int32_t language) {
    sim.control("clear;camera COM1=" + camera);
    main.reset(startMainWindow(language));
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    sim.clearLog();
    desktop.clear();
  }
  template <class T>
  T* pageCtl(PageKind kind, int id) const {
    T* w = main->page(kind)->findChild<T*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  void clickRadio(PageKind kind, int id) {
    auto* b = pageCtl<QAbstractButton>(kind, id);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> main;
};

TEST_F(ModeMainWindowTest, BothTabsAppearAndTheirChangesReachTheCamera) {
  start("219290", 9);
  CMyTab* tabs = main->tabs();
  ASSERT_GE(tabs->pageCount(), 2);
  EXPECT_EQ(tabs->title(0), "Mode");
  EXPECT_EQ(tabs->title(1), "Param");
  ASSERT_NE(dynamic_cast<CDlgMode*>(main->page(PageKind::Mode)), nullptr);
  ASSERT_NE(dynamic_cast<CDlgParam*>(main->page(PageKind::Param)), nullptr);
  EXPECT_EQ(tabs->page(0), main->page(PageKind::Mode));
  EXPECT_EQ(tabs->page(1), main->page(PageKind::Param));
  ASSERT_TRUE(main->page(PageKind::Mode)->isVisible());

  clickRadio(PageKind::Mode, 1037);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(2, 3)}));
  EXPECT_TRUE(CDlgPage2::lines().contains("Run Mode: Syn;"));

  tabs->setCurrentIndex(1);
  ASSERT_TRUE(main->page(PageKind::Param)->isVisible());
  EXPECT_FALSE(main->page(PageKind::Mode)->isVisible());
  sim.clearLog();
  auto* gain = pageCtl<QLineEdit>(PageKind::Param, 1048);
  gain->setFocus();
  gain->selectAll();
  QTest::keyClicks(gain, "500");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(1, 5), W(1, 50), W(1, 500)}));
  EXPECT_TRUE(CDlgPage2::lines().contains("Gain: 500;"));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ModeMainWindowTest, ChineseTabsAndAFrameModeChangeFollowedByTheInfoLines) {
  start("219290", 2);
  EXPECT_EQ(main->tabs()->title(0), QString::fromUtf8("模式选择"));
  EXPECT_EQ(main->tabs()->title(1), QString::fromUtf8("参数调节"));
  EXPECT_EQ(pageCtl<QAbstractButton>(PageKind::Mode, 1040)->text(), QString::fromUtf8("全图"));
  clickRadio(PageKind::Mode, 1041);
  ASSERT_FALSE(sim.writes().empty());
  EXPECT_EQ(sim.writes()[0], W(5, 2));
  EXPECT_TRUE(CDlgPage2::lines().contains(QString::fromUtf8("幅度模式: 局部;")));
}

TEST_F(ModeMainWindowTest, DefaultParamBringsTheParamPageBackToTheCoarseList) {
  start("219290", 9);
  main->tabs()->setCurrentIndex(1);
  auto* param = static_cast<CDlgParam*>(main->page(PageKind::Param));
  clickRadio(PageKind::Param, 1130);
  ASSERT_EQ(param->exposureMode(), CDlgParam::Fine);
  main->onDefaultParam();
  param->repaint();
  EXPECT_EQ(param->exposureMode(), CDlgParam::Coarse);
  EXPECT_EQ(cameraState().defaultsRestored, 0);
  EXPECT_TRUE(pageCtl<QWidget>(PageKind::Param, 1094)->isEnabled());
}

// The other simulated area-scan cameras in the running program.
struct CameraCase {
  const char* name;
  const char* camera;
  PageKind kind;
  std::vector<int> clicks;
  std::vector<Write> writes;
};

class ModeMainWindowCameras : public ModeMainWindowTest, public ::testing::WithParamInterface<CameraCase> {};

TEST_P(ModeMainWindowCameras, BothTabsAndAChangeThatReachesTheCamera) {
  const CameraCase& c = GetParam();
  start(c.camera, 9);
  ASSERT_GE(main->tabs()->pageCount(), 2);
  EXPECT_EQ(main->tabs()->page(0), main->page(PageKind::Mode));
  EXPECT_EQ(main->tabs()->page(1), main->page(PageKind::Param));
  main->tabs()->setCurrentIndex(c.kind == PageKind::Mode ? 0 : 1);
  ASSERT_TRUE(main->page(c.kind)->isVisible());
  sim.clearLog();
  for (int id : c.clicks) clickRadio(c.kind, id);
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, ModeMainWindowCameras,
    ::testing::Values(CameraCase{"Ntsc210781", "210781/2", PageKind::Mode, {1043}, {W(5, 4), W(14, 0)}},
                      CameraCase{"Pal212630Freeze", "212630/4", PageKind::Mode, {1003}, {W(2, 4)}},
                      CameraCase{"Pal210780Average", "210780/4", PageKind::Mode, {1002}, {W(5, 4)}},
                      // 10800 us typed by the page is more than the short range: 1000 us.
                      CameraCase{
                          "Short215590", "215590/9", PageKind::Param, {1135, 1001}, {W(9, 25), W(29, 0)}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
