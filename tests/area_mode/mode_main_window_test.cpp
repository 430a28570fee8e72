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

}  // namespace
