// dlg_color_param.cpp - the colour parameter tab: red, green and blue gains, saturation, white balance.
#include "pages/area/dlg_color_param.h"

#include <QFont>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "app/camera_library.h"
#include "app/camera_values.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"
#include "app/number_text.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgColorParam::CtlId;

namespace {

// The bars start where the drawn "0" labels stand (65 px) and end past the
// "255" labels (280 px); the step labels are drawn at 365 px, right of the
// edits. Both languages share the geometry.
constexpr ControlSpec kControls[] = {
    {kRedGainLabel, Ctl::Label, "R Gain", "R增益", 1, 13, 40, 9},
    {kRedGainBar, Ctl::HScroll, nullptr, nullptr, 41, 12, 147, 9},
    {kRedGainEdit, Ctl::Edit, nullptr, nullptr, 191, 11, 32, 12},
    {kGreenGainLabel, Ctl::Label, "G Gain", "G增益", 1, 33, 40, 9},
    {kGreenGainBar, Ctl::HScroll, nullptr, nullptr, 41, 32, 147, 9},
    {kGreenGainEdit, Ctl::Edit, nullptr, nullptr, 191, 31, 32, 12},
    {kBlueGainLabel, Ctl::Label, "B Gain", "B增益", 1, 53, 40, 9},
    {kBlueGainBar, Ctl::HScroll, nullptr, nullptr, 41, 52, 147, 9},
    {kBlueGainEdit, Ctl::Edit, nullptr, nullptr, 191, 51, 32, 12},
    {kSaturationLabel, Ctl::Label, "Saturation", "饱和度", 1, 73, 40, 9},
    {kSaturationBar, Ctl::HScroll, nullptr, nullptr, 41, 72, 147, 9},
    {kSaturationEdit, Ctl::Edit, nullptr, nullptr, 191, 71, 32, 12},
    {kSaturationByteEdit, Ctl::EditDisabled, nullptr, nullptr, 227, 71, 28, 12},
    {0, Ctl::Group, "White Balance", "白平衡", 4, 84, 120, 26},
    {kWhiteBalanceButton, Ctl::Button, "White Balance", "白平衡", 12, 95, 64, 12},
};

constexpr int kGainBars[3] = {kRedGainBar, kGreenGainBar, kBlueGainBar};
constexpr int kGainEdits[3] = {kRedGainEdit, kGreenGainEdit, kBlueGainEdit};
constexpr int32_t kGainIds[3] = {tyxid::kRGain, tyxid::kGGain, tyxid::kBGain};
constexpr int kSaturationRow = 3;
// The saturation edit reads no more of its text than this, which also keeps
// the conversion far from overflow.
constexpr int kSaturationChars = 7;

const char* const kRangeMessage = "input exceed valid range";

int32_t gainOf(const CameraParams& p, int row) { return row == 0 ? p.rGain : row == 1 ? p.gGain : p.bGain; }

uint8_t lowByte(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFFu); }

}  // namespace

CDlgColorParam::CDlgColorParam(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(283, 110);
  for (int row = 0; row < 3; ++row) {
    connect(control<ReqScrollBar>(kGainBars[row]), &ReqScrollBar::scrollRequest, this,
            [this, row](int code, int pos) { onScroll(row, code, pos); });
    TypedNumber::attach(
        control<QLineEdit>(kGainEdits[row]), [this, row](const QString& t) { return judgeGain(row, t); },
        [this, row] { onGainEdit(row); });
  }
  connect(control<ReqScrollBar>(kSaturationBar), &ReqScrollBar::scrollRequest, this,
          [this](int code, int pos) { onScroll(kSaturationRow, code, pos); });
  TypedNumber::attach(
      control<QLineEdit>(kSaturationEdit), [](const QString& t) { return judgeSaturation(t); },
      [this] { onSaturationEdit(); });
  connect(control<QPushButton>(kWhiteBalanceButton), &QPushButton::clicked, this,
          [this] { onWhiteBalance(); });
  Busy guard(busy_);
  applyRanges();
  pushMembers();
}

