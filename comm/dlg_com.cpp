// dlg_com.cpp - the port and file tab: connection port, configuration files, network cameras.
#include "comm/dlg_com.h"
#include "comm/dlg_net_camera.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstring>

#include "app/camera_library.h"
#include "app/camera_session.h"
#include "app/desktop.h"
#include "app/my_tab.h"
#include "app/net_records.h"
#include "app/tyx_vistrel_dlg.h"
#include "comm/dlg_option.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgCom::CtlId;

namespace {

// Both languages share the geometry; only the labels differ.
constexpr ControlSpec kControls[] = {
    {kPortGroup, Ctl::Group, "Port", "选择端口", 7, 4, 150, 60},
    {kPortList, Ctl::Combo, nullptr, nullptr, 16, 17, 130, 12},
    {kScanNetButton, Ctl::Button, "Scan Net Camera", "搜索网络相机", 16, 40, 130, 14},
    {kLinkGroup, Ctl::Group, "Link Status", "连接状态", 166, 4, 80, 60},
    {kLinkPicture, Ctl::Picture, nullptr, nullptr, 191, 22, 30, 30},
    {kNetInfoGroup, Ctl::Group, "Camera Info(for net camera only)", "相机信息(千兆网相机有效)", 7, 70, 300,
     40},
    {kIpLabel, Ctl::Label, "IP", "IP", 16, 88, 12, 9},
    {kIpEdit, Ctl::Edit, nullptr, nullptr, 30, 86, 110, 12},
    {kSetIpButton, Ctl::Button, "Set IP", "设置", 148, 85, 60, 14},
    {kVersionButton, Ctl::Button, "Ver Info", "版本信息", 218, 85, 60, 14},
    {kConfigGroup, Ctl::Group, "Save config File(not for USB camera)", "文件存储(USB相机无效)", 7, 116, 300,
     52},
    {kSaveButton, Ctl::Button, "Save", "存储配置文件", 46, 136, 80, 14},
    {kLoadButton, Ctl::Button, "Load", "打开配置文件", 196, 136, 80, 14},
};

constexpr int kNetworkControls[] = {kScanNetButton, kVersionButton, kSetIpButton,
                                    kNetInfoGroup,  kIpEdit,        kIpLabel};
constexpr int kLinkedIcon = 137;
constexpr int kUnlinkedIcon = 136;

const char* const kFileFilter = "config file (*.cam);;All Files (*.*)";
// What the file name field of both file dialogs shows when they open.
const char* const kInitialFileName = "*.cam";
const char* const kUnknownModel = "型号:未知";

// The port list's rows are 25 pixels high.
class RowHeight : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(25);
    return size;
  }
};

QPixmap icon(int number) { return QPixmap(QString(":/icons/%1.png").arg(number)); }

}  // namespace

CDlgCom::CDlgCom(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(314, 172);
  portList_ = control<QComboBox>(kPortList);
  linkPicture_ = control<QLabel>(kLinkPicture);
  linkPicture_->setScaledContents(true);
  portList_->setItemDelegate(new RowHeight(portList_));
  portList_->addItems(CameraSession::knownPorts().mid(0, kPortCount));
  portList_->addItem(networkEntryLabel());
  // The icons beside the file buttons.
  for (auto [number, x] : {std::pair{138, 26}, std::pair{139, 176}}) {
    auto* picture = new QLabel(this);
    picture->setPixmap(icon(number));
    picture->setScaledContents(true);
    picture->setGeometry(Layout::px(x), Layout::py(134), Layout::px(16), Layout::py(16));
  }
  enableNetworkControls(false);

  // A pick in the list, even of the port already shown, reconnects; the
  // page's own selection (refresh) does not.
  connect(portList_, &QComboBox::activated, this, [this](int position) {
    if (!busy_) changePort(position);
  });
  connect(control<QPushButton>(kSaveButton), &QPushButton::clicked, this, &CDlgCom::saveConfigFile);
  connect(control<QPushButton>(kLoadButton), &QPushButton::clicked, this, &CDlgCom::loadConfigFile);
  connect(control<QPushButton>(kScanNetButton), &QPushButton::clicked, this, &CDlgCom::scanNetCameras);
  connect(control<QPushButton>(kVersionButton), &QPushButton::clicked, this, &CDlgCom::showVersions);
  connect(control<QPushButton>(kSetIpButton), &QPushButton::clicked, this, &CDlgCom::setIpAddress);
  showLinkIcon(cameraState().linkFlag != 0);
}

QString CDlgCom::networkEntryLabel() {
  return cameraState().text("NetPort (net camera)", "NetPort (网络相机)");
}

std::string CDlgCom::openString(const std::string& port, const std::string& settings) {
  return CameraSession::openText(port, settings);
}

bool CDlgCom::hasNoConfigFile(int32_t type) { return types::hasNoConfigFile(type); }

void CDlgCom::showLinkIcon(bool linked) {
  const int number = linked ? kLinkedIcon : kUnlinkedIcon;
  linkPicture_->setPixmap(icon(number));
  linkPicture_->setProperty("iconNumber", number);
}

void CDlgCom::enableNetworkControls(bool on) {
  for (int id : kNetworkControls) controlWidget(id)->setEnabled(on);
}

void CDlgCom::enableFileButtons() {
  const bool files = !hasNoConfigFile(cameraState().typeCode);
  controlWidget(kSaveButton)->setEnabled(files);
  controlWidget(kLoadButton)->setEnabled(files);
}

