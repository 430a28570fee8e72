// dlg_net_camera.cpp - the list of network cameras a scan found, to pick one from.
#include "comm/dlg_net_camera.h"

#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cstring>

#include "app/desktop.h"
#include "app/net_camera_list.h"

namespace {

// The window has one layout; its labels are the same in both languages.
constexpr ControlSpec kControls[] = {
    {0, Ctl::Group, "连接列表", nullptr, 7, 4, 150, 112},
    {1141, Ctl::List, nullptr, nullptr, 14, 16, 136, 94},
    {0, Ctl::Group, "IP", nullptr, 163, 4, 130, 112},
    {1143, Ctl::List, nullptr, nullptr, 170, 16, 116, 94},
    {1049, Ctl::DefaultButton, "打开", nullptr, 60, 122, 50, 14},
    {2, Ctl::Button, "关闭", nullptr, 190, 122, 50, 14},
};

constexpr int kLineLength = 50;

// Reopen and the port page's scan reach the list through the core's hook.
const bool registered = (setNetCameraListHandler(&showNetCameraList), true);

}  // namespace

CDlgNetCamera::CDlgNetCamera(QWidget* parent) : ControlHost<QDialog>(parent) {
  (void)registered;
  setWindowTitle(QString::fromUtf8("连接状态"));
  buildControls(kControls);
  setDialogSize(300, 142);
  auto* list = control<QListWidget>(1141);
  connect(list, &QListWidget::currentRowChanged, this, [this] { onSelectionChanged(); });
  connect(list, &QListWidget::itemDoubleClicked, this, [this] { onOpen(); });
  connect(control<QPushButton>(1049), &QPushButton::clicked, this, &CDlgNetCamera::onOpen);
  connect(control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

QString CDlgNetCamera::dotted(uint32_t stored) {
  unsigned char bytes[4];
  std::memcpy(bytes, &stored, sizeof bytes);
  return QString("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

QString CDlgNetCamera::connectionLine(const NetDeviceRecord& r) {
  return QString::asprintf("%d: %d ", r.number1, r.number2).left(kLineLength);
}

QStringList CDlgNetCamera::addressLines(const NetDeviceRecord& r) {
  return {QString("Camera IP1: %1").arg(dotted(r.ip1)), QString("Camera IP2: %1").arg(dotted(r.ip2)),
          QString::asprintf("Camera IP3: %d", r.ip3)};
}

void CDlgNetCamera::setRecords(const void* area208, int32_t count) {
  // The callers turn a position into one of four port names, and the area
  // holds no more than four records: a larger count is cut, a negative one
  // (a failed scan) lists nothing.
  const int n = area208 == nullptr ? 0 : std::clamp<int32_t>(count, 0, kMaxRecords);
  records_.clear();
  const auto* records = static_cast<const NetDeviceRecord*>(area208);
  for (int i = 0; i < n; ++i) records_.push_back(records[i]);
  auto* list = control<QListWidget>(1141);
  const QSignalBlocker block(list);
  list->clear();
  control<QListWidget>(1143)->clear();
  for (const NetDeviceRecord& r : records_) list->addItem(connectionLine(r));
}

int CDlgNetCamera::selectedPosition() const {
  const int row = control<QListWidget>(1141)->currentRow();
  return row < 0 ? 0 : row;
}

void CDlgNetCamera::onSelectionChanged() {
  if (records_.empty()) return;
  const int position = std::min(selectedPosition(), recordCount() - 1);
  auto* addresses = control<QListWidget>(1143);
  addresses->clear();
  addresses->addItems(addressLines(records_[static_cast<size_t>(position)]));
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
