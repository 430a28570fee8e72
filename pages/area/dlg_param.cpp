// dlg_param.cpp - the parameter tab of area-scan cameras: gain, black, brightness, partial window, rate,
// exposure.
#include "pages/area/dlg_param.h"

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "app/camera_library.h"
#include "app/camera_values.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"
#include "app/number_text.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgParam::CtlId;

namespace {

// Chinese labels in both languages, except the step label, which the
// refresh writes. The bars leave 12 pixels above them for the scale labels.
constexpr ControlSpec kControls[] = {
    {kGainLabel, Ctl::Label, "增益", nullptr, 2, 10, 38, 9},
    {kGainBar, Ctl::HScroll, nullptr, nullptr, 41, 10, 110, 9},
    {kGainEdit, Ctl::Edit, "", nullptr, 154, 8, 30, 12},
    {kBlackLabel, Ctl::Label, "黑电平", nullptr, 2, 30, 38, 9},
    {kBlackBar, Ctl::HScroll, nullptr, nullptr, 41, 30, 110, 9},
    {kBlackEdit, Ctl::Edit, "", nullptr, 154, 28, 30, 12},
    {kBrightnessLabel, Ctl::Label, "亮度", nullptr, 2, 50, 38, 9},
    {kBrightnessBar, Ctl::HScroll, nullptr, nullptr, 41, 50, 110, 9},
    {kBrightnessEdit, Ctl::Edit, "", nullptr, 154, 48, 30, 12},
    {kBeginLineLabel, Ctl::Label, "局部起始行", nullptr, 2, 70, 38, 9},
    {kBeginLineBar, Ctl::HScroll, nullptr, nullptr, 41, 70, 110, 9},
    {kBeginLineEdit, Ctl::Edit, "", nullptr, 154, 68, 30, 12},
    {kEndLineLabel, Ctl::Label, "局部结束行", nullptr, 2, 90, 38, 9},
    {kEndLineBar, Ctl::HScroll, nullptr, nullptr, 41, 90, 110, 9},
    {kEndLineEdit, Ctl::Edit, "", nullptr, 154, 88, 30, 12},
    {kStepLabel, Ctl::Label, "Static", nullptr, 2, 100, 60, 9},
    {kRateLabel, Ctl::Label, "帧频", nullptr, 190, 4, 22, 9},
    {kRateList, Ctl::Combo, nullptr, nullptr, 214, 2, 64, 12},
    {0, Ctl::Group, "曝光时间(微秒)", nullptr, 188, 18, 91, 90},
    {kCoarseRadio, Ctl::RadioFirst, "粗调", nullptr, 194, 30, 40, 10},
    {kFineRadio, Ctl::Radio, "细调", nullptr, 236, 30, 40, 10},
    {kShortExposureRadio, Ctl::Radio, "短曝光", nullptr, 194, 43, 50, 10},
    {kCoarseList, Ctl::Combo, nullptr, nullptr, 194, 58, 78, 12},
    {kExposureEdit, Ctl::Edit, "", nullptr, 194, 76, 44, 12},
    {kApplyExposureButton, Ctl::Button, "修改", nullptr, 242, 76, 30, 12},
};

// Bar, edit, label and parameter id of each row, in RowIndex order.
struct RowIds {
  int bar, edit, label, id;
};
constexpr RowIds kRowIds[] = {
    {kGainBar, kGainEdit, kGainLabel, tyxid::kGain},
    {kBlackBar, kBlackEdit, kBlackLabel, tyxid::kBlack},
    {kBrightnessBar, kBrightnessEdit, kBrightnessLabel, tyxid::kBrightness},
    {kBeginLineBar, kBeginLineEdit, kBeginLineLabel, tyxid::kBeginLine},
    {kEndLineBar, kEndLineEdit, kEndLineLabel, tyxid::kEndLine},
};

// Upper limits of the coarse positions: each is the shorter standard time
// plus 30 % of the gap to the next one; at or above the last, position 17.
constexpr int32_t kCoarseLimits[CDlgParam::kStandardCount - 1] = {
    13,    44,    130,   440,   1300,   4400,    12000,   17667,  24000,
    35333, 43000, 55000, 76667, 370000, 1300000, 2900000, 6500000};

// A library that never ends its rate list must not hang the page.
constexpr int kMaxRates = 256;

}  // namespace

