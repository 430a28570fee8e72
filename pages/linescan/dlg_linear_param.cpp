// dlg_linear_param.cpp - the line-scan parameter page: AOI, Time1/Time2, gain level.
#include "pages/linescan/dlg_linear_param.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/number_text.h"
#include "app/camera_library.h"
#include "app/camera_values.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"
#include "pages/linescan/linear_timing.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgLinearParam::CtlId;

using namespace linescan;

namespace {

// Templates 171 and 186 share their geometry; the Chinese group captions
// are the only difference.
const ControlSpec kControls[] = {
    {kStartLabel, Ctl::Label, "", nullptr, 10, 12, 105, 10},
    {kStartBar, Ctl::HScroll, nullptr, nullptr, 118, 11, 140, 11},
    {kStartEdit, Ctl::Edit, "", nullptr, 264, 10, 50, 13},
    {kLengthLabel, Ctl::Label, "", nullptr, 10, 32, 105, 10},
    {kLengthBar, Ctl::HScroll, nullptr, nullptr, 118, 31, 140, 11},
    {kLengthEdit, Ctl::Edit, "", nullptr, 264, 30, 50, 13},
    {kTime1Label, Ctl::Label, "", nullptr, 10, 52, 105, 10},
    {kTime1Bar, Ctl::HScroll, nullptr, nullptr, 118, 51, 140, 11},
    {kTime1Edit, Ctl::Edit, "", nullptr, 264, 50, 50, 13},
    {kTime2Label, Ctl::Label, "", nullptr, 10, 72, 105, 10},
    {kTime2Bar, Ctl::HScroll, nullptr, nullptr, 118, 71, 140, 11},
    {kTime2Edit, Ctl::Edit, "", nullptr, 264, 70, 50, 13},
    {0, Ctl::Group, "color gain level", "颜色增益等级", 10, 94, 96, 36},
    {kGainLevelList, Ctl::Combo, nullptr, nullptr, 18, 108, 80, 14},
    {0, Ctl::Group, "expose line(us)", "曝光时间(us)", 114, 94, 96, 36},
    {kExposureEdit, Ctl::EditReadOnly, "", nullptr, 122, 108, 80, 13},
    {0, Ctl::Group, "line frequency(KHz)", "行频(KHz)", 218, 94, 96, 36},
    {kLineRateEdit, Ctl::EditReadOnly, "", nullptr, 226, 108, 80, 13},
    {kHiddenTimeEdit, Ctl::EditReadOnly, "", nullptr, 10, 140, 40, 13},
    {kHiddenRateEdit, Ctl::EditReadOnly, "", nullptr, 60, 140, 40, 13},
};

constexpr int kEdits[4] = {kStartEdit, kLengthEdit, kTime1Edit, kTime2Edit};
constexpr int kBars[4] = {kStartBar, kLengthBar, kTime1Bar, kTime2Bar};

// Brings a value to the decimals it is shown with, by formatting and
// reading it back, so that what is kept is exactly what is shown.
float roundShown(float value, const char* format) {
  char text[64];
  std::snprintf(text, sizeof(text), format, static_cast<double>(value));
  return static_cast<float>(std::atof(text));
}

}  // namespace

CDlgLinearParam::CDlgLinearParam(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(330, 210);
  // The two hidden integers are kept for what reads them, not shown.
  controlWidget(kHiddenTimeEdit)->hide();
  controlWidget(kHiddenRateEdit)->hide();

  CameraState& s = cameraState();
  QComboBox* gain = control<QComboBox>(kGainLevelList);
  for (const char* item : {"1级", "2级", "3级", "4级"}) gain->addItem(QString::fromUtf8(item));
  setInitialBars(s.typeCode);
  gainLevel_ = s.linear.gainLevel;
  {
    Busy guard(busy_);
    gain->setCurrentIndex(gainLevel_ >= 0 && gainLevel_ < gain->count() ? gainLevel_ : -1);
    pushValues();
  }

  for (int id : {kStartEdit, kLengthEdit}) {
    TypedNumber::attach(
        control<QLineEdit>(id),
        [](const QString& t) { return TypedNumber::judge(t, numtext::intValue(t), 1, 2160); },
        [this, id] { runEditHandler(id); });
  }
  for (int id : {kTime1Edit, kTime2Edit}) {
    TypedNumber::attach(
        control<QLineEdit>(id), [this, id](const QString& t) { return judgeTime(id, t); },
        [this, id] { runEditHandler(id); });
  }
  connect(gain, &QComboBox::currentIndexChanged, this, [this](int position) {
    if (!busy_) onGainLevel(position);
  });
  for (int barId : kBars) {
    connect(control<ReqScrollBar>(barId), &ReqScrollBar::scrollRequest, this,
            [this, barId](int code, int pos) { onScroll(barId, code, pos); });
  }
}

