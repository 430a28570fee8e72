// dlg_net_camera.cpp - a minimal network camera list until the full one lands.
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/camera_state.h"
#include "app/desktop.h"
#include "app/net_camera_list.h"

bool execNetCameraList(QWidget* parent, const void* area208, void*, int32_t count) {
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
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (Desktop::get().execDialog(&dialog) != QDialog::Accepted) return false;
  cameraState().netPortChoice = std::max(0, list->currentRow());
  return true;
}