const int32_t CDlgParam::kStandardTimes[kStandardCount] = {
    10,    20,    100,   200,   1000,   2000,    10000,   16667,   20000,
    33333, 40000, 50000, 66667, 100000, 1000000, 2000000, 5000000, 10000000};

int CDlgParam::coarsePositionOfTime(int32_t microseconds) {
  for (int i = 0; i < kStandardCount - 1; ++i)
    if (microseconds < kCoarseLimits[i]) return i;
  return kStandardCount - 1;
}

CDlgParam::CDlgParam(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(281, 110);
  exposureGroup_ = findChild<QGroupBox*>();
  Busy guard(busy_);
  for (int row = 0; row < RowCount; ++row) {
    connect(control<ReqScrollBar>(kRowIds[row].bar), &ReqScrollBar::scrollRequest, this,
            [this, row](int code, int pos) { onScroll(row, code, pos); });
    TypedNumber::attach(
        control<QLineEdit>(kRowIds[row].edit), [this, row](const QString& t) { return judgeValue(row, t); },
        [this, row] { onValueEdit(row); });
  }
  for (int id : {kBrightnessLabel, kBrightnessBar, kBrightnessEdit}) controlWidget(id)->hide();
  auto* coarse = control<QComboBox>(kCoarseList);
  for (int32_t t : kStandardTimes) coarse->addItem(QString::number(t));
  connect(coarse, &QComboBox::activated, this, [this](int index) { onCoarseChosen(index); });
  connect(control<QComboBox>(kRateList), &QComboBox::activated, this,
          [this](int index) { onRateChosen(index); });
  connect(control<QRadioButton>(kCoarseRadio), &QRadioButton::clicked, this,
          [this] { onExposureRadio(Coarse); });
  connect(control<QRadioButton>(kFineRadio), &QRadioButton::clicked, this, [this] { onExposureRadio(Fine); });
  connect(control<QRadioButton>(kShortExposureRadio), &QRadioButton::clicked, this,
          [this] { onExposureRadio(Short); });
  connect(control<QPushButton>(kApplyExposureButton), &QPushButton::clicked, this, [this] { onApplyTime(); });

  const CameraState& s = cameraState();
  lineStep_ = s.lineStep;
  setGeometryRanges();
  for (int id : {kGainBar, kBlackBar, kBrightnessBar, kEndLineBar})
    control<ReqScrollBar>(id)->setSingleStep(1);
  ratePos_ = s.params.rate;
  timeEdit_ = CameraLibrary::instance().calExposeTime(s.handle, s.params.exposalTime);
  pushMembers();
}

CDlgParam::~CDlgParam() = default;

void CDlgParam::setGeometryRanges() {
  const CameraState& s = cameraState();
  control<ReqScrollBar>(kGainBar)->setRange(0, 1023);
  control<ReqScrollBar>(kBlackBar)->setRange(0, 255);
  control<ReqScrollBar>(kBrightnessBar)->setRange(0, 1023);
  control<ReqScrollBar>(kBeginLineBar)->setRange(step(), s.lineCount - step());
  control<ReqScrollBar>(kEndLineBar)->setRange(step(), s.lineCount - 1);
  control<ReqScrollBar>(kBeginLineBar)->setSingleStep(step());
  control<ReqScrollBar>(kBeginLineBar)->setPageStep(3 * step());
  for (int id : {kGainBar, kBlackBar, kBrightnessBar, kEndLineBar})
    control<ReqScrollBar>(id)->setPageStep(40);
}

void CDlgParam::inserted() {
  Busy guard(busy_);
  lineStep_ = cameraState().lineStep;
  setGeometryRanges();
}