void CDlgCom::pushMembers() {
  Busy guard(busy_);
  // A port text the list does not hold leaves the selection as it is.
  const int position = portList_->findText(portText_);
  if (position >= 0) portList_->setCurrentIndex(position);
  control<QLineEdit>(kIpEdit)->setText(ipText_);
}

void CDlgCom::takeMembers() {
  portText_ = portList_->currentText();
  ipText_ = control<QLineEdit>(kIpEdit)->text();
}

void CDlgCom::refresh() {
  const CameraState& s = cameraState();
  showLinkIcon(s.linkFlag != 0);
  portText_ = s.port();
  enableFileButtons();
  pushMembers();
}

void CDlgCom::changePort(int position) {
  CameraState& s = cameraState();
  CameraSession& session = cameraSession();
  Desktop& desktop = Desktop::get();
  if (position < 0 || position > kNetworkPosition) return;
  Busy guard(busy_);
  // The main window's pages are those of the camera before until it has
  // rebuilt them: they follow the settings only after that.
  CameraSession::Hold hold;
  desktop.setWaitCursor(true);
  s.setPortName(portList_->itemText(position));
  portText_ = portList_->itemText(position);

  if (position == kNetworkPosition) {
    enableNetworkControls(true);
    if (s.handle != nullptr) {
      session.close();
      showLinkIcon(false);
      s.linkFlag = 0;
      s.modelText = QString::fromUtf8(kUnknownModel);
      if (mainWindow() != nullptr) {
        mainWindow()->showModelText();
        mainWindow()->update();
      }
    }
    // The camera is opened by the network scan.
    desktop.setWaitCursor(false);
    return;
  }

  enableNetworkControls(false);
  session.close();
  QString settings;
  if (std::strncmp(s.portName, "CamLink", 7) == 0) {
    CDlgOption option;
    desktop.setWaitCursor(false);
    if (desktop.execDialog(&option) == QDialog::Accepted) settings = QString::fromStdString(option.settings());
    desktop.setWaitCursor(true);
  }
  session.openChosen(s.port(), OpenedBy::PortChange, settings);
  showLinkIcon(s.handle != nullptr);

  if (mainWindow() != nullptr) mainWindow()->cameraChanged(OpenedBy::PortChange);
  enableFileButtons();

  desktop.setWaitCursor(false);
  if (mainWindow() != nullptr) mainWindow()->showModelText();
  pushMembers();
}

void CDlgCom::saveConfigFile() {
  CameraState& s = cameraState();
  const QString path = Desktop::get().saveFileName(this, s.text("Save config file", "存储配置文件"),
                                                   QString::fromUtf8(kFileFilter), QString(),
                                                   QString::fromUtf8(kInitialFileName));
  if (path.isEmpty()) return;
  cameraSession().saveFile(path);
}

void CDlgCom::loadConfigFile() {
  CameraState& s = cameraState();
  const QString path =
      Desktop::get().openFileName(this, s.text("Load config file", "打开配置文件"),
                                  QString::fromUtf8(kFileFilter), QString::fromUtf8(kInitialFileName));
  if (path.isEmpty()) return;
  // A refused file is redrawn at once: the link icon must not go on showing
  // a camera the library no longer has.
  if (cameraSession().loadFile(path).failed == SessionStep::LoadFile) repaint();
}

void CDlgCom::scanNetCameras() {
  CameraState& s = cameraState();
  CameraSession& session = cameraSession();
  Desktop& desktop = Desktop::get();
  desktop.setWaitCursor(true);
  void* list = nullptr;
  const int32_t count = session.scanNetwork(&list);
  desktop.setWaitCursor(false);
  if (!showNetCameraList(this, s.netArea, list, count)) return;

  CameraSession::Hold hold;
  WaitCursor wait;
  session.close();
  // The reads after a failed open fail with codes of their own; the session
  // tells the user why the open failed.
  session.openChosen(netrecords::portName(s.netPortChoice), OpenedBy::Network);
  ipText_ = session.openedAddress();
  showLinkIcon(s.handle != nullptr);
  if (mainWindow() != nullptr) {
    mainWindow()->showModelText();
    // The pages and buttons of the camera just opened: the tabs of the
    // camera before it would write ids this one does not have.
    mainWindow()->cameraChanged(OpenedBy::Network);
  }
  enableFileButtons();
  pushMembers();
  // The page is redrawn once the list has closed, so Save and Load follow the
  // camera just opened rather than the one the port list had before.
  repaint();
}

void CDlgCom::showVersions() {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  // The library answers 0 for an item it cannot deliver; no firmware is
  // numbered 0, so such an item is shown as unknown rather than as version 0.
  auto item = [&](int number) {
    const int32_t v = lib.getNetCameraVer(s.handle, number);
    return v != 0 ? QString::number(v) : QString("-");
  };
  const QString arm = item(1), core = item(2), fpga = item(3);
  const QString text =
      s.chinese()
          ? QString::fromUtf8(" arm版本号 %1\t\nCore版本号 %2\t\nfpga版本号 %3\t\n").arg(arm, core, fpga)
          : QString("arm ver %1\t\nCore Code %2\t\nfpga ver %3\t\n").arg(arm, core, fpga);
  Desktop::get().message(this, text, "Ver Information");
}

void CDlgCom::setIpAddress() {
  takeMembers();
  if (!cameraSession().setNetworkAddress(ipText_)) {
    Desktop::get().message(this, "Set IP Error!", "Vistrel");
    ipText_.clear();
  }
  pushMembers();
}
