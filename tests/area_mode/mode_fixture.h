// mode_fixture.h - the mode or parameter page on a simulated area-scan camera, without the main window.
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

// What a control looks like to the user after a refresh.
enum class Look { Shown, Off, Hidden };

inline Look lookOf(const QWidget* w) {
  if (w->isHidden()) return Look::Hidden;
  return w->isEnabled() ? Look::Shown : Look::Off;
}

inline const char* lookName(Look l) { return l == Look::Shown ? "shown" : l == Look::Off ? "off" : "hidden"; }

// Opens one camera the way the main window does (identity, tags, records,
// line geometry) and leaves the page under test to the test.
class AreaPageTest : public ::testing::Test {
 protected:
  // camera: "TYPE" or "TYPE/VERSION", placed on COM1 (NetPort2 for the
  // network-only image orientation model). extra: more simulator commands
  // run before the opening (tag overrides).
  void openCamera(const std::string& camera, int32_t language = 9, const std::string& extra = "") {
    sim.reset();
    port_ = camera.rfind("321140", 0) == 0 ? "NetPort2" : "COM1";
    sim.control("clear;camera " + port_ + "=" + camera);
    if (!extra.empty()) sim.control(extra);
    CameraState& s = cameraState();
    s.language = language;
    int32_t t = port_.rfind("NetPort", 0) == 0 ? -1 : -2;
    s.handle = CameraLibrary::instance().openCamera(&t, port_.c_str());
    ASSERT_NE(s.handle, nullptr);
    s.typeCode = t;
    s.versionCode = CameraLibrary::instance().getVerCode(s.handle, 0);
    s.setPortName(QString::fromStdString(port_));
    s.readFunctionTags();
    if (s.tag34 == 1) CameraLibrary::instance().getConfigParam(s.handle, 34, &s.ext, 0);
    ASSERT_EQ(s.readCameraParams(), 1);
    s.copyLineGeometry();
  }
  void TearDown() override {
    page.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.handle = nullptr;
    CameraLibrary::instance().resetForTests();
  }
  // Shows the page, then forgets what showing it did.
  void showPage() {
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
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
    if (text.isEmpty())
      QTest::keyClick(edit, Qt::Key_Delete);
    else
      QTest::keyClicks(edit, text);
  }
  // Clicks a radio button or push button where the user would.
  void click(int id) {
    auto* b = ctl<QAbstractButton>(id);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
  }
  // The user picks an entry of a drop-down list.
  void choose(int comboId, int index) {
    auto* box = ctl<QComboBox>(comboId);
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  template <class T>
  T* ctl(int id) const {
    T* w = page->findChild<T*>(QString::number(id));
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
  std::unique_ptr<QWidget> page;
  std::string port_;
};
