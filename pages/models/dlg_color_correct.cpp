// dlg_color_correct.cpp - the colour correction tab of the USB cameras (brightness and contrast per channel).
#include "pages/models/dlg_color_correct.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <vector>

#include "app/camera_values.h"
#include "app/number_text.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgColorCorrect::CtlId;

namespace {

// Both languages share one geometry; only the texts differ.
constexpr ControlSpec kControls[] = {
    {0, Ctl::Label, "Select Channel", "选择颜色通道", 8, 12, 72, 10},
    {kChannelList, Ctl::Combo, nullptr, nullptr, 84, 10, 80, 13},
    {0, Ctl::Label, "Brightness", "亮度", 8, 38, 72, 10},
    {kBrightnessBar, Ctl::HScroll, nullptr, nullptr, 84, 37, 170, 11},
    {kBrightnessEdit, Ctl::Edit, nullptr, nullptr, 262, 36, 36, 13},
    {0, Ctl::Label, "Contrast", "对比度", 8, 60, 72, 10},
    {kContrastBar, Ctl::HScroll, nullptr, nullptr, 84, 59, 170, 11},
    {kContrastEdit, Ctl::Edit, nullptr, nullptr, 262, 58, 36, 13},
    {0, Ctl::Label, "All Contrast", "全色对比度", 8, 82, 72, 10},
    {kAllContrastBar, Ctl::HScroll, nullptr, nullptr, 84, 81, 170, 11},
    {kAllContrastEdit, Ctl::Edit, nullptr, nullptr, 262, 80, 36, 13},
    {kSetDefaultButton, Ctl::Button, "Set Default", "设置默认值", 8, 108, 72, 15},
};

// The list items, in channel order. One English template had no items; both
// languages show the same five.
constexpr std::array<const char*, CDlgColorCorrect::ChannelCount> kChannelItems = {"All channel", "Red",
                                                                                   "Green", "Blue", "B/W"};
// What the page remembers as the chosen channel's name.
constexpr std::array<const char*, CDlgColorCorrect::ChannelCount> kChannelTexts = {"All Channel", "Red",
                                                                                   "Green", "Blue", "B/W"};

constexpr int kMin = 0;
constexpr int kMax = 255;
constexpr int kLine = 1;
constexpr int kPage = 3;

// Stand-ins for fields the camera has never set (negative, or a black level
// of 0, which these cameras never report once configured).
constexpr int32_t kBrightnessFallback = 140;
constexpr int32_t kContrastFallback = 60;

std::vector<tyxid::Param> brightnessIds(int channel, int32_t type) {
  switch (channel) {
    case CDlgColorCorrect::All:
      if (types::hasAllContrast(type)) return {tyxid::kBlack};
      return {tyxid::kRBrightness, tyxid::kGBrightness, tyxid::kBBrightness};
    case CDlgColorCorrect::Red: return {tyxid::kRBrightness};
    case CDlgColorCorrect::Green: return {tyxid::kGBrightness};
    case CDlgColorCorrect::Blue: return {tyxid::kBBrightness};
    case CDlgColorCorrect::Mono: return {tyxid::kBlack};
    default: return {};
  }
}

std::vector<tyxid::Param> contrastIds(int channel) {
  switch (channel) {
    case CDlgColorCorrect::All: return {tyxid::kRGain, tyxid::kGGain, tyxid::kBGain};
    case CDlgColorCorrect::Red: return {tyxid::kRGain};
    case CDlgColorCorrect::Green: return {tyxid::kGGain};
    case CDlgColorCorrect::Blue: return {tyxid::kBGain};
    case CDlgColorCorrect::Mono: return {tyxid::kGain};
    default: return {};
  }
}

// A whole decimal number, or nothing for an empty or malformed text.
bool parseNumber(const QString& text, int32_t* out) {
  const auto v = numtext::intValue(text);
  if (v) *out = static_cast<int32_t>(*v);
  return v.has_value();
}

void setEditNumber(QLineEdit* edit, int32_t value) {
  const QString text = QString::number(value);
  // Leaves the text (and the cursor of a user who is typing) alone when it
  // already says the same.
  if (edit->text() != text) edit->setText(text);
}

}  // namespace

CDlgColorCorrect::CDlgColorCorrect(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(320, 200);
  initialise();
}

CDlgColorCorrect::~CDlgColorCorrect() = default;