void CDlgParam::refresh() {
  // Rebuilding the display writes nothing: setting the edits fires their
  // change signals, which the guard turns away.
  Busy guard(busy_);
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const CameraParams& p = s.params;

  int32_t lo = 0, hi = 0;
  lib.calExposeRange(s.handle, &lo, &hi);

  // The begin line stays a whole number of steps below the end line.
  const int st = step();
  const int32_t endLine = p.endLine;
  control<ReqScrollBar>(kBeginLineBar)->setRange(st, endLine - ((endLine - 1) % st) - 1);
  control<ReqScrollBar>(kEndLineBar)->setRange(p.beginLine + 1, s.lineCount - 1);

  edit_[Begin] = pos_[Begin] = p.beginLine;
  edit_[Black] = pos_[Black] = p.black;
  edit_[End] = pos_[End] = p.endLine;
  edit_[Gain] = pos_[Gain] = p.gain;
  edit_[Brightness] = pos_[Brightness] = p.brightness;

  // A brightness bar without its label and edit would leave the user
  // guessing what it sets, so the whole row comes and goes together.
  const bool brightness = s.brightnessRowTag == 2;
  if (!brightness) edit_[Brightness] = pos_[Brightness] = 0;
  for (int id : {kBrightnessBar, kBrightnessLabel, kBrightnessEdit}) {
    controlWidget(id)->setVisible(brightness);
    controlWidget(id)->setEnabled(brightness);
  }

  const bool partial = lib.functionTag(s.handle, tyxid::kTagPartialFrame) != 0;
  for (int id :
       {kBeginLineBar, kEndLineBar, kBeginLineEdit, kEndLineEdit, kBeginLineLabel, kEndLineLabel, kStepLabel})
    controlWidget(id)->setVisible(partial);

  // The image orientation model sets its exposure and rate on its own page;
  // another camera opened later gets them back.
  const bool timing = s.typeCode != model::kMelko;
  if (exposureGroup_ != nullptr) exposureGroup_->setVisible(timing);
  for (int id : {kCoarseRadio, kFineRadio, kShortExposureRadio, kCoarseList, kApplyExposureButton,
                 kExposureEdit, kRateLabel, kRateList})
    controlWidget(id)->setVisible(timing);

  fillRateList();
  pushMembers();

  const bool coarse = exposureMode_ == Coarse;
  controlWidget(kCoarseList)->setEnabled(coarse);
  controlWidget(kExposureEdit)->setEnabled(!coarse);
  controlWidget(kApplyExposureButton)->setEnabled(!coarse);
  const bool shortExposure = types::hasShortExposure(s.typeCode, s.versionCode);
  controlWidget(kShortExposureRadio)->setEnabled(shortExposure);
  controlWidget(kFineRadio)->setEnabled(!shortExposure);

  showExposure(hi);

  control<QLabel>(kRateLabel)
      ->setText(QString::fromUtf8(s.typeCode == model::kFieldCamera ? "场频" : "帧频"));
  control<QLabel>(kStepLabel)->setText(s.text("Step:%1", "步长:%1").arg(s.lineStep));
  update();
}

void CDlgParam::fillRateList() {
  CameraState& s = cameraState();
  auto* combo = control<QComboBox>(kRateList);
  combo->clear();
  for (int i = 0; i < kMaxRates; ++i) {
    const double rate = CameraLibrary::instance().calFrameRate(s.handle, i);
    const int r = wholeRate(rate);
    if (r == 0) break;
    // The library's placeholder, -2: no entry, but the next index follows.
    // Rounding it up by half a unit truncates -2.0 to -1, which would show
    // as a rate of "-1", so the placeholder is also known by its own value.
    if (r == -2 || std::lround(rate) == -2) continue;
    combo->addItem(QString::number(r));
  }
  const int count = combo->count();
  if (count >= 2)
    ratePos_ = s.params.rate >= 0 && s.params.rate < count ? s.params.rate : -1;
  else
    ratePos_ = count == 1 ? 0 : -1;
}

