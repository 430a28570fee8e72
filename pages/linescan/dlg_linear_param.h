// dlg_linear_param.h - area of interest, Time1/Time2 and gain level of a line-scan camera.
#pragma once

#include <QString>

#include "app/camera_page.h"
#include "abi/tyxcamera_ids.h"
#include "app/typed_number.h"

class ReqScrollBar;

// The second line-scan page. AOI start and length, Time1 and Time2 are each
// set with a scroll bar or typed into the edit box beside it; the times are
// kept valid by the rules of the camera type and work mode. The exposure in
// microseconds and the line frequency in kHz follow from the times.
class CDlgLinearParam : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kStartLabel = 1082,
    kStartBar = 1176,
    kStartEdit = 1177,
    kLengthLabel = 1192,
    kLengthBar = 1186,
    kLengthEdit = 1189,
    kTime1Label = 1193,
    kTime1Bar = 1187,
    kTime1Edit = 1190,
    kTime2Label = 1194,
    kTime2Bar = 1188,
    kTime2Edit = 1191,
    kGainLevelList = 1184,
    kExposureEdit = 1131,
    kLineRateEdit = 1062,
    kHiddenTimeEdit = 1097,
    kHiddenRateEdit = 1063,
  };

  CDlgLinearParam(QWidget* parent, CTyxVistrelDlg* main);

  void refresh() override;

  float exposureUs() const { return exposure_; }
  float lineFrequencyKHz() const { return lineFrequency_; }

 private:
  // Each number is held as shown in its edit box and as its bar's value.
  struct Pair {
    int32_t edit = 0;
    int32_t bar = 0;
  };

  void onAoiTyped(int editId);
  void onTime1Typed();
  void onTime2Typed();
  // The typing rule's question for the Time1 (kTime1Edit) or Time2 (kTime2Edit) edit.
  TypedNumber::Verdict judgeTime(int editId, const QString& text) const;
  // The other time of a pair that a correction had to lower: stored, shown
  // and written.
  void setTime1(int32_t value);
  void setTime2(int32_t value);
  // Writes a time through, or only keeps it in the record when the rules hold it back.
  void keepTime(tyxid::Param id, int32_t value, bool send);
  void onGainLevel(int position);
  void onScroll(int barId, int code, int pos);
  void scrollAoi(int barId, int code, int position);
  void scrollTime1(int code, int position);
  void scrollTime2(int code, int position);

  // Sets the bar's value and moves its thumb there.
  void setBar(int barId, Pair& pair, int32_t value);
  static void setBarValue(Pair& pair, int32_t value);
  void setRanges(int32_t type);
  void setInitialBars(int32_t type);
  void computeDerived();
  // Reads every edit box back; a text that is not a number leaves its value.
  void takeValues();
  bool editNumber(int editId, int32_t* value) const;
  // Writes the values into the controls. An edit box whose text changes
  // runs its own handler afterwards, as a typed change does, unless a
  // handler is already running (which then has the last word).
  void pushValues();
  void runEditHandler(int editId);
  void message(const char* text);
  int32_t aoiEndLimit() const;

  Pair start_{200, 200};
  Pair length_{1000, 1000};
  Pair time1_{100, 100};
  Pair time2_{200, 200};
  int32_t gainLevel_ = 0;
  float exposure_ = 0.0f;
  float lineFrequency_ = 0.0f;
  int32_t hiddenTime_ = 0;       // the sum or copy of the times (kHiddenTimeEdit)
  int32_t hiddenFrequency_ = 0;  // whole part of the line frequency (kHiddenRateEdit)
  QString labels_[4];            // texts of the four bar labels
};