void CDlgColorCorrect::initialise() {
  Busy guard(busy_);
  const std::pair<int, Slider> bars[] = {{kBrightnessBar, Slider::Brightness},
                                         {kContrastBar, Slider::Contrast},
                                         {kAllContrastBar, Slider::AllContrast}};
  for (const auto& [id, slider] : bars) {
    auto* bar = control<ReqScrollBar>(id);
    bar->setRange(kMin, kMax);
    bar->setSingleStep(kLine);
    bar->setPageStep(kPage);
    const Slider s = slider;
    connect(bar, &ReqScrollBar::scrollRequest, this,
            [this, s](int code, int pos) { onScroll(s, code, pos); });
  }
  const auto judge = [](const QString& t) {
    return TypedNumber::judge(t, TypedNumber::intValue(t), kMin, kMax);
  };
  TypedNumber::attach(control<QLineEdit>(kBrightnessEdit), judge, [this] { onTyped(Slider::Brightness); });
  TypedNumber::attach(control<QLineEdit>(kContrastEdit), judge, [this] { onTyped(Slider::Contrast); });
  // The all-contrast box only shows the value; typing in it writes nothing.

  auto* list = control<QComboBox>(kChannelList);
  for (const char* item : kChannelItems) list->addItem(QString::fromUtf8(item));
  connect(list, &QComboBox::currentIndexChanged, this, [this](int index) { onChannel(index); });
  connect(control<QPushButton>(kSetDefaultButton), &QPushButton::clicked, this, [this] { onSetDefault(); });

  updateAllContrastBar();
  pushMembers();
}

void CDlgColorCorrect::updateAllContrastBar() {
  // The page lives across reconnections, so the bar follows the camera of
  // the moment rather than the one present when the page was made.
  auto* bar = control<ReqScrollBar>(kAllContrastBar);
  const bool on = types::hasAllContrast(cameraState().typeCode);
  bar->setVisible(true);
  bar->setEnabled(on);
}

void CDlgColorCorrect::inserted() {
  updateAllContrastBar();
  loadFromParams();
  pushMembers();
}

void CDlgColorCorrect::refresh() { pushMembers(); }

void CDlgColorCorrect::loadFromParams() {
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  const int32_t colourBrightness[3] = {p.rBrightness, p.gBrightness, p.bBrightness};
  const int32_t colourContrast[3] = {p.rGain, p.gGain, p.bGain};
  for (int c = 0; c < 3; ++c) {
    brightness_[Red + c] = colourBrightness[c] < 0 ? kBrightnessFallback : colourBrightness[c];
    contrast_[Red + c] = colourContrast[c] < 0 ? kContrastFallback : colourContrast[c];
  }
  brightness_[Mono] = p.black < 1 ? kBrightnessFallback : p.black;
  contrast_[Mono] = p.gain < 0 ? kContrastFallback : p.gain;

  const int32_t brightnessMean = (brightness_[Red] + brightness_[Green] + brightness_[Blue]) / 3;
  const int32_t contrastMean = (contrast_[Red] + contrast_[Green] + contrast_[Blue]) / 3;
  brightness_[All] = brightnessPos_ = brightnessValue_ = p.black >= 1 ? p.black : brightnessMean;
  contrast_[All] = contrastPos_ = contrastValue_ = p.gain >= 1 ? p.gain : contrastMean;
  allContrastPos_ = allContrastValue_ = types::hasAllContrast(s.typeCode) ? p.allContrast : 0;
}

void CDlgColorCorrect::pushMembers() {
  Busy guard(busy_);
  control<ReqScrollBar>(kBrightnessBar)->setValue(brightnessPos_);
  control<ReqScrollBar>(kContrastBar)->setValue(contrastPos_);
  control<ReqScrollBar>(kAllContrastBar)->setValue(allContrastPos_);
  setEditNumber(control<QLineEdit>(kBrightnessEdit), brightnessValue_);
  setEditNumber(control<QLineEdit>(kContrastEdit), contrastValue_);
  setEditNumber(control<QLineEdit>(kAllContrastEdit), allContrastValue_);
  // The list is matched by text, without regard to case, as the chosen
  // channel's name is kept with a capital C.
  auto* list = control<QComboBox>(kChannelList);
  const int index = list->findText(channelText_, Qt::MatchFixedString);
  if (index >= 0) list->setCurrentIndex(index);
}

void CDlgColorCorrect::takeMembers() {
  brightnessPos_ = control<ReqScrollBar>(kBrightnessBar)->value();
  contrastPos_ = control<ReqScrollBar>(kContrastBar)->value();
  allContrastPos_ = control<ReqScrollBar>(kAllContrastBar)->value();
  parseNumber(control<QLineEdit>(kBrightnessEdit)->text(), &brightnessValue_);
  parseNumber(control<QLineEdit>(kContrastEdit)->text(), &contrastValue_);
  parseNumber(control<QLineEdit>(kAllContrastEdit)->text(), &allContrastValue_);
  channelText_ = control<QComboBox>(kChannelList)->currentText();
}