void CDlgLinearParam::setInitialBars(int32_t type) {
  const bool small = type == kSmallType;
  const bool longTimes = type == kLongType;
  control<ReqScrollBar>(kStartBar)->setRange(1, small ? 1023 : 2047);
  control<ReqScrollBar>(kLengthBar)->setRange(1, small ? 1024 : 2048);
  control<ReqScrollBar>(kTime1Bar)->setRange(1, longTimes ? 65535 : 500);
  control<ReqScrollBar>(kTime2Bar)->setRange(longTimes ? 2118 : 1, longTimes ? 65535 : 500);
  setBar(kStartBar, start_, 200);
  setBar(kLengthBar, length_, 1000);
  setBar(kTime1Bar, time1_, longTimes ? 10000 : 100);
  setBar(kTime2Bar, time2_, longTimes ? 10000 : small ? 10 : 200);
}

void CDlgLinearParam::setBar(int barId, Pair& pair, int32_t value) {
  pair.bar = value;
  control<ReqScrollBar>(barId)->setValue(value);
}

void CDlgLinearParam::setBarValue(Pair& pair, int32_t value) {
  // A typed value becomes the base of the next scroll step; the thumb
  // itself moves only when the bar is scrolled.
  pair.bar = value;
}

int32_t CDlgLinearParam::aoiEndLimit() const { return cameraState().typeCode == kSmallType ? 1025 : 2049; }

void CDlgLinearParam::setRanges(int32_t type) {
  const bool small = type == kSmallType;
  const bool longTimes = type == kLongType;
  control<ReqScrollBar>(kStartBar)->setRange(0, small ? 1023 : 2047);
  control<ReqScrollBar>(kLengthBar)->setRange(0, small ? 1024 : 2048);
  control<ReqScrollBar>(kTime1Bar)->setRange(longTimes ? 1 : 0, longTimes ? 65535 : 500);
  control<ReqScrollBar>(kTime2Bar)->setRange(longTimes ? 2118 : 0, longTimes ? 65535 : 500);
  // The camera's own labels; the page sets the same texts in either
  // interface language.
  labels_[0] = QString::fromUtf8(small ? "AOI起始像素(1-1023)：" : "AOI起始像素(1-2047)：");
  labels_[1] = QString::fromUtf8(small ? "AOI像素长度(1-1024)：" : "AOI像素长度(1-2048)：");
  labels_[2] = QString::fromUtf8(longTimes ? "Time1(1-65535)：" : "Time1(1-500)：");
  labels_[3] = QString::fromUtf8(longTimes ? "Time2(2118-65535)：" : "Time2(1-500)：");
}

bool CDlgLinearParam::editNumber(int editId, int32_t* value) const {
  const auto v = numtext::intValue(control<QLineEdit>(editId)->text());
  if (v) *value = static_cast<int32_t>(*v);
  return v.has_value();
}

void CDlgLinearParam::takeValues() {
  editNumber(kStartEdit, &start_.edit);
  editNumber(kLengthEdit, &length_.edit);
  editNumber(kTime1Edit, &time1_.edit);
  editNumber(kTime2Edit, &time2_.edit);
}

