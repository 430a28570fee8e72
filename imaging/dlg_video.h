// dlg_video.h - the video state tab (mirror, flip, negative image, recursion).
#pragma once

#include <cstdint>

#include "app/camera_page.h"

// Three image switches and a recursion parameter of 0 to 15. Which of them a
// camera offers depends on its type and version, or on the function tags it
// reports; the page asks again each time it is shown.
class CDlgVideo : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kHorizontalInverseCheck = 1125,
    kVerticalInverseCheck = 1126,
    kNegativeImageCheck = 1127,
    kRecursionList = 1128,
  };

  CDlgVideo(QWidget* parent, CTyxVistrelDlg* main);
  ~CDlgVideo() override;

  // Copies the four fields from CameraParams, decides what is enabled and
  // shows the members.
  void refresh() override;

 private:
  // One switch: its check box, page member, parameter id and record field.
  struct Switch {
    int checkId;
    int32_t CDlgVideo::*member;
    int32_t paramId;
    int32_t CameraParams::*field;
  };

  void pushMembers();
  void onSwitch(const Switch& sw);
  void onRecursion(int index);

  int32_t horizontalInverse_ = 0;
  int32_t verticalInverse_ = 0;
  int32_t negativeImage_ = 0;
  int32_t recursionIndex_ = 0;
};
