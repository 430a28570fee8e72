// dlg_net_camera.cpp - the list of network cameras a scan found, to pick one from.
#include "comm/dlg_net_camera.h"

#include <QListWidget>
#include <QPushButton>

#include "app/desktop.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgNetCamera::CtlId;

namespace {

// The window has one layout; its labels are the same in both languages.
constexpr ControlSpec kControls[] = {
    {0, Ctl::Group, "连接列表", nullptr, 7, 4, 150, 112},
    {kConnectionList, Ctl::List, nullptr, nullptr, 14, 16, 136, 94},
    {0, Ctl::Group, "IP", nullptr, 163, 4, 130, 112},
    {kAddressList, Ctl::List, nullptr, nullptr, 170, 16, 116, 94},
    {kOpenButton, Ctl::DefaultButton, "打开", nullptr, 60, 122, 50, 14},
    {kCloseButton, Ctl::Button, "关闭", nullptr, 190, 122, 50, 14},
};

}  // namespace

CDlgNetCamera::CDlgNetCamera(QWidget* parent) : ControlHost<QDialog>(parent) {
  setWindowTitle(QString::fromUtf8("连接状态"));
  buildControls(kControls);
  setDialogSize(300, 142);
  auto* list = control<QListWidget>(kConnectionList);
  connect(list, &QListWidget::currentRowChanged, this, [this] { onSelectionChanged(); });
  connect(list, &QListWidget::itemDoubleClicked, this, [this] { onOpen(); });
  connect(control<QPushButton>(kOpenButton), &QPushButton::clicked, this, &CDlgNetCamera::onOpen);
  connect(control<QPushButton>(kCloseButton), &QPushButton::clicked, this, &QDialog::reject);
}

void CDlgNetCamera::setRecords(const void* area208, int32_t count) {
  // The callers hand the camera state's scan area, which is exactly four
  // records; the count is whatever the library reported.
  records_ = netrecords::readRecords(area208, netrecords::kAreaBytes, count);
  auto* list = control<QListWidget>(kConnectionList);
  const QSignalBlocker block(list);
  list->clear();
  control<QListWidget>(kAddressList)->clear();
  for (const NetDeviceRecord& r : records_) list->addItem(netrecords::connectionLine(r));
}

int CDlgNetCamera::selectedPosition() const {
  return netrecords::positionOf(control<QListWidget>(kConnectionList)->currentRow(), recordCount());
}

void CDlgNetCamera::onSelectionChanged() {
  if (records_.empty()) return;
  auto* addresses = control<QListWidget>(kAddressList);
  addresses->clear();
  addresses->addItems(netrecords::addressLines(records_[static_cast<size_t>(selectedPosition())]));
}

void CDlgNetCamera::onOpen() {
  cameraState().netPortChoice = selectedPosition();
  accept();
}

bool showNetCameraList(QWidget* parent, const void* area208, void*, int32_t count) {
  CDlgNetCamera dialog(parent);
  dialog.setRecords(area208, count);
  return Desktop::get().execDialog(&dialog) == QDialog::Accepted;
}
