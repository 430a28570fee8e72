// dlg_net_camera.h - the list of network cameras a scan found, to pick one from.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "app/camera_page.h"
#include "app/net_records.h"

// The modal window "连接状态": one line per device record of the scan area,
// the three addresses of the selected record, and "打开" to report the chosen
// position (0-3) as the camera state's network port choice.
class CDlgNetCamera : public ControlHost<QDialog> {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kConnectionList = 1141,
    kAddressList = 1143,
    kOpenButton = 1049,
    kCloseButton = 2,
  };

  explicit CDlgNetCamera(QWidget* parent = nullptr);

  // Copies count records of the 208-byte scan area (cut to 0..4) and lists them.
  void setRecords(const void* area208, int32_t count);
  int recordCount() const { return static_cast<int>(records_.size()); }

 private:
  void onSelectionChanged();
  void onOpen();
  int selectedPosition() const;

  std::vector<NetDeviceRecord> records_;
};

// The handler the main window's Reopen and the port page's scan both use.
bool showNetCameraList(QWidget* parent, const void* area208, void* list, int32_t count);