void CDlgLinearParam::pushValues() {
  const bool wasBusy = busy_;
  std::vector<int> changed;
  {
    Busy guard(busy_);
    auto setText = [this, &changed](int id, const QString& text) {
      QLineEdit* edit = control<QLineEdit>(id);
      if (edit->text() == text) return;
      edit->setText(text);
      changed.push_back(id);
    };
    setText(kStartEdit, QString::number(start_.edit));
    setText(kLengthEdit, QString::number(length_.edit));
    setText(kTime1Edit, QString::number(time1_.edit));
    setText(kTime2Edit, QString::number(time2_.edit));
    setText(kHiddenTimeEdit, QString::number(hiddenTime_));
    setText(kHiddenRateEdit, QString::number(hiddenFrequency_));
    setText(kExposureEdit, QString::asprintf("%.3f", static_cast<double>(exposure_)));
    setText(kLineRateEdit, QString::asprintf("%.1f", static_cast<double>(lineFrequency_)));
    const int labelIds[4] = {kStartLabel, kLengthLabel, kTime1Label, kTime2Label};
    for (int i = 0; i < 4; ++i) control<QLabel>(labelIds[i])->setText(labels_[i]);
  }
  if (wasBusy) return;
  for (int id : changed) runEditHandler(id);
}

void CDlgLinearParam::runEditHandler(int editId) {
  if (busy_) return;
  switch (editId) {
    case kStartEdit:
    case kLengthEdit: onAoiTyped(editId); break;
    case kTime1Edit: onTime1Typed(); break;
    case kTime2Edit: onTime2Typed(); break;
    default: break;
  }
}

void CDlgLinearParam::message(const char* text) {
  Desktop::get().message(this, QString::fromUtf8(text), "Vistrel");
}

void CDlgLinearParam::onAoiTyped(int editId) {
  Busy guard(busy_);
  const bool isStart = editId == kStartEdit;
  int32_t value = 0;
  if (!editNumber(editId, &value)) return;
  takeValues();
  if (value < 1 || value > 2160) return;
  Pair& pair = isStart ? start_ : length_;
  pair.edit = value;
  setBarValue(pair, value);
  camval::write(isStart ? tyxid::kAoiStart : tyxid::kAoiLength, value);
  pushValues();
}

void CDlgLinearParam::onTime1Typed() {
  Busy guard(busy_);
  int32_t typed = 0;
  if (!editNumber(kTime1Edit, &typed)) return;
  takeValues();
  CameraState& s = cameraState();
  const TimeCheck c = checkTime1(s.typeCode, s.linear.workMode, typed, time2_.edit, false);
  if (c.message != nullptr) message(c.message);
  if (c.setOther) setTime2(c.other);
  time1_.edit = c.value;
  setBarValue(time1_, c.value);
  keepTime(tyxid::kTime1, c.value, c.write);
  computeDerived();
  pushValues();
}

void CDlgLinearParam::onTime2Typed() {
  Busy guard(busy_);
  int32_t typed = 0;
  if (!editNumber(kTime2Edit, &typed)) return;
  takeValues();
  CameraState& s = cameraState();
  const TimeCheck c = checkTime2(s.typeCode, s.linear.workMode, time1_.edit, typed, false);
  if (c.message != nullptr) message(c.message);
  if (c.setOther) setTime1(c.other);
  if (c.setTime1) setTime1(c.value);
  time2_.edit = c.value;
  setBarValue(time2_, c.value);
  keepTime(tyxid::kTime2, c.value, c.write);
  computeDerived();
  pushValues();
}

void CDlgLinearParam::setTime1(int32_t value) {
  time1_.edit = value;
  setBarValue(time1_, value);
  camval::write(tyxid::kTime1, value);
}

void CDlgLinearParam::setTime2(int32_t value) {
  time2_.edit = value;
  setBarValue(time2_, value);
  camval::write(tyxid::kTime2, value);
}

void CDlgLinearParam::keepTime(tyxid::Param id, int32_t value, bool send) {
  if (send) {
    camval::write(id, value);
    return;
  }
  // A time the rules hold back is still what the page shows, so the record
  // keeps it; only the camera does not hear of it.
  CameraState& s = cameraState();
  camval::store(camval::of(id), s, value);
  s.repaintInfo();
}

