// paint_usb_fixture.h - a USB camera opened on the simulator and the "Capture Image" window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <string>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"
#include "imaging/dlg_paint_usb.h"

class PaintUsbFixture : public ::testing::Test {
protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    window.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.reset();
    CameraLibrary::instance().resetForTests();
  }

  // Opens camera TYPE on COM1 the way the main window does, then makes the
  // window.
  void open(const std::string& type = "219660", int32_t language = 9) {
    sim.control("clear;camera COM1=" + type);
    CameraState& s = cameraState();
    CameraLibrary& lib = CameraLibrary::instance();
    s.language = language;
    int32_t t = -2;
    s.handle = lib.openCamera(&t, "COM1");
    ASSERT_NE(s.handle, nullptr) << type;
    s.typeCode = t;
    s.versionCode = lib.getVerCode(s.handle, 0);
    makeWindow();
  }
  void makeWindow() {
    window = std::make_unique<CDlgPaintUsb>(nullptr, nullptr);
    sim.clearLog();
    desktop.clear();
  }
  template <class T>
  T* ctl(int id) const {
    return window->control<T>(id);
  }
  // The frame's pixel (x, y), counted from the top of the picture, as RGB.
  QRgb framePixel(int x, int y) const {
    CameraLibrary& lib = CameraLibrary::instance();
    const auto* b = static_cast<const uint8_t*>(lib.frameLock(window->frame()));
    const int32_t w = *reinterpret_cast<const int32_t*>(b + 4);
    const int32_t h = *reinterpret_cast<const int32_t*>(b + 8);
    const int bits = b[14];
    const uint32_t colours = *reinterpret_cast<const uint32_t*>(b + 32);
    const size_t table = bits <= 8 ? (colours ? colours : 256u) * 4 : 0;
    const size_t stride = (size_t(w) * bits + 31) / 32 * 4;
    const uint8_t* row = b + 40 + table + size_t(h - 1 - y) * stride;
    QRgb c;
    if (bits == 8) {
      const uint8_t* e = b + 40 + 4 * row[x];
      c = qRgb(e[2], e[1], e[0]);
    } else {
      const uint8_t* p = row + x * (bits / 8);
      c = qRgb(p[2], p[1], p[0]);
    }
    lib.frameUnlock(window->frame());
    return c;
  }

  FakeDesktop desktop;
  SimCamera sim;
  std::unique_ptr<CDlgPaintUsb> window;
};
