// dlg_linear_color.h - channel gains and offsets, or overall gain and offset, of a line-scan camera.
#pragma once

#include <array>

#include "app/camera_page.h"

// The third line-scan page. The colour camera gets a gain and an offset per
// channel; the others one overall gain and offset. Every value, 0 to 1023,
// is set with a scroll bar or typed, and written to the camera at once.
class CDlgLinearColor : public CameraPage {
  Q_OBJECT
 public:
  CDlgLinearColor(QWidget* parent, CTyxVistrelDlg* main);

  void refresh() override;

  static constexpr int kValues = 8;

 private:
  void onTyped(int index);
  void onScroll(int index, int code, int pos);
  void takeValues();
  // Writes the values into the edit boxes; a visible edit box whose text
  // changes then acts as a typed change does, unless a handler is running.
  void pushValues();

  // For each value, as shown in its edit box and as its bar's value.
  std::array<int32_t, kValues> edit_{};
  std::array<int32_t, kValues> bar_{};
};
