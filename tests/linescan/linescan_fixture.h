// linescan_fixture.h - a line-scan camera opened on COM1 and one page shown against it.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <memory>
#include <string>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/scroll_bar.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

class LineScanFixture : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    page_.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.handle = nullptr;
    CameraLibrary::instance().resetForTests();
  }

  // Opens a camera of the type on COM1 and reads its block, as the main
  // window does at start-up.
  void open(int32_t type, int32_t language = 9) {
    sim.control("clear;camera COM1=" + std::to_string(type));
    CameraState& s = cameraState();
    s.language = language;
    int32_t t = -2;
    s.handle = CameraLibrary::instance().openCamera(&t, "COM1");
    ASSERT_NE(s.handle, nullptr);
    s.typeCode = t;
    s.versionCode = CameraLibrary::instance().getVerCode(s.handle, 0);
    s.setPortName("COM1");
    ASSERT_EQ(s.readLinearParams(), 1);
  }

  // The camera and its block hold these values (the block even when the
  // camera refuses one). The times are written in a mode without timing
  // rules, and the work mode last.
  static void setBlock(int32_t workMode, int32_t time1, int32_t time2) {
    CameraLibrary& lib = CameraLibrary::instance();
    void* h = cameraState().handle;
    lib.setConfigParam(h, 102, 3, 0);
    lib.setConfigParam(h, 106, time1, 0);
    lib.setConfigParam(h, 107, time2, 0);
    lib.setConfigParam(h, 102, workMode, 0);
    LinearParams& b = cameraState().linear;
    b.workMode = workMode;
    b.time1 = time1;
    b.time2 = time2;
  }

  // Builds and shows the page, then forgets what showing it did, so a test
  // sees only what its own action reaches the library with.
  template <class Page>
  Page* show() {
    auto* p = new Page(nullptr, nullptr);
    page_.reset(p);
    p->show();
    sim.clearLog();
    desktop.clear();
    return p;
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<QWidget> page_;
};

inline QString editText(QWidget* page, int id) {
  return page->findChild<QLineEdit*>(QString::number(id))->text();
}