int CDlgParam::coarsePositionForRecord(int32_t rangeMax) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const int32_t e = s.params.exposalTime;
  if (e != 0) {
    lastTime_ = lib.calExposeTime(s.handle, e);
    return coarsePositionOfTime(lastTime_);
  }
  // No exposure yet: the shortest standard time that the camera can take.
  int best = -1;
  int32_t bestLines = 0;
  for (int k = 0; k < kStandardCount; ++k) {
    const int32_t l = lib.calExposeLine(s.handle, kStandardTimes[k]);
    if (l <= 0 || l > rangeMax) continue;
    if (best < 0 || l <= bestLines) {
      best = k;
      bestLines = l;
    }
  }
  return best;
}

void CDlgParam::showExposure(int32_t rangeMax) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const int position = coarsePositionForRecord(rangeMax);
  if (s.defaultsRestored != 0) {
    // Factory settings: back to the list, showing where the camera stands.
    s.defaultsRestored = 0;
    exposureMode_ = Coarse;
    controlWidget(kCoarseList)->setEnabled(true);
    controlWidget(kExposureEdit)->setEnabled(false);
    controlWidget(kApplyExposureButton)->setEnabled(false);
    coarsePos_ = position;
    timeEdit_ = lastTime_;
    pushMembers();
  } else if (exposureMode_ == Coarse) {
    coarsePos_ = position;
    control<QComboBox>(kCoarseList)->setCurrentIndex(position);
  } else if (exposureMode_ == Fine) {
    timeEdit_ = lib.calExposeTime(s.handle, s.params.exposalTime);
    pushMembers();
  } else {
    timeEdit_ = lib.calExposeShortTime(s.handle, s.params.saturation) +
                lib.calExposeTime(s.handle, s.params.exposalTime);
    pushMembers();
  }
  control<QRadioButton>(exposureMode_ == Coarse ? kCoarseRadio
                        : exposureMode_ == Fine ? kFineRadio
                                                : kShortExposureRadio)
      ->setChecked(true);
}

void CDlgParam::pushMembers() {
  Busy guard(busy_);
  for (int row = 0; row < RowCount; ++row) {
    control<ReqScrollBar>(kRowIds[row].bar)->setValue(pos_[row]);
    numtext::show(control<QLineEdit>(kRowIds[row].edit), edit_[row]);
  }
  auto* rate = control<QComboBox>(kRateList);
  rate->setCurrentIndex(ratePos_ < rate->count() ? ratePos_ : -1);
  control<QComboBox>(kCoarseList)->setCurrentIndex(coarsePos_);
  numtext::show(control<QLineEdit>(kExposureEdit), timeEdit_);
}

void CDlgParam::takeMembers() {
  for (int row = 0; row < RowCount; ++row) {
    pos_[row] = control<ReqScrollBar>(kRowIds[row].bar)->value();
    if (auto x = numtext::unsignedValue32(control<QLineEdit>(kRowIds[row].edit)->text())) edit_[row] = *x;
  }
  ratePos_ = control<QComboBox>(kRateList)->currentIndex();
  coarsePos_ = control<QComboBox>(kCoarseList)->currentIndex();
  if (auto x = numtext::unsignedValue32(control<QLineEdit>(kExposureEdit)->text())) timeEdit_ = *x;
}

camval::WriteOptions CDlgParam::lineWriteOptions() {
  // A shorter window can lower the exposure; the page keeps the time it then
  // shows, converted before the camera is written.
  camval::WriteOptions options;
  options.onExposureClamped = [this](int32_t hi) {
    lastTime_ = CameraLibrary::instance().calExposeTime(cameraState().handle, hi);
  };
  return options;
}

TypedNumber::Verdict CDlgParam::judgeValue(int row, const QString& text) const {
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  const auto value = TypedNumber::value(numtext::unsignedValue(text));
  switch (row) {
    case Gain:
    case Brightness: return TypedNumber::judge(text, value, 0, 1023);
    case Black: return TypedNumber::judge(text, value, 0, 255);
    case Begin:
    case End: {
      // Outside part frame mode no line is taken, whatever is typed.
      if (p.frameMode != 2) return TypedNumber::Take;
      // A shorter frame can lower the exposure (another value), and a first
      // line off the step is shown lowered to it: both wait for the user.
      if (row == Begin) {
        const bool quiet = value && *value % step() == 0 && *value <= p.beginLine;
        return TypedNumber::judge(text, value, step(), p.endLine - 1, quiet);
      }
      return TypedNumber::judge(text, value, p.beginLine + 1, s.lineCount - 1, value && *value >= p.endLine);
    }
    default: return TypedNumber::Take;
  }
}

