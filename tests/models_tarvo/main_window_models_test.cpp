// main_window_models_test.cpp - the model tabs inside the real main window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/camera_library.h"
#include "app/my_tab.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"
#include "pages/models/dlg_tarvo.h"
#include "pages/models/melko.h"
#include "pages/models/melko_note_page.h"

namespace {

class ModelTabs : public ::testing::Test {
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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    sim.clearLog();
    desktop.clear();
  }
  // Brings the tab with the title to the front; the page it shows.
  QWidget* showTab(const QString& title) {
    for (int i = 0; i < window->tabs()->pageCount(); ++i) {
      if (window->tabs()->title(i) == title) {
        window->tabs()->setCurrentIndex(i);
        return window->tabs()->page(i);
      }
    }
    ADD_FAILURE() << "no tab " << title.toStdString();
    return nullptr;
  }

  // The writes of the given ids only: in a build with every area the other
  // pages have their own writes.
  std::vector<Write> writesOf(int lo, int hi) const {
    std::vector<Write> out;
    for (const Write& w : sim.writes())
      if (w.first >= lo && w.first <= hi) out.push_back(w);
    return out;
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
};

TEST_F(ModelTabs, TarvoTabSetsTheVideoMode) {
  start("321880", 9);
  auto* tarvo = qobject_cast<CDlgTarvo*>(showTab("Tarvo"));
  ASSERT_NE(tarvo, nullptr);
  EXPECT_TRUE(tarvo->isVisible());
  EXPECT_TRUE(writesOf(48, 57).empty()) << "showing the tab writes nothing";
  // The window read the camera's block at start-up; the page shows it.
  EXPECT_EQ(tarvo->control<QComboBox>(CDlgTarvo::kResolutionList)->currentText(), "3840*2160@60");
  tarvo->control<QComboBox>(CDlgTarvo::kResolutionList)->setCurrentIndex(0);
  tarvo->control<QComboBox>(CDlgTarvo::kSensorRateList)->setCurrentIndex(0);
  tarvo->control<QPushButton>(CDlgTarvo::kSetVideoModeButton)->click();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(52, 1), W(55, 0), W(54, 0)}));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ModelTabs, MelkoTabInChineseResetsTheCameraWhenShown) {
  start("321140", 2);
  // Reopen shows the first tab again; the Melko page may be that one when
  // this build has no other pages for the camera.
  window->rebuildPages();
  auto* melko = qobject_cast<CMelko*>(showTab("Melko"));
  ASSERT_NE(melko, nullptr);
  EXPECT_TRUE(melko->isVisible());
  EXPECT_EQ(writesOf(59, 69), (std::vector<Write>{W(61, 4), W(69, 1)}));
  EXPECT_EQ(melko->control<QComboBox>(CMelko::kColourModeList)->currentText(),
            QString::fromUtf8("无色彩模式"));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ModelTabs, MelkoTabInEnglishShowsTheNote) {
  start("321140", 9);
  auto* note = qobject_cast<CMelkoNotePage*>(showTab("Melko"));
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->isVisible());
  auto* label = note->control<QLabel>(CMelkoNotePage::kNoteLabel);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), CMelkoNotePage::noteText());
  EXPECT_TRUE(label->isVisible());
  EXPECT_TRUE(writesOf(59, 69).empty());
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
