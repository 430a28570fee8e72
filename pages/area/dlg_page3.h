// dlg_page3.h - the one-line control bar that stands in for the main window.
#pragma once

#include <QString>
#include <cstdint>

#include "app/camera_page.h"
#include "app/typed_number.h"

// A small window with a parameter list, one scroll bar, one number edit and
// a button back to the main window. Every change is written to the camera at
// once. Its rules are its own: values off a step are refused, not lowered,
// and the bar ranges are fixed per parameter.
class CDlgPage3 : public CompanionWindow {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kParamList = 1023,
    kValueBar = 1031,
    kValueEdit = 1032,
    kFullModeButton = 1034,
  };

  // The positions of the parameter list.
  enum Entry {
    Gain = 0,
    Black = 1,
    BeginLine = 2,
    EndLine = 3,
    Exposure = 4,
    RedGain = 5,
    GreenGain = 6,
    BlueGain = 7,
    Saturation = 8,
    EntryCount = 9
  };

  CDlgPage3(QWidget* owner, CTyxVistrelDlg* main);
  ~CDlgPage3() override;

  // Entries for the present camera, then the chosen value and its range.
  void refresh() override;

 protected:
  // Closing the bar any other way (caption button, Escape) also brings the
  // main window back, so the program never ends up with no window at all.
  void reject() override;

 private:
  void syncEntries();
  // Range, position and edit value of an entry; a selection also sets the
  // step.
  void showEntry(int entry, bool selecting);
  void pushMembers();
  void takeMembers();
  void onSelect(int index);
  TypedNumber::Verdict judgeEdit(const QString& text) const;
  void onEdit();
  void onScroll(int code, int pos);
  void onFullMode();
  // After a line change the exposure may no longer fit the frame.
  void setRange(int lo, int hi);
  int step() const { return step_ < 1 ? 1 : step_; }

  int32_t selected_ = 0;
  int32_t step_ = 0;
  int64_t editValue_ = 0;
  int32_t barPos_ = 0;
  QString listText_;
};
