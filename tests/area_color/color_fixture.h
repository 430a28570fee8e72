// color_fixture.h - a colour page or the control bar on a simulated camera, without the main window.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <memory>
#include <string>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/scroll_bar.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

// Opens one camera the way the main window does (identity, tags, records,
// line geometry) and leaves the window under test to the test.
class AreaColorTest : public ::testing::Test {
 protected:
  // port: "COM1", "NetPort2", ...; type: the camera placed there.
  void openCamera(const std::string& port, const std::string& type, int32_t language = 9) {
    sim.reset();
    sim.control("clear;camera " + port + "=" + type);
    CameraState& s = cameraState();
    s.language = language;
    int32_t t = port.rfind("NetPort", 0) == 0 ? -1 : -2;
    s.handle = CameraLibrary::instance().openCamera(&t, port.c_str());
    ASSERT_NE(s.handle, nullptr);
    s.typeCode = t;
    s.versionCode = CameraLibrary::instance().getVerCode(s.handle, 0);
    s.setPortName(QString::fromStdString(port));
    s.readFunctionTags();
    ASSERT_EQ(s.readCameraParams(), 1);
    s.copyLineGeometry();
  }
  void TearDown() override {
    window.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.handle = nullptr;
    CameraLibrary::instance().resetForTests();
  }
  // Shows the window, then forgets what showing it did.
  void showWindow() {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    sim.clearLog();
    desktop.clear();
  }
  // The user writes a whole new text: select all, then one key per character.
  void type(int editId, const QString& text) {
    auto* edit = ctl<QLineEdit>(editId);
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
      QTest::keyClick(edit, Qt::Key_Delete);
    else
      QTest::keyClicks(edit, text);
  }
  template <class T>
  T* ctl(int id) const {
    T* w = window->findChild<T*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
  }
  ReqScrollBar* bar(int id) const { return ctl<ReqScrollBar>(id); }
  QString editText(int id) const { return ctl<QLineEdit>(id)->text(); }
  static QStringList items(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
  }
  // Exposure range and times as the library computes them now.
  static void exposeRange(int32_t* lo, int32_t* hi) {
    CameraLibrary::instance().calExposeRange(cameraState().handle, lo, hi);
  }
  static int32_t timeOf(int32_t lines) {
    return CameraLibrary::instance().calExposeTime(cameraState().handle, lines);
  }
  static int32_t linesOf(int32_t us) {
    return CameraLibrary::instance().calExposeLine(cameraState().handle, us);
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<QWidget> window;
};