void CDlgParam::onValueEdit(int row) {
  if (busy_) return;
  CameraState& s = cameraState();
  const CameraParams& p = s.params;
  {
    Busy guard(busy_);
    takeMembers();
    const auto typed = numtext::unsignedValue(control<QLineEdit>(kRowIds[row].edit)->text());
    if (!typed) return;
    const int64_t x0 = static_cast<int64_t>(*typed);
    int32_t x = 0;
    switch (row) {
      case Gain:
      case Brightness:
        if (x0 > 1023) return;
        x = static_cast<int32_t>(x0);
        break;
      case Black:
        if (x0 > 255) return;
        x = static_cast<int32_t>(x0);
        break;
      case Begin:
        // This page lowers a first line off the step to it (the control bar
        // refuses it); the begin line's description has both rows.
        if (x0 > p.endLine - 1 || x0 < step() || p.frameMode != 2) return;
        x = static_cast<int32_t>(x0 - x0 % step());
        break;
      case End:
        if (x0 < static_cast<int64_t>(p.beginLine) + 1 || x0 > s.lineCount - 1 || p.frameMode != 2) return;
        x = static_cast<int32_t>(x0);
        break;
      default: return;
    }
    camval::write(camval::of(kRowIds[row].id), x, lineWriteOptions());
    edit_[row] = pos_[row] = x;
    pushMembers();
  }
  if (row == Begin || row == End) repaint();
}

void CDlgParam::onScroll(int row, int code, int pos) {
  if (busy_) return;
  CameraState& s = cameraState();
  const CameraParams& p = s.params;
  {
    Busy guard(busy_);
    auto* bar = control<ReqScrollBar>(kRowIds[row].bar);
    const camval::Descriptor& value = camval::of(kRowIds[row].id);
    const int st = row == Begin ? step() : 1;
    const int v = ReqScrollBar::standardPosition(code, pos, bar->value(), bar->minimum(), bar->maximum(), st,
                                                 camval::rule(value, camval::Window::ParamPage).bar);
    switch (row) {
      case End:
        if (v < p.beginLine + 1) return;
        break;
      case Begin:
        // The window starts on whole line steps only.
        if (v % st != 0 || v > p.endLine - 1 || v < st) return;
        break;
      default: break;
    }
    camval::write(value, v, lineWriteOptions());
    edit_[row] = pos_[row] = v;
    pushMembers();
  }
  repaint();
}

void CDlgParam::onRateChosen(int position) {
  if (busy_ || position < 0) return;
  {
    Busy guard(busy_);
    WaitCursor wait;
    // In PAL/NTSC mode some cameras number their two rates themselves; the
    // rate's description sends their number.
    camval::write(camval::of(tyxid::kRate), position);
  }
  repaint();
}

void CDlgParam::onExposureRadio(int mode) {
  if (busy_) return;
  {
    Busy guard(busy_);
    exposureMode_ = mode;
    if (mode != Coarse) {
      const CameraState& s = cameraState();
      timeEdit_ = CameraLibrary::instance().calExposeTime(s.handle, s.params.exposalTime);
      pushMembers();
    }
  }
  repaint();
}

void CDlgParam::onCoarseChosen(int position) {
  if (busy_ || position < 0 || position >= kStandardCount) return;
  {
    Busy guard(busy_);
    WaitCursor wait;
    writeCoarse(position);
  }
  // The list and the information window show what the record holds, whether
  // or not a value was written.
  cameraState().repaintInfo();
  repaint();
}

