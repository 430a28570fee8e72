// dlg_usb_param.h - the USB camera's parameter tab (exposure, external trigger, versions).
#pragma once

#include <QString>
#include <cstdint>

#include "app/camera_page.h"

// Sets the exposure time and the external-trigger mode of a USB camera and
// shows its driver, firmware, hardware and software versions.
class CDlgUsbParam : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kExposureList = 1108,
    kTriggerCheck = 1095,
    kVersionButton = 1001,
    kExposeLineLabel = 1098,
    kExposeLineBar = 1096,
    kExposeLineEdit = 1099,
  };

  CDlgUsbParam(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgUsbParam() override;

  // Selects the exposure that usbExposure falls into and shows the trigger.
  void refresh() override;

  // The list index an exposure in microseconds is shown at, or -1 for a
  // value beyond the table (the selection then stays as it was).
  static int exposureIndexFor(int32_t microseconds);
  // The exposure in microseconds of list index 0..17, or -1.
  static int32_t exposureForIndex(int index);
  // The version text: each version is packed with the major number in bits
  // 8-15 and the minor number in bits 0-7.
  static QString versionText(int32_t driver, int32_t firmware, int32_t hardware, int32_t hardwareType,
                             int32_t software, bool chinese);

 private:
  void pushMembers();
  void onExposureChosen(int index);
  void onTrigger(bool checked);
  void onExposureLines(int code, int pos);
  void onVersion();

  int32_t exposureValue_ = 0;
  int32_t exposureIndex_ = -1;
  int32_t linePos_ = 300;
  int32_t trigger_ = 0;
  int32_t lineText_ = 300;
  TyxUsbInfo usbInfo_{};
};
