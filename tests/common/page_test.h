// page_test.h - one page or window on a simulated camera, without the main window.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
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

// Opens a camera the way the main window does and lets a test drive the one
// widget under test as the user would: typing, clicking, choosing, moving
// bars. The fixtures of the page folders derive from it and add what their
// pages need of the opening (the record, the extended block, the line
// geometry).
class CameraPageTest : public ::testing::Test {
 protected:
  // Places CAMERA ("TYPE" or "TYPE/VERSION") on PORT, runs EXTRA simulator
  // commands (tag overrides, faults), then opens it: identity, port name and
  // function tags. Network ports open with the type left to the library.
  void openOn(const std::string& port, const std::string& camera, int32_t language,
              const std::string& extra = "") {
    sim.reset();
    sim.control("clear;camera " + port + "=" + camera);
    if (!extra.empty()) sim.control(extra);
    CameraState& s = cameraState();
    CameraLibrary& lib = CameraLibrary::instance();
    s.language = language;
    int32_t t = port.rfind("NetPort", 0) == 0 ? -1 : -2;
    s.handle = lib.openCamera(&t, port.c_str());
    ASSERT_NE(s.handle, nullptr) << camera << " on " << port;
    s.typeCode = t;
    s.versionCode = lib.getVerCode(s.handle, 0);
    s.setPortName(QString::fromStdString(port));
    s.readFunctionTags();
  }
  // The extended block, read when the camera's tag 34 says it has one.
  static void readExtendedBlock() {
    CameraState& s = cameraState();
    if (s.extendedBlockTag == 1) CameraLibrary::instance().getConfigParam(s.handle, 34, &s.ext, 0);
  }
  void TearDown() override {
    widget.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.handle = nullptr;
    CameraLibrary::instance().resetForTests();
  }
  // Shows the widget, then forgets what showing it did.
  void showWidget() {
    widget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    sim.clearLog();
    desktop.clear();
  }
  // Writes a value to the camera and takes the camera's record, as if the
  // camera had been left that way before the program started.
  void cameraHolds(int32_t id, int32_t value) {
    CameraState& s = cameraState();
    ASSERT_EQ(CameraLibrary::instance().setConfigParam(s.handle, id, value, 0), 1) << id << "=" << value;
    ASSERT_EQ(s.readCameraParams(), 1);
  }

  // The user writes a whole new text: select all, then one key per character.
  void type(int editId, const QString& text) {
    auto* edit = ctl<QLineEdit>(editId);
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else {
      QTest::keyClicks(edit, text);
    }
  }
  // Clicks a radio button or push button where the user would.
  void click(int id) {
    auto* b = ctl<QAbstractButton>(id);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
  }
  // The user picks an entry of a drop-down list, by position or by text.
  void choose(int comboId, int index) {
    auto* box = ctl<QComboBox>(comboId);
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  void choose(int comboId, const QString& text) {
    const int index = ctl<QComboBox>(comboId)->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    choose(comboId, index);
  }

  template <class T>
  T* ctl(int id) const {
    T* w = widget->findChild<T*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
  }
  ReqScrollBar* bar(int id) const { return ctl<ReqScrollBar>(id); }
  QString editText(int id) const { return ctl<QLineEdit>(id)->text(); }
  bool checked(int id) const { return ctl<QAbstractButton>(id)->isChecked(); }
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
  std::unique_ptr<QWidget> widget;
};
