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
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kRedGainLabel = 1082,
    kRedGainBar = 1173,
    kRedGainEdit = 1174,
    kGreenGainLabel = 1192,
    kGreenGainBar = 1175,
    kGreenGainEdit = 1176,
    kBlueGainLabel = 1193,
    kBlueGainBar = 1177,
    kBlueGainEdit = 1178,
    kRedOffsetLabel = 1194,
    kRedOffsetBar = 1179,
    kRedOffsetEdit = 1180,
    kGreenOffsetLabel = 1195,
    kGreenOffsetBar = 1181,
    kGreenOffsetEdit = 1182,
    kBlueOffsetLabel = 1196,
    kBlueOffsetBar = 1183,
    kBlueOffsetEdit = 1184,
    kGainLabel = 1197,
    kGainBar = 1185,
    kGainEdit = 1186,
    kOffsetLabel = 1198,
    kOffsetBar = 1187,
    kOffsetEdit = 1188,
  };

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
