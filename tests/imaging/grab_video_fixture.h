// grab_video_fixture.h - a grab video window against the simulated board library.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/camera_state.h"
#include "common/fake_desktop.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/dlg_select_board.h"
#include "sim_board_control.h"

class GrabVideoFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(sim.bind());
    ASSERT_EQ(sim.control("reset"), 1);
    cameraState().reset();
    cameraState().language = language();
    window = std::make_unique<CDlgGrabVideo>(nullptr, nullptr);
  }
  void TearDown() override {
    window.reset();
    sim.control("reset");
    cameraState().reset();
  }
  virtual int32_t language() const { return 9; }

  // The selection dialog is confirmed (or cancelled) as the user would.
  void scriptSelection(int button = 1, int choose = -1) {
    desktop.dialogs.push_back([button, choose](QDialog* d) {
      if (choose >= 0) d->findChild<QComboBox*>(QString::number(CDlgSelectBoard::kBoardList))->setCurrentIndex(choose);
      d->findChild<QPushButton*>(QString::number(button))->click();
      return d->result();
    });
  }
  bool open(const std::string& config = "") {
    if (!config.empty()) {
      EXPECT_EQ(sim.control(config.c_str()), 1) << config;
    }
    scriptSelection();
    return window->openGrab(nullptr);
  }

  std::vector<std::string> log() const {
    std::vector<std::string> out;
    std::istringstream in(sim.log());
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  bool logged(const std::string& line) const {
    for (const std::string& l : log())
      if (l == line) return true;
    return false;
  }
  // True when the lines appear in this order (others may come between).
  bool loggedInOrder(const std::vector<std::string>& lines) const {
    size_t next = 0;
    for (const std::string& l : log())
      if (next < lines.size() && l == lines[next]) ++next;
    return next == lines.size();
  }
  void clearLog() { sim.control("log-clear"); }

  // Serves the GUI thread until the condition holds; bounded, for the
  // capture thread.
  template <typename Pred>
  bool pumpUntil(Pred pred, int limitMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
      if (t.elapsed() > limitMs) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 5);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  template <class T>
  T* ctl(int id) const {
    return window->control<T>(id);
  }

  FakeDesktop desktop;
  SimBoardControl sim;
  std::unique_ptr<CDlgGrabVideo> window;
};
