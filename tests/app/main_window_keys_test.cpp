// main_window_keys_test.cpp - Escape and Enter in the main window and its numeric edits.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/camera_library.h"
#include "app/camera_page.h"
#include "app/my_tab.h"
#include "app/page_kinds.h"
#include "app/typed_number.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

namespace {

class MainWindowKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.reset();
    sim.control("clear;camera COM1=219290");
    window.reset(startMainWindow(9));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    sim.clearLog();
    desktop.clear();
  }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
  // An edit of a page, its page shown and the edit focused.
  QLineEdit* editOf(PageKind kind, int id) {
    CameraPage* page = window->page(kind);
    for (int i = 0; i < window->tabs()->pageCount(); ++i)
      if (window->tabs()->page(i) == page) window->tabs()->setCurrentIndex(i);
    auto* edit = page->control<QLineEdit>(id);
    edit->setFocus();
    return edit;
  }
  QLineEdit* gainEdit() { return editOf(PageKind::Param, 1048); }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
};

TEST_F(MainWindowKeys, EscapeLeavesTheProgramOpen) {
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  QTest::keyClick(window->button(CTyxVistrelDlg::kInfoButton), Qt::Key_Escape);  // from a button
  EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowKeys, EscapeInAnEditCancelsTheEntryBeingTyped) {
  QLineEdit* red = editOf(PageKind::ColorParam, 1052);
  const QString before = red->text();
  red->selectAll();
  QTest::keyClicks(red, "13");  // would be shown as 12: waits
  ASSERT_TRUE(TypedNumber::of(red)->pending());
  QTest::keyClick(red, Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(TypedNumber::of(red)->pending());
  EXPECT_EQ(red->text(), before);
  QTest::keyClick(red, Qt::Key_Tab);  // leaving the edit has nothing left to take
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainWindowKeys, EnterInAnEditTakesTheValueAndKeepsTheWindow) {
  QLineEdit* edit = gainEdit();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClick(edit, Qt::Key_Return);  // confirms the empty text: nothing to write
  EXPECT_TRUE(window->isVisible()) << "Enter did not press Close";
  EXPECT_TRUE(sim.writes().empty());
  QTest::keyClicks(edit, "7");
  QTest::keyClick(edit, Qt::Key_Enter);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(1, 7)}));
}

}  // namespace
