// comm_fixture.h - the port page, alone or in the main window, against the simulated camera.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/my_tab.h"
#include "app/page_kinds.h"
#include "app/tyx_vistrel_dlg.h"
#include "comm/dlg_com.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

// The test binaries take the core from a static archive, where nothing
// refers to the compiled resources; without this the linker leaves the icons
// out and every picture would be empty.
inline void useCoreResources() { Q_INIT_RESOURCE(resources); }

// The picture the page shows, compared with the icon resource it should be.
inline bool showsIcon(QLabel* picture, int number) {
  const QPixmap expected(QString(":/icons/%1.png").arg(number));
  return !expected.isNull() && picture->property("iconNumber").toInt() == number &&
         picture->pixmap().toImage() == expected.toImage();
}

// Picks a port in the list the way a user's choice arrives.
inline void choosePort(QComboBox* list, int position) {
  list->setCurrentIndex(position);
  emit list->activated(position);
}

// The page on its own, with a camera opened the way the main window does.
class ComPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useCoreResources();
    sim.reset();
    ASSERT_TRUE(dir.isValid());
  }
  void TearDown() override {
    page.reset();
    CameraState& s = cameraState();
    if (s.handle != nullptr) CameraLibrary::instance().closeCamera(s.handle);
    s.handle = nullptr;
    CameraLibrary::instance().resetForTests();
  }
  // Opens the camera on port (none for an empty port) and builds the page.
  void open(const std::string& port, int32_t language = 9) {
    CameraState& s = cameraState();
    s.language = language;
    if (!port.empty()) {
      int32_t type = port.rfind("NetPort", 0) == 0 ? -1 : -2;
      s.handle = CameraLibrary::instance().openCamera(&type, port.c_str());
      ASSERT_NE(s.handle, nullptr) << port;
      s.typeCode = type;
      s.versionCode = CameraLibrary::instance().getVerCode(s.handle, 0);
      s.linkFlag = 1;
      s.setPortName(QString::fromStdString(port));
      s.readFunctionTags();
      if (types::isLineScan(type))
        s.readLinearParams();
      else
        s.readCameraParams();
    }
    page.reset(new CDlgCom(nullptr, nullptr));
    page->show();
    sim.clearLog();
    desktop.clear();
  }
  QString path(const char* name) const { return dir.filePath(name); }
  template <class T>
  T* ctl(int id) const {
    T* w = page->control<T>(id);
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  // The camera's current gain as the library reports it now.
  int32_t cameraGain() {
    CameraParams p{};
    p.size = sizeof p;
    p.marker = 0xFFFE;
    EXPECT_EQ(CameraLibrary::instance().getConfigParam(cameraState().handle, -1, &p, 0), 1);
    return p.gain;
  }

  SimCamera sim;
  FakeDesktop desktop;
  QTemporaryDir dir;
  std::unique_ptr<CDlgCom> page;
};

// The page inside the running program.
class ComMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    useCoreResources();
    sim.reset();
  }
  void TearDown() override {
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
  void start(int32_t language = 9) {
    window.reset(startMainWindow(language));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    com = dynamic_cast<CDlgCom*>(window->page(PageKind::Com));
    ASSERT_NE(com, nullptr);
    sim.clearLog();
    desktop.clear();
  }
  QComboBox* portList() const { return com->control<QComboBox>(CDlgCom::kPortList); }
  int position(const char* port) const { return portList()->findText(QString::fromUtf8(port)); }
  bool enabled(int id) const { return window->button(id)->isEnabled(); }
  QString modelLabel() const {
    return qobject_cast<QLabel*>(window->controlWidget(CTyxVistrelDlg::kModelLabel))->text();
  }
  std::vector<QString> shownTitles() const {
    std::vector<QString> out;
    for (int i = 0; i < window->tabs()->pageCount(); ++i) out.push_back(window->tabs()->title(i));
    return out;
  }
  // The reopen plan: the tab titles it should show.
  std::vector<QString> expectedTitles() const {
    std::vector<QString> out;
    for (const auto& p : CTyxVistrelDlg::pagePlan(cameraState(), true)) out.push_back(p.title);
    return out;
  }
  std::vector<SimCamera::Call> opens() const { return sim.calls("OpenCamera"); }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
  CDlgCom* com = nullptr;
};
