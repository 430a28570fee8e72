// net_camera_list.cpp - the network camera list hook and its plain stand-in.
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/camera_state.h"
#include "app/desktop.h"
#include "app/net_camera_list.h"
#include "app/net_records.h"

namespace {
NetCameraListHandler handler = nullptr;

bool plainList(QWidget* parent, const void* area208, void*, int32_t count) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QString::fromUtf8("连接状态"));
  auto* box = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  const auto records = netrecords::readRecords(area208, netrecords::kAreaBytes, count);
  for (const netrecords::Record& r : records) list->addItem(netrecords::connectionLine(r));
  box->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  box->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    cameraState().netPortChoice = netrecords::positionOf(list->currentRow(), list->count());
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