CDlgColorParam::~CDlgColorParam() = default;

bool CDlgColorParam::unitGains() const { return cameraState().typeCode == model::kMelko; }

void CDlgColorParam::applyRanges() {
  const int gainMax = unitGains() ? 255 : 252;
  for (int id : kGainBars) {
    auto* bar = control<ReqScrollBar>(id);
    bar->setRange(0, gainMax);
    bar->setSingleStep(gainStep());
    bar->setPageStep(10 * gainStep());
  }
  auto* bar = control<ReqScrollBar>(kSaturationBar);
  if (unitGains())
    bar->setRange(0, 255);
  else
    bar->setRange(-128, 127);
  bar->setSingleStep(1);
  bar->setPageStep(10);
}

void CDlgColorParam::inserted() {
  Busy guard(busy_);
  applyRanges();
}

void CDlgColorParam::refresh() {
  // Rebuilding the display writes nothing: the edits' handlers see the busy
  // flag, so a repaint never sends the camera the values it already holds.
  Busy guard(busy_);
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  applyRanges();
  for (int row = 0; row < 3; ++row) {
    gainEdit_[row] = gainPos_[row] = gainOf(p, row);
  }
  saturationText_ = QString::number(p.saturation);
  saturationPos_ = p.saturation;
  saturationByte_ = lowByte(p.saturation);
  control<QPushButton>(kWhiteBalanceButton)->setEnabled(s.whiteBalanceTag == 1);
  pushMembers();
  update();
}

void CDlgColorParam::pushMembers() {
  Busy guard(busy_);
  for (int row = 0; row < 3; ++row) {
    control<ReqScrollBar>(kGainBars[row])->setValue(gainPos_[row]);
    numtext::showUnlessReadsAs(control<QLineEdit>(kGainEdits[row]), gainEdit_[row]);
  }
  control<ReqScrollBar>(kSaturationBar)->setValue(saturationPos_);
  auto* edit = control<QLineEdit>(kSaturationEdit);
  if (edit->text() != saturationText_) edit->setText(saturationText_);
  numtext::showUnlessReadsAs(control<QLineEdit>(kSaturationByteEdit), saturationByte_);
}

void CDlgColorParam::takeMembers() {
  for (int row = 0; row < 3; ++row) {
    if (auto v = numtext::unsignedValue(control<QLineEdit>(kGainEdits[row])->text())) {
      gainEdit_[row] = static_cast<int32_t>(std::min<uint64_t>(*v, INT32_MAX));
    }
    gainPos_[row] = control<ReqScrollBar>(kGainBars[row])->value();
  }
  saturationPos_ = control<ReqScrollBar>(kSaturationBar)->value();
  saturationText_ = control<QLineEdit>(kSaturationEdit)->text();
}

TypedNumber::Verdict CDlgColorParam::judgeGain(int row, const QString& text) const {
  // Red and green show the rounded value at once, which would replace the
  // text being typed; blue keeps the text, so each of its keystrokes writes.
  const auto typed = numtext::unsignedValue(text);
  const bool roundsAway = typed && !unitGains() && *typed % 4 != 0;
  const auto value = typed ? std::optional<int64_t>(static_cast<int64_t>(*typed)) : std::nullopt;
  return TypedNumber::judge(text, value, 0, 255, row == 2 || !roundsAway);
}

TypedNumber::Verdict CDlgColorParam::judgeSaturation(const QString& text) {
  // A refused saturation puts the stored one back into the edit, so a
  // number out of range waits for the user too.
  const auto typed = numtext::signedPrefix(text, kSaturationChars);
  const auto value = typed ? std::optional<int64_t>(*typed) : std::nullopt;
  return TypedNumber::judge(text, value, -128, 127, true, value.has_value());
}

