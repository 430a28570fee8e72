// dlg_linear_mode.h - work mode, output format, test image and corrections of a line-scan camera.
#pragma once

#include <QString>
#include <array>

#include "app/camera_page.h"

// The first line-scan page. Each list choice is stored in the line-scan
// block and written to the camera at once; a work-mode change also brings
// Time1 and Time2 back into the range the new mode accepts.
class CDlgLinearMode : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kWorkModeList = 1175,
    kOutputFormatList = 1185,
    kTestImageList = 1025,
    kCorrectionStartList = 1026,
    kDataShiftList = 1027,
    kCorrectionLinesList = 1028,
  };

  CDlgLinearMode(QWidget* parent, CTyxVistrelDlg* main);

  void refresh() override;

  // The list positions shown, in the order work mode, output format, test
  // image, correction start, correction lines, data shift.
  const std::array<int32_t, 6>& positions() const { return positions_; }
  QString outputModeText() const { return outputText_; }
  QString testImageText() const { return testImageText_; }

 private:
  void onWorkMode(int position);
  void onSimpleChoice(int listId, int position);
  void copyFromBlock();

  std::array<int32_t, 6> positions_{};
  QString outputText_;
  QString testImageText_;
};