TypedNumber::Verdict CDlgLinearParam::judgeTime(int editId, const QString& text) const {
  const CameraState& s = cameraState();
  const int32_t type = s.typeCode;
  const int32_t w = s.linear.workMode;
  const bool isTime1 = editId == kTime1Edit;
  const auto check = [&](int64_t v) {
    return isTime1 ? checkTime1(type, w, v, time2_.edit, false) : checkTime2(type, w, time1_.edit, v, false);
  };
  // Taking a time is quiet when the rules keep it as it is: no message, no
  // correction, no change to the other time.
  const auto quiet = [&](int64_t v) {
    const TimeCheck c = check(v);
    return c.message == nullptr && c.value == v && !c.setTime1 && !c.setOther;
  };
  const auto number = numtext::intValue(text);
  const bool ok = number.has_value();
  const int typed = static_cast<int>(number.value_or(0));
  if (ok && text == QString::number(typed) && quiet(typed)) return TypedNumber::Take;
  if (TypedNumber::leadsTo(text, 0, 65535, quiet)) return TypedNumber::Wait;
  // Nothing more can make it a time the camera takes as it is: the rules
  // correct it, which replaces the text, so the user confirms it first.
  if (ok && !quiet(typed)) return TypedNumber::Wait;
  return TypedNumber::Take;
}

void CDlgLinearParam::onGainLevel(int position) {
  if (position < 0) return;
  {
    WaitCursor wait;
    gainLevel_ = position;
    camval::write(tyxid::kGainLevel, position);
    pushValues();
  }
  repaint();
}

void CDlgLinearParam::onScroll(int barId, int code, int pos) {
  if (busy_) return;
  ReqScrollBar* bar = control<ReqScrollBar>(barId);
  const Pair& pair = barId == kStartBar    ? start_
                     : barId == kLengthBar ? length_
                     : barId == kTime1Bar  ? time1_
                                           : time2_;
  // The page's own bar value is where the thumb was last put; it is the
  // base of line and page steps and what the end of scrolling keeps.
  const int position =
      ReqScrollBar::standardPosition(code, pos, pair.bar, bar->minimum(), bar->maximum(), 1, 2);
  if (barId == kStartBar || barId == kLengthBar) {
    scrollAoi(barId, code, position);
  } else if (barId == kTime1Bar) {
    scrollTime1(code, position);
  } else {
    scrollTime2(code, position);
  }
  pushValues();
  cameraState().repaintInfo();
  repaint();
}

void CDlgLinearParam::scrollAoi(int barId, int code, int position) {
  CameraState& s = cameraState();
  const bool isStart = barId == kStartBar;
  const int32_t other = isStart ? length_.edit : start_.edit;
  const int32_t limit = aoiEndLimit();
  // The area may not end past the sensor. A length typed longer than the
  // sensor would push the start below the bar's first pixel; the start
  // (or length) then stays at the bar's minimum instead of going negative.
  if (position + other > limit) position = std::max(limit - other, control<ReqScrollBar>(barId)->minimum());
  Pair& pair = isStart ? start_ : length_;
  pair.edit = position;
  setBar(barId, pair, position);
  const tyxid::Param id = isStart ? tyxid::kAoiStart : tyxid::kAoiLength;
  // While the thumb moves the record follows it; the camera hears the
  // value once, when scrolling ends.
  if (code == SbEndScroll)
    camval::write(id, position);
  else
    camval::store(camval::of(id), s, position);
}

void CDlgLinearParam::scrollTime1(int code, int position) {
  CameraState& s = cameraState();
  s.linear.time1 = position;
  setBar(kTime1Bar, time1_, position);
  takeValues();
  if (code != SbEndScroll) return;
  const TimeCheck c = checkTime1(s.typeCode, s.linear.workMode, time1_.edit, time2_.edit, true);
  if (c.message != nullptr) message(c.message);
  if (!c.write) {
    time1_.edit = c.value;
    s.linear.time1 = c.value;
    return;
  }
  if (c.setOther) setTime2(c.other);
  const int32_t value = c.value != time1_.edit ? c.value : position;
  camval::write(tyxid::kTime1, value);
}