void CDlgColorParam::onGainEdit(int row) {
  if (busy_) return;
  Busy guard(busy_);
  takeMembers();
  const auto typed = numtext::unsignedValue(control<QLineEdit>(kGainEdits[row])->text());
  if (!typed) return;
  if (*typed > 255) {
    Desktop::get().message(this, kRangeMessage, QString());
    return;
  }
  int32_t x = static_cast<int32_t>(*typed);
  if (!unitGains()) x -= x % 4;
  gainPos_[row] = x;
  // Red and green show the value the camera got; blue keeps what was typed
  // until the next repaint.
  if (row != 2) gainEdit_[row] = x;
  camval::write(camval::of(kGainIds[row]), x);
  pushMembers();
}

void CDlgColorParam::onSaturationEdit() {
  if (busy_) return;
  Busy guard(busy_);
  takeMembers();
  const auto typed = numtext::signedPrefix(control<QLineEdit>(kSaturationEdit)->text(), kSaturationChars);
  if (!typed) return;
  CameraState& s = cameraState();
  const int32_t v = *typed;
  if (v < -128 || v > 127) {
    Desktop::get().message(this, kRangeMessage, QString());
    saturationText_ = QString::number(s.params.saturation);
    saturationByte_ = lowByte(s.params.saturation);
  } else {
    saturationPos_ = v;
    saturationByte_ = lowByte(v);
    camval::write(camval::of(tyxid::kSaturation), v);
  }
  pushMembers();
}

void CDlgColorParam::onScroll(int row, int code, int pos) {
  if (busy_) return;
  Busy guard(busy_);
  const bool saturation = row == kSaturationRow;
  auto* bar = control<ReqScrollBar>(saturation ? kSaturationBar : kGainBars[row]);
  const camval::Descriptor& value = camval::of(saturation ? tyxid::kSaturation : kGainIds[row]);
  // Line moves from a camera value off the step may leave the bar; the
  // colour page's row keeps them inside it.
  const int v = ReqScrollBar::standardPosition(code, pos, bar->value(), bar->minimum(), bar->maximum(),
                                               saturation ? 1 : gainStep(),
                                               camval::rule(value, camval::Window::ColourPage).bar);
  CameraState& s = cameraState();
  if (saturation) {
    saturationPos_ = v;
    saturationText_ = QString::number(v);
    saturationByte_ = lowByte(v);
    // The display follows the drag; the camera is written once, when the
    // user lets go. The record and the information window follow the drag.
    if (code == SbEndScroll) {
      camval::write(value, v);
    } else {
      camval::store(value, s, v);
      s.repaintInfo();
    }
  } else {
    gainEdit_[row] = gainPos_[row] = v;
    camval::write(value, v);
  }
  pushMembers();
}

void CDlgColorParam::onWhiteBalance() {
  WaitCursor wait;
  // The camera chooses new gains; the white balance's description reads
  // them back so the page shows them, and reports a failed read rather than
  // leaving the old gains looking current. A refused start has already been
  // reported.
  if (!camval::write(camval::of(tyxid::kStartWhiteBalance), 1)) return;
  repaint();
}

void CDlgColorParam::paintEvent(QPaintEvent* event) {
  CameraPage::paintEvent(event);
  QPainter painter(this);
  QFont font = painter.font();
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  painter.setFont(font);
  auto text = [&painter](int x, int y, const QString& t) {
    painter.drawText(QRect(x, y, 120, 16), Qt::AlignLeft | Qt::AlignTop, t);
  };
  const CameraState& s = cameraState();
  const QString step = QString::fromUtf8(s.chinese() ? "步长:%1" : "step:%1").arg(gainStep());
  for (int y : {8, 40, 72}) {
    text(65, y, "0");
    text(280, y, "255");
  }
  for (int y : {20, 52, 84}) text(365, y, step);
  text(65, 104, unitGains() ? "0" : "-128");
  text(280, 104, unitGains() ? "255" : "127");
}
