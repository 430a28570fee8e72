// switch_fixture.h - the whole program on the simulators, switched between cameras as a user does.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/my_tab.h"
#include "app/page_kinds.h"
#include "app/tyx_vistrel_dlg.h"
#include "comm/dlg_com.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"
#include "imaging/dlg_grab_video.h"
#include "imaging/dlg_paint_usb.h"
#include "imaging/sim_board_control.h"

class CameraSwitchTest : public ::testing::Test {
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

  // Places the cameras (simulator commands after the default set), starts
  // the program and shows it.
  void start(const std::string& cameras = "", int32_t language = 9) {
    if (!cameras.empty()) sim.control(cameras);
    window.reset(startMainWindow(language));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    com = dynamic_cast<CDlgCom*>(window->page(PageKind::Com));
    ASSERT_NE(com, nullptr);
    sim.clearLog();
    desktop.clear();
  }

  // Picks a port in the port page's list the way a user's choice arrives.
  // A Camera Link port's serial dialog is cancelled.
  void choosePort(const QString& port) {
    auto* list = com->control<QComboBox>(CDlgCom::kPortList);
    const int at = port == "net" ? CDlgCom::kNetworkPosition : list->findText(port);
    ASSERT_GE(at, 0) << port.toStdString();
    if (port.startsWith("CamLink")) desktop.dialogs.push_back(nullptr);
    list->setCurrentIndex(at);
    emit list->activated(at);
  }
  // Chooses the network entry, scans and opens the camera of list row `row`.
  void openNetworkCamera(int row) {
    choosePort("net");
    desktop.dialogs.push_back([row](QDialog* d) {
      auto* list = d->findChild<QListWidget*>("1141");
      if (list == nullptr) return int(QDialog::Rejected);
      list->setCurrentRow(row);
      QTest::mouseClick(d->findChild<QPushButton*>("1049"), Qt::LeftButton);
      return d->result();
    });
    QTest::mouseClick(com->control<QPushButton>(CDlgCom::kScanNetButton), Qt::LeftButton);
  }
  // The next board-selection dialog is confirmed with its first board.
  void confirmBoard() {
    desktop.dialogs.push_back([](QDialog* d) {
      d->findChild<QPushButton*>("1")->click();
      return d->result();
    });
  }

  // Shows the image window Grab uses for the open camera and starts its
  // live video.
  void startLiveVideo() {
    const bool usbCamera = types::isUsbImage(cameraState().typeCode);
    if (!usbCamera) confirmBoard();
    window->button(CTyxVistrelDlg::kGrabButton)->click();
    ASSERT_TRUE(window->grabShown());
    if (usbCamera) {
      usb()->onVideo();
      ASSERT_TRUE(usb()->videoRunning());
    } else {
      video()->onCaptureStart();
      ASSERT_TRUE(video()->capturing());
    }
  }

  std::vector<QString> shownTitles() const {
    std::vector<QString> out;
    for (int i = 0; i < window->tabs()->pageCount(); ++i) out.push_back(window->tabs()->title(i));
    return out;
  }
  // The tabs a reopen gives the camera state's type.
  std::vector<QString> rebuildTitles() const {
    std::vector<QString> out;
    for (const auto& p : CTyxVistrelDlg::pagePlan(cameraState(), true)) out.push_back(p.title);
    return out;
  }
  bool enabled(int id) const { return window->button(id)->isEnabled(); }
  QString caption(int id) const { return window->button(id)->text(); }
  CDlgGrabVideo* video() const {
    return qobject_cast<CDlgGrabVideo*>(window->companion(CompanionKind::GrabVideo));
  }
  CDlgPaintUsb* usb() const {
    return qobject_cast<CDlgPaintUsb*>(window->companion(CompanionKind::PaintUsb));
  }
  QWidget* info() const { return window->companion(CompanionKind::Info); }

  SimCamera sim;
  SimBoardControl boards;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
  CDlgCom* com = nullptr;
};
