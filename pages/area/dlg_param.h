// dlg_param.h - the parameter tab of area-scan cameras: gain, black, brightness, partial window, rate,
// exposure.
#pragma once

#include <QString>
#include <cstdint>

#include "app/camera_page.h"
#include "app/camera_values.h"
#include "app/typed_number.h"

class QGroupBox;
class QPaintEvent;

// The tab on which the user sets the analogue and timing values of an
// area-scan camera. Every value is written to the camera at once and
// mirrored in CameraParams. The user thinks in microseconds, the camera in
// line periods; every conversion and every valid range comes from the camera
// library, so the page holds no sensor timing of its own.
class CDlgParam : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kGainLabel = 1079,
    kGainBar = 1047,
    kGainEdit = 1048,
    kBlackLabel = 1080,
    kBlackBar = 1035,
    kBlackEdit = 1036,
    kBrightnessLabel = 1083,
    kBrightnessBar = 1171,
    kBrightnessEdit = 1172,
    kBeginLineLabel = 1081,
    kBeginLineBar = 1039,
    kBeginLineEdit = 1040,
    kEndLineLabel = 1082,
    kEndLineBar = 1033,
    kEndLineEdit = 1034,
    kStepLabel = 1049,
    kRateLabel = 1084,
    kRateList = 1074,
    kCoarseRadio = 1129,
    kFineRadio = 1130,
    kShortExposureRadio = 1135,
    kCoarseList = 1094,
    kExposureEdit = 1131,
    kApplyExposureButton = 1001,
  };

  // Exposure modes of the three radios.
  enum ExposureMode { Coarse = 0, Fine = 1, Short = 2 };

  CDlgParam(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgParam() override;

  void refresh() override;
  // A reopen may have brought another camera: take its line geometry.
  void inserted() override;

  int exposureMode() const { return exposureMode_; }

  // The standard times of the coarse list, in microseconds, and the position
  // of the list that a time selects.
  static constexpr int kStandardCount = 18;
  static const int32_t kStandardTimes[kStandardCount];
  static int coarsePositionOfTime(int32_t microseconds);

 protected:
  // The scale labels above the bars.
  void paintEvent(QPaintEvent* event) override;

 private:
  // One bar-and-edit row (gain, black, brightness, begin line, end line).
  enum RowIndex { Gain, Black, Brightness, Begin, End, RowCount };

  void setGeometryRanges();
  void pushMembers();
  void takeMembers();
  void fillRateList();
  void showExposure(int32_t rangeMax);
  int coarsePositionForRecord(int32_t rangeMax);
  TypedNumber::Verdict judgeValue(int row, const QString& text) const;
  void onValueEdit(int row);
  void onScroll(int row, int code, int pos);
  void onRateChosen(int position);
  void onExposureRadio(int mode);
  void onCoarseChosen(int position);
  void onApplyTime();
  // The three ways an exposure reaches the camera.
  void writeCoarse(int position);
  void writeFine(int32_t microseconds);
  void writeShort(int32_t microseconds);
  // After a change of the partial window: the exposure may no longer fit.
  // Keeps lastTime_ when a shorter window lowers the exposure.
  camval::WriteOptions lineWriteOptions();
  int step() const { return lineStep_ > 0 ? lineStep_ : 1; }

  int32_t edit_[RowCount] = {330, 0, 256, 195, 480};
  int32_t pos_[RowCount] = {330, 0, 256, 195, 480};
  int exposureMode_ = Coarse;
  int32_t timeEdit_ = 100;
  int32_t lastTime_ = 270;
  int coarsePos_ = -1;
  int ratePos_ = -1;
  int32_t lineStep_ = 0;
  QGroupBox* exposureGroup_ = nullptr;
};
