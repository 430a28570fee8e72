// dlg_mode.h - the mode tab of area-scan cameras: run mode, frame mode, output, trigger protection.
#pragma once

#include <cstdint>

#include "app/camera_page.h"

// The tab on which the user chooses how an area-scan camera runs. Every
// choice is written to the camera at once and mirrored in CameraParams (the
// trigger-protection values in ExtendedParams). Which choices are offered
// follows the type code, the version code and the function tags; the
// selections are rebuilt from the record at every refresh.
class CDlgMode : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kRunModeGroup = 1075,
    kFreeRunRadio = 1035,
    kEdgeTriggerRadio = 1036,
    kExternalSyncRadio = 1037,
    kLastFrameFreezeRadio = 1003,
    kPulseTriggerRadio = 1025,
    kTriggerHoldRadio = 1208,
    kFrameModeGroup = 1077,
    kFullRadio = 1040,
    kPartRadio = 1041,
    kBinningRadio = 1042,
    kFrameAverageRadio = 1002,
    kPalRadio = 1043,
    kOutputGroup = 1078,
    kCameraOutputRadio = 1045,
    kTestImageRadio = 1046,
    kProtectGroup = 1149,
    kRiseDelayLabel = 1150,
    kRiseDelayBar = 1153,
    kRiseDelayEdit = 1062,
    kFallDelayLabel = 1151,
    kFallDelayBar = 1032,
    kFallDelayEdit = 1038,
    kProtectTimeLabel = 1152,
    kProtectTimeBar = 1033,
    kProtectTimeEdit = 1039,
  };

  CDlgMode(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgMode() override;

  // Control-state rules, then the selections from the record.
  void refresh() override;

  // The flag set by PAL/NTSC and multi-frame average, consumed by the next
  // full, part or binning choice (tests look at it).
  bool leavingPal() const { return leavingPal_; }

 private:
  // One row of the trigger-protection group.
  struct Row {
    int bar, edit, label, id;
    uint32_t maximum;
    int32_t ExtendedParams::*field;
    int32_t CameraState::*tag;
  };
  static const Row kRows[3];

  void applyRules();
  void syncSelections();
  void pushMembers();
  void takeMembers();
  void onRunMode(int32_t value);
  void onFrameMode(int buttonId);
  void onOutput(int32_t value);
  void onProtectEdit(int row);
  void onProtectScroll(int row, int code, int pos);
  // Writes the frame mode and tries once more before reporting a failure.
  // Keeps the exposure inside the range of the present settings.
  bool rowShown(int row) const;

  int runSel_ = 0;
  int frameSel_ = 0;
  int outputSel_ = 0;
  int barPos_[3] = {10, 10, 100};
  uint32_t editValue_[3] = {10, 10, 100};
  bool leavingPal_ = false;
};
