// bar_main_window_test.cpp - Bar Mode in the running program: the bar stands in for the main window and
// brings it back.
#include <QPushButton>

#include "app/camera_page.h"
#include "app/dlg_page2.h"
#include "app/my_tab.h"
#include "app/tyx_vistrel_dlg.h"
#include "color_fixture.h"
#include "pages/area/dlg_color_param.h"
#include "pages/area/dlg_page3.h"

namespace {

class BarModeTest : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    main.reset();
    CameraLibrary::instance().resetForTests();
  }
  void start(const std::string& port, const std::string& type, int32_t language = 9) {
    sim.control("clear;camera " + port + "=" + type);
    main.reset(startMainWindow(language));
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    sim.clearLog();
    desktop.clear();
  }
  CompanionWindow* controlBar() const { return main->companion(CompanionKind::ControlBar); }
  template <class T>
  T* barCtl(int id) const {
    T* w = controlBar()->findChild<T*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  void clickBarMode() { QTest::mouseClick(main->button(CTyxVistrelDlg::kBarModeButton), Qt::LeftButton); }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> main;
};

TEST_F(BarModeTest, BarModeHidesTheMainWindowAndFullModeBringsItBack) {
  start("COM1", "219290");
  ASSERT_NE(dynamic_cast<CDlgPage3*>(controlBar()), nullptr);
  clickBarMode();
  EXPECT_FALSE(main->isVisible());
  EXPECT_TRUE(controlBar()->isVisible());
  EXPECT_EQ(controlBar()->windowTitle(), QString::fromUtf8("控制条模式"));
  EXPECT_EQ(barCtl<QComboBox>(CDlgPage3::kParamList)->count(), 9);
  EXPECT_EQ(barCtl<QPushButton>(CDlgPage3::kFullModeButton)->text(), "Full Mode");

  QTest::mouseClick(barCtl<QPushButton>(CDlgPage3::kFullModeButton), Qt::LeftButton);
  EXPECT_TRUE(main->isVisible());
  EXPECT_FALSE(controlBar()->isVisible());
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(BarModeTest, ClosingTheBarAlsoBringsTheMainWindowBack) {
  start("COM1", "219290");
  clickBarMode();
  ASSERT_FALSE(main->isVisible());
  controlBar()->close();
  EXPECT_TRUE(main->isVisible());
  EXPECT_FALSE(controlBar()->isVisible());
  clickBarMode();
  QTest::keyClick(controlBar(), Qt::Key_Escape);
  EXPECT_TRUE(main->isVisible());
}

TEST_F(BarModeTest, AChangeInTheBarReachesTheCameraTheInfoWindowAndTheColourPage) {
  start("COM1", "219290");
  CameraPage* colour = main->page(PageKind::ColorParam);
  ASSERT_NE(colour, nullptr);
  for (int i = 0; i < main->tabs()->pageCount(); ++i) {
    if (main->tabs()->page(i) == colour) main->tabs()->setCurrentIndex(i);
  }
  clickBarMode();
  auto* list = barCtl<QComboBox>(CDlgPage3::kParamList);
  list->setCurrentIndex(CDlgPage3::RedGain);
  auto* edit = barCtl<QLineEdit>(CDlgPage3::kValueEdit);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "252");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(10, 252)}));
  EXPECT_TRUE(CDlgPage2::lines().contains("R Gain: 252;"));

  QTest::mouseClick(barCtl<QPushButton>(CDlgPage3::kFullModeButton), Qt::LeftButton);
  ASSERT_TRUE(colour->isVisible());
  EXPECT_EQ(colour->findChild<QLineEdit*>("1052")->text(), "252");
  EXPECT_EQ(colour->findChild<QScrollBar*>("1057")->value(), 252);
  EXPECT_EQ(sim.writes().size(), 1u);
}

TEST_F(BarModeTest, WhiteBalanceOnTheColourTabReachesTheInfoWindow) {
  start("COM1", "219290");
  CameraPage* colour = main->page(PageKind::ColorParam);
  ASSERT_NE(colour, nullptr);
  for (int i = 0; i < main->tabs()->pageCount(); ++i) {
    if (main->tabs()->page(i) == colour) main->tabs()->setCurrentIndex(i);
  }
  ASSERT_TRUE(colour->isVisible());
  QTest::mouseClick(colour->findChild<QPushButton*>("1065"), Qt::LeftButton);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(38, 1)}));
  const QStringList lines = CDlgPage2::lines();
  EXPECT_TRUE(lines.contains("R Gain: 144;")) << lines.join(" ").toStdString();
  EXPECT_TRUE(lines.contains("B Gain: 116;")) << lines.join(" ").toStdString();
  EXPECT_EQ(colour->findChild<QLineEdit*>("1054")->text(), "116");
}

TEST_F(BarModeTest, ChineseBarKeepsItsCaption) {
  start("COM1", "219290", 2);
  clickBarMode();
  EXPECT_EQ(controlBar()->windowTitle(), QString::fromUtf8("控制条模式"));
  EXPECT_EQ(barCtl<QPushButton>(CDlgPage3::kFullModeButton)->text(), QString::fromUtf8("完整模式"));
  EXPECT_EQ(barCtl<QComboBox>(CDlgPage3::kParamList)->currentText(), QString::fromUtf8("增益"));
}

struct CameraCase {
  std::string port, type;
  int entries;
};
class BarModeCameras : public BarModeTest, public ::testing::WithParamInterface<CameraCase> {};

TEST_P(BarModeCameras, EntriesForTheOpenedCamera) {
  start(GetParam().port, GetParam().type);
  clickBarMode();
  EXPECT_EQ(barCtl<QComboBox>(CDlgPage3::kParamList)->count(), GetParam().entries);
  clickBarMode();
  EXPECT_EQ(barCtl<QComboBox>(CDlgPage3::kParamList)->count(), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Cameras, BarModeCameras,
                         ::testing::Values(CameraCase{"COM1", "219290", 9}, CameraCase{"COM1", "218920", 5},
                                           CameraCase{"COM1", "321140", 9}));

}  // namespace