void CDlgLinearParam::scrollTime2(int code, int position) {
  CameraState& s = cameraState();
  s.linear.time2 = position;
  setBar(kTime2Bar, time2_, position);
  takeValues();
  if (code != SbEndScroll) return;
  const int32_t w = s.linear.workMode;
  if (s.typeCode == kLongType && w == 1) {
    time1_.edit = position;
    camval::write(tyxid::kTime1, position);
  }
  const TimeCheck c = checkTime2(s.typeCode, w, time1_.edit, time2_.edit, true);
  if (c.message != nullptr) message(c.message);
  if (!c.write) {
    time2_.edit = c.value;
    s.linear.time2 = c.value;
    setBar(kTime2Bar, time2_, c.value);
    return;
  }
  if (c.setOther) setTime1(c.other);
  if (c.setTime1) {
    time1_.edit = c.value;
    camval::write(tyxid::kTime1, c.value);
  }
  // Externally synchronised, the colour and the small camera run with a
  // fixed Time2: that value is written, never the bar's.
  const bool fixedTime2 = (s.typeCode == kColourType || s.typeCode == kSmallType) && w >= 2;
  const int32_t value = fixedTime2 || c.value != time2_.edit ? c.value : position;
  camval::write(tyxid::kTime2, value);
  // The camera takes a while to settle a new line period and may adjust
  // Time1 with it; the block is read again afterwards.
  Desktop::get().sleepMs(1000);
  if (s.readLinearParams() != 1) s.showCameraError();
}

void CDlgLinearParam::computeDerived() {
  const int32_t type = cameraState().typeCode;
  const int32_t w = cameraState().linear.workMode;
  const int32_t t1 = time1_.edit;
  const int32_t t2 = time2_.edit;
  exposure_ = 0.0f;
  lineFrequency_ = 0.0f;
  hiddenTime_ = 0;
  if (w == 0 || w == 1 || w == 2) {
    // The sum of two times the camera reported saturates rather than overflows.
    hiddenTime_ =
        w == 1 ? static_cast<int32_t>(std::clamp<int64_t>(int64_t{t1} + t2, INT32_MIN, INT32_MAX)) : t1;
    if (type == kLongType) {
      exposure_ = static_cast<float>(t1) * 0.025f;
      // No line period, no frequency (rather than a division by zero).
      if (w != 2 && t2 > 0) lineFrequency_ = 40000.0f / static_cast<float>(t2);
    }
  }
  exposure_ = roundShown(exposure_, "%6.3f");
  lineFrequency_ = roundShown(lineFrequency_, "%6.1f");
  hiddenFrequency_ = static_cast<int32_t>(lineFrequency_);
}

void CDlgLinearParam::refresh() {
  CameraState& s = cameraState();
  const int32_t type = s.typeCode;
  LinearParams& b = s.linear;
  {
    Busy guard(busy_);
    setRanges(type);
    const int32_t w = b.workMode;
    if (w == 2) {
      b.time2 = type == kLongType ? 10000 : type == kColourType ? 106 : type == kSmallType ? 26 : b.time2;
    } else if (w == 3 || w == 4) {
      if (type == kLongType) {
        b.time1 = 10000;
        b.time2 = 10000;
      } else if (type == kColourType) {
        b.time1 = 2;
        b.time2 = 106;
      } else if (type == kSmallType) {
        b.time1 = 1;
        b.time2 = 26;
      }
    }
    time1_.edit = b.time1;
    time2_.edit = b.time2;
    start_.edit = b.aoiStart;
    length_.edit = b.aoiLength;
    gainLevel_ = b.gainLevel;
    QComboBox* gain = control<QComboBox>(kGainLevelList);
    gain->setCurrentIndex(gainLevel_ >= 0 && gainLevel_ < gain->count() ? gainLevel_ : -1);
    computeDerived();
  }
  pushValues();
  if (type == kSmallType) {
    // This camera's bars always rest at the same places after a repaint;
    // the edit boxes carry the values.
    control<ReqScrollBar>(kStartBar)->setValue(200);
    control<ReqScrollBar>(kLengthBar)->setValue(1000);
    control<ReqScrollBar>(kTime1Bar)->setValue(10);
    control<ReqScrollBar>(kTime2Bar)->setValue(10);
  }
}
