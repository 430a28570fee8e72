// net_camera_list.cpp - the network camera list hook and its plain stand-in.
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/camera_state.h"
#include "app/desktop.h"
#include "app/net_camera_list.h"

namespace {
NetCameraListHandler handler = nullptr;

bool plainList(QWidget* parent, const void* area208, void*, int32_t count) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QString::fromUtf8("连接状态"));
  auto* box = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  const auto* records = static_cast<const NetDeviceRecord*>(area208);
  for (int32_t i = 0; i < std::clamp(count, 0, 4); ++i)
    list->addItem(QString("%1: %2 ").arg(records[i].number1).arg(records[i].number2).left(50));
  box->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  box->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    cameraState().netPortChoice = std::max(0, list->currentRow());
    dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return Desktop::get().execDialog(&dialog) == QDialog::Accepted;
}
}  // namespace

void setNetCameraListHandler(NetCameraListHandler h) { handler = h; }

bool execNetCameraList(QWidget* parent, const void* area208, void* list, int32_t count) {
  return (handler != nullptr ? handler : plainList)(parent, area208, list, count);
}