void CDlgColorCorrect::setBrightness(int32_t value) {
  brightnessPos_ = brightnessValue_ = value;
  if (channel_ < All || channel_ >= ChannelCount) return;
  brightness_[channel_] = value;
  if (channel_ == All) brightness_[Red] = brightness_[Green] = brightness_[Blue] = value;
  for (tyxid::Param id : brightnessIds(channel_, cameraState().typeCode)) camval::write(id, value);
}

void CDlgColorCorrect::setContrast(int32_t value) {
  contrastPos_ = contrastValue_ = value;
  if (channel_ < All || channel_ >= ChannelCount) return;
  contrast_[channel_] = value;
  if (channel_ == All) contrast_[Red] = contrast_[Green] = contrast_[Blue] = value;
  for (tyxid::Param id : contrastIds(channel_)) camval::write(id, value);
}

void CDlgColorCorrect::onScroll(Slider slider, int code, int pos) {
  if (busy_) return;
  Busy guard(busy_);
  auto position = [&](int id) {
    auto* bar = control<ReqScrollBar>(id);
    return ReqScrollBar::standardPosition(code, pos, bar->value(), kMin, kMax, kLine, kPage);
  };
  switch (slider) {
    case Slider::Brightness: setBrightness(position(kBrightnessBar)); break;
    case Slider::Contrast: setContrast(position(kContrastBar)); break;
    case Slider::AllContrast:
      allContrastPos_ = allContrastValue_ = position(kAllContrastBar);
      camval::write(tyxid::kAllContrast, allContrastValue_);
      break;
  }
  pushMembers();
  cameraState().repaintInfo();
  repaint();
}

void CDlgColorCorrect::onTyped(Slider slider) {
  if (busy_) return;
  Busy guard(busy_);
  const int editId = slider == Slider::Brightness ? kBrightnessEdit : kContrastEdit;
  int32_t value = 0;
  // An empty or half-typed entry is not a value yet.
  if (!parseNumber(control<QLineEdit>(editId)->text(), &value)) return;
  takeMembers();
  if (value < kMin || value > kMax) return;
  if (slider == Slider::Brightness)
    setBrightness(value);
  else
    setContrast(value);
  // The camera settles its colour pipeline before it reports the new values.
  Desktop::get().sleepMs(500);
  CameraState& s = cameraState();
  if (s.readCameraParams(0) == 0) s.showCameraError();
  pushMembers();
  s.repaintInfo();
}

void CDlgColorCorrect::onChannel(int index) {
  if (busy_) return;
  // No selection, or an item the page does not know, picks no channel.
  if (index < All || index >= ChannelCount) return;
  Busy guard(busy_);
  channel_ = index;
  brightnessPos_ = brightnessValue_ = brightness_[channel_];
  contrastPos_ = contrastValue_ = contrast_[channel_];
  channelText_ = QString::fromUtf8(kChannelTexts[static_cast<size_t>(channel_)]);
  pushMembers();
  repaint();
}

void CDlgColorCorrect::onSetDefault() {
  if (busy_) return;
  Busy guard(busy_);
  const int32_t type = cameraState().typeCode;
  for (int c = All; c <= Blue; ++c) brightness_[c] = 128;
  brightness_[Mono] = 140;
  const int32_t contrastDefaults[ChannelCount] = {56, 212, 160, 252, 128};
  for (int c = All; c < ChannelCount; ++c) contrast_[c] = contrastDefaults[c];
  brightnessPos_ = brightnessValue_ = 128;
  contrastPos_ = contrastValue_ = 56;
  // The page shows the all-channel values, so it also acts on all channels
  // afterwards; a channel left at, say, green would have the next bar move
  // write the green id while the list says "All channel".
  channel_ = All;
  channelText_ = QStringLiteral("All channel");
  // The all-channel contrast is set to 100 below; show what the camera holds.
  if (types::hasAllContrast(type)) allContrastPos_ = allContrastValue_ = 100;
  pushMembers();
  repaint();

  WaitCursor wait;
  if (types::hasPlainCorrection(type)) {
    camval::write(tyxid::kBlack, 140);
    camval::write(tyxid::kGain, 128);
  } else if (types::hasChannelCorrection(type)) {
    camval::write(tyxid::kRGain, 212);
    camval::write(tyxid::kGGain, 160);
    camval::write(tyxid::kBGain, 252);
    if (types::hasAllContrast(type)) {
      camval::write(tyxid::kAllContrast, 100);
      camval::write(tyxid::kBlack, 140);
    } else {
      camval::write(tyxid::kRBrightness, 128);
      camval::write(tyxid::kGBrightness, 123);  // this camera family's green default is 123, not 128
      camval::write(tyxid::kBBrightness, 128);
    }
  }
  cameraState().repaintInfo();
}
