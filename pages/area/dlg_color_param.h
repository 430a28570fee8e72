// dlg_color_param.h - the colour parameter tab: red, green and blue gains, saturation, white balance.
#pragma once

#include <QString>
#include <cstdint>

#include "app/camera_page.h"
#include "app/typed_number.h"

class QPaintEvent;

// The tab of colour area-scan cameras. Every change is written to the camera
// at once and mirrored in CameraParams; the page shows what the record holds
// whenever it repaints. Two number models live side by side: gains in steps
// of 4 (0..252) with a signed saturation on most cameras, and gains in steps
// of 1 (0..255) with a 0..255 saturation bar on the image orientation model.
class CDlgColorParam : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kRedGainLabel = 1088,
    kRedGainBar = 1057,
    kRedGainEdit = 1052,
    kGreenGainLabel = 1089,
    kGreenGainBar = 1058,
    kGreenGainEdit = 1053,
    kBlueGainLabel = 1090,
    kBlueGainBar = 1059,
    kBlueGainEdit = 1054,
    kSaturationLabel = 1091,
    kSaturationBar = 1060,
    kSaturationEdit = 1055,
    kSaturationByteEdit = 1212,
    kWhiteBalanceButton = 1065,
  };

  CDlgColorParam(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgColorParam() override;

  // Rebuilds the controls from CameraParams and the function tags.
  void refresh() override;
  // The camera may have changed with a reopen: take its ranges.
  void inserted() override;

 protected:
  // The scale and step labels beside the bars.
  void paintEvent(QPaintEvent* event) override;

 private:
  void applyRanges();
  void pushMembers();
  void takeMembers();
  TypedNumber::Verdict judgeGain(int row, const QString& text) const;
  static TypedNumber::Verdict judgeSaturation(const QString& text);
  void onGainEdit(int row);
  void onSaturationEdit();
  void onScroll(int row, int code, int pos);
  void onWhiteBalance();
  // The image orientation model counts its gains in ones.
  bool unitGains() const;
  int gainStep() const { return unitGains() ? 1 : 4; }

  // Red, green, blue: edit values and bar positions.
  int32_t gainEdit_[3] = {};
  int32_t gainPos_[3] = {};
  int32_t saturationPos_ = 0;
  QString saturationText_;
  // The saturation as the camera's byte sees it (low 8 bits).
  uint8_t saturationByte_ = 0;
};
