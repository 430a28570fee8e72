// page_fixture.h - a camera opened on COM1 of the simulator and one page built against it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

// Opens the camera the way the main window does (identity, tags, a full
// read), without the main window, so a test sees only what its page sends.
class PageFixture : public ::testing::Test {
protected:
  void SetUp() override { sim.reset(); }

  void TearDown() override {
    page_.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.reset();
    CameraLibrary::instance().resetForTests();
  }

  // camera is "TYPE" or "TYPE/VERSION"; extra commands (tags, faults) follow.
  void open(const std::string& camera, int32_t language = 9, const std::string& extra = "") {
    sim.control("clear;camera COM1=" + camera);
    if (!extra.empty()) sim.control(extra);
    CameraState& s = cameraState();
    CameraLibrary& lib = CameraLibrary::instance();
    s.language = language;
    int32_t type = -2;
    s.handle = lib.openCamera(&type, "COM1");
    ASSERT_NE(s.handle, nullptr) << "camera " << camera;
    s.typeCode = type;
    s.versionCode = lib.getVerCode(s.handle, 0);
    s.readFunctionTags();
    s.linkFlag = 1;
    ASSERT_EQ(s.readCameraParams(0), 1);
    sim.clearLog();
    desktop.clear();
  }

  template <class Page>
  Page* makePage() {
    auto* page = new Page(nullptr, nullptr);
    page_.reset(page);
    page->show();
    QApplication::processEvents();
    sim.clearLog();
    desktop.clear();
    return page;
  }

  // Hides and shows the page again: what a tab change does.
  void reshow() {
    page_->hide();
    page_->show();
  }

  FakeDesktop desktop;
  SimCamera sim;
  std::unique_ptr<QWidget> page_;
};
