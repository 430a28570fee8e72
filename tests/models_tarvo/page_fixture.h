// page_fixture.h - a model page on a simulated camera, without the main window.
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

// Opens the camera of the given type on COM1 the way the main window does
// (identity, tags, records) and leaves the page to the test.
class ModelPageTest : public ::testing::Test {
 protected:
  void openCamera(const std::string& type, int32_t language) {
    sim.reset();
    sim.control("clear;camera COM1=" + type);
    CameraState& s = cameraState();
    s.language = language;
    int32_t t = -2;
    s.handle = CameraLibrary::instance().openCamera(&t, "COM1");
    ASSERT_NE(s.handle, nullptr);
    s.typeCode = t;
    s.versionCode = CameraLibrary::instance().getVerCode(s.handle, 0);
    s.readFunctionTags();
    s.readCameraParams();
    if (s.tag34 == 1) CameraLibrary::instance().getConfigParam(s.handle, 34, &s.ext, 0);
  }
  void TearDown() override {
    page.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.handle = nullptr;
    CameraLibrary::instance().resetForTests();
  }
  // Shows the page, then forgets what showing it wrote.
  void showPage() {
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    sim.clearLog();
    desktop.clear();
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
  // Picks a list item as the drop-down does: select it and notify.
  void choose(int comboId, const QString& text) {
    auto* box = ctl<QComboBox>(comboId);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  static QStringList items(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
  }
  template <class T>
  T* ctl(int id) const {
    T* w = page->findChild<T*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
  }
  ReqScrollBar* bar(int id) const { return ctl<ReqScrollBar>(id); }
  QString editText(int id) const { return ctl<QLineEdit>(id)->text(); }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<QWidget> page;
};
