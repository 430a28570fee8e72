// grab_button_fixture.h - the main window started on the simulators, for the Grab button.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/page_kinds.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/dlg_paint_usb.h"
#include "sim_board_control.h"

class GrabButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.reset();
    ASSERT_TRUE(boards.bind());
    ASSERT_EQ(boards.control("reset"), 1);
  }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
    boards.control("reset");
  }
  void start(const std::string& camera) {
    sim.control("clear;camera COM1=" + camera);
    window.reset(startMainWindow(9));
    desktop.clear();
  }
  void confirmSelection() {
    desktop.dialogs.push_back([](QDialog* d) {
      d->findChild<QPushButton*>("1")->click();
      return d->result();
    });
  }
  CompanionWindow* companion(CompanionKind kind) const { return window->companion(kind); }

  SimCamera sim;
  SimBoardControl boards;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
};
