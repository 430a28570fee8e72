// melko.h - the tab page of the image orientation model (Chinese interface).
#pragma once

#include <cstdint>

#include "abi/tyxcamera_ids.h"
#include "app/camera_page.h"

class QComboBox;
class ReqScrollBar;

// The Melko camera's own settings: save and open values with full- or
// half-screen display, X and Y shift, exposure lines, edge enhancement,
// orientation, aspect, colour mode and the on-screen text. Each time the
// page is shown it puts the camera back into the plain colour mode and full
// screen and rebuilds itself from the camera's values. Its texts are
// Chinese in every case.
class CMelko : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kSaveValueBar = 1241,
    kSaveValueEdit = 1242,
    kOpenValueBar = 1232,
    kOpenValueEdit = 1062,
    kFullScreenRadio = 1233,
    kHalfScreenRadio = 1234,
    kOrientationList = 1243,
    kColourModeList = 1244,
    kAspectList = 1240,
    kTextDisplayCheck = 1123,
    kGammaCheck = 1122,
    kShiftXBar = 1235,
    kShiftXEdit = 1063,
    kShiftYBar = 1116,
    kShiftYEdit = 1064,
    kExposureLinesBar = 1236,
    kExposureLinesEdit = 1238,
    kEdgeEnhanceBar = 1237,
    kEdgeEnhanceEdit = 1239,
  };

  CMelko(QWidget* parent, CTyxVistrelDlg* main);
  ~CMelko() override;

  void refresh() override;

 private:
  // One bar-and-edit pair: controls, member, writing id and the edit's
  // range check (checked false: the edit takes any whole number).
  struct Slider {
    int barId;
    int editId;
    int32_t CMelko::*member;
    tyxid::Param paramId;
    bool checked;
    int lo, hi;
  };

  void initialise();
  void pushMembers();
  // Reads every edit into its member with its check; a malformed or
  // out-of-range entry shows the platform's message and gives false.
  bool takeMembers();
  void onScroll(const Slider& slider, int code, int pos);
  void onEditChanged(const Slider& slider);
  void onOrientation();
  void onAspect();
  void onColourMode();
  ReqScrollBar* bar(int id) const;
  QComboBox* combo(int id) const;

  int32_t save_ = 0;
  int32_t open_ = 0;
  int32_t xShift_ = 0;
  int32_t yShift_ = 0;
  int32_t exposure_ = 0;
  int32_t edge_ = 0;
};