void CDlgParam::writeCoarse(int position) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  if (lib.getConfigParam(s.handle, tyxid::kCameraBlockRead, &s.params, 0) != 1) s.showCameraError();
  int32_t lo = 0, hi = 0;
  // Without the camera's range no exposure can be known to be valid: the
  // failure is reported and nothing is written.
  if (lib.calExposeRange(s.handle, &lo, &hi) == 0) {
    s.showCameraError();
    return;
  }
  int32_t e = lib.calExposeLine(s.handle, kStandardTimes[position]);
  // The list keeps strictly inside the range.
  if (e <= lo) e = lo + 1;
  if (e >= hi) e = hi - 1;
  // A range too narrow for that still never sends a value outside it.
  e = std::clamp(e, lo, std::max(lo, hi));
  camval::write(camval::named("exposure-lines"), e);
}

void CDlgParam::onApplyTime() {
  if (busy_) return;
  {
    Busy guard(busy_);
    if (exposureMode_ != Coarse) {
      takeMembers();
      if (const auto typed = numtext::unsignedValue32(control<QLineEdit>(kExposureEdit)->text())) {
        WaitCursor wait;
        if (exposureMode_ == Fine)
          writeFine(*typed);
        else
          writeShort(*typed);
      }
    }
    pushMembers();
  }
  repaint();
}

void CDlgParam::writeFine(int32_t microseconds) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  int32_t lo = 0, hi = 0;
  if (lib.calExposeRange(s.handle, &lo, &hi) == 0) {
    s.showCameraError();
    return;
  }
  int32_t e = lib.calExposeLine(s.handle, microseconds);
  bool bounded = false;
  // The fine time may sit on the bounds themselves.
  if (e <= lo) {
    e = lo;
    bounded = true;
  }
  if (e >= hi) {
    e = hi;
    bounded = true;
  }
  camval::write(camval::named("exposure-lines"), e);
  if (bounded) timeEdit_ = lib.calExposeTime(s.handle, e);
}

void CDlgParam::writeShort(int32_t microseconds) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  int32_t smin = 0, smax = 0;
  if (lib.calExposeShortRange(s.handle, &smin, &smax) == 0) {
    s.showCameraError();
    return;
  }
  const int32_t t = std::clamp(microseconds, smin, std::max(smin, smax));
  int32_t lines = 0;
  const int32_t setting = lib.calExposeShortData(s.handle, t, &lines);
  // The camera takes whole lines first and the fine part after it has
  // settled. A refused write is reported, so that the page never shows a
  // short exposure the camera did not take as if it had.
  camval::write(camval::named("exposure-lines"), lines);
  Desktop::get().sleepMs(500);
  camval::write(camval::of(tyxid::kShortExposure), setting);
}

void CDlgParam::paintEvent(QPaintEvent* event) {
  CameraPage::paintEvent(event);
  QPainter painter(this);
  QFont font = painter.font();
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  painter.setFont(font);
  // The left label at the bar's left edge, the right one 25 pixels left of
  // its right edge, both 12 pixels above the bar.
  auto scale = [&painter, this](int barId, int left, int right) {
    const QWidget* bar = controlWidget(barId);
    if (bar == nullptr) return;
    const QRect g = bar->geometry();
    painter.drawText(QRect(g.left(), g.top() - 12, 60, 12), Qt::AlignLeft | Qt::AlignTop,
                     QString::number(left));
    painter.drawText(QRect(g.right() - 25, g.top() - 12, 60, 12), Qt::AlignLeft | Qt::AlignTop,
                     QString::number(right));
  };
  const CameraState& s = cameraState();
  scale(kGainBar, 0, 1023);
  scale(kBlackBar, 0, 255);
  // Tag 38 at 2, not the brightness row's tag 37: the labels follow their own tag.
  if (s.whiteBalanceTag == 2) scale(kBrightnessBar, 0, 1023);
  // The partial-window bars are visible exactly when the camera has them.
  if (!controlWidget(kBeginLineBar)->isHidden()) {
    scale(kBeginLineBar, s.lineStep, control<ReqScrollBar>(kBeginLineBar)->maximum());
    scale(kEndLineBar, s.params.beginLine + 1, s.lineCount - 1);
  }
}
