// dlg_tarvo.h - the tab page of the 4K video model (contrast, resolution, speed).
#pragma once

#include <cstdint>

#include "abi/tyxcamera_ids.h"
#include "app/camera_page.h"

class QLineEdit;
class ReqScrollBar;

// The Tarvo camera's own settings: three 0..255 values with a bar and an
// edit each, automatic exposure and white balance switches, a manual white
// balance command, the output video mode with the sensor speed, and how the
// camera takes its resolution. The page starts from the camera's
// ExtendedParams block and writes each change at once.
class CDlgTarvo : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kContrastBar = 1100,
    kContrastEdit = 1101,
    kSaturationBar = 1213,
    kSaturationEdit = 1212,
    kExtinctionTargetBar = 1214,
    kExtinctionTargetEdit = 1063,
    kResolutionList = 1230,
    kSensorRateList = 1231,
    kSetVideoModeButton = 1065,
    kSwitchRadio = 1227,
    kComRadio = 1228,
    kManualWhiteBalanceButton = 1001,
    kAutoExtinctionCheck = 1122,
    kAutoWhiteBalanceCheck = 1123,
  };

  CDlgTarvo(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgTarvo() override;

  // After a reconnection the block has been read again; show its values.
  void inserted() override;

 private:
  // One bar-and-edit pair: its controls, the page member and the parameter
  // id that writes it (the id's description knows the record's field).
  struct Slider {
    int barId;
    int editId;
    int32_t CDlgTarvo::*member;
    tyxid::Param paramId;
  };

  void initialise();
  void loadFromCamera();
  void pushMembers();
  // Reads all three edits into the members with the 0..255 check; a
  // malformed or out-of-range entry shows the platform's message and gives
  // false.
  bool takeMembers();
  void onScroll(const Slider& slider, int code, int pos);
  void onEditChanged(const Slider& slider);
  void onSet();
  ReqScrollBar* bar(int id) const;

  int32_t contrast_ = 0;
  int32_t saturation_ = 0;
  int32_t target_ = 0;
};
