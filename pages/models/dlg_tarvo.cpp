// dlg_tarvo.cpp - the tab page of the 4K video model (contrast, resolution, speed).
#include "pages/models/dlg_tarvo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "app/camera_values.h"
#include "app/number_text.h"
#include "app/camera_library.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgTarvo::CtlId;

namespace {

// Both languages share one geometry; only the texts differ.
constexpr ControlSpec kControls[] = {
    {0, Ctl::Label, "contrast", "对比度", 8, 10, 100, 10},
    {kContrastBar, Ctl::HScroll, nullptr, nullptr, 110, 9, 134, 11},
    {kContrastEdit, Ctl::Edit, nullptr, nullptr, 248, 8, 36, 13},
    {0, Ctl::Label, "saturation", "饱和度", 8, 28, 100, 10},
    {kSaturationBar, Ctl::HScroll, nullptr, nullptr, 110, 27, 134, 11},
    {kSaturationEdit, Ctl::Edit, nullptr, nullptr, 248, 26, 36, 13},
    {0, Ctl::Label, "Auto extinction target value", "自动消光目标值", 8, 46, 100, 10},
    {kExtinctionTargetBar, Ctl::HScroll, nullptr, nullptr, 110, 45, 134, 11},
    {kExtinctionTargetEdit, Ctl::Edit, nullptr, nullptr, 248, 44, 36, 13},
    {0, Ctl::Group, "resolution&sencerfrq", "输出分辨率和传感器频率", 6, 64, 182, 38},
    {kResolutionList, Ctl::Combo, nullptr, nullptr, 12, 79, 78, 13},
    {kSensorRateList, Ctl::Combo, nullptr, nullptr, 94, 79, 40, 13},
    {kSetVideoModeButton, Ctl::Button, "set", "设置", 138, 78, 44, 15},
    {0, Ctl::Group, "Resolution setting mode", "分辨率设置方式", 194, 64, 118, 38},
    {kSwitchRadio, Ctl::RadioFirst, "switch", "开关", 202, 81, 50, 10},
    {kComRadio, Ctl::Radio, "COM", "串口", 256, 81, 50, 10},
    {kManualWhiteBalanceButton, Ctl::Button, "Manual White Balance", "手动白平衡", 8, 112, 92, 15},
    {kAutoExtinctionCheck, Ctl::Check, "auto extinction", "自动消光", 110, 114, 80, 10},
    {kAutoWhiteBalanceCheck, Ctl::Check, "automatic white balance ", "自动白平衡", 194, 114, 118, 10},
};

// The output video modes, in list order, with what the set button writes.
struct VideoMode {
  const char* text;
  int32_t resolution;  // id 52
  int32_t frameRate;   // id 55
};
constexpr std::array<VideoMode, 5> kVideoModes = {{
    {"1920*1080@30", 1, 0},
    {"1920*1080@60", 1, 1},
    {"3840*2160@30", 2, 0},
    {"3840*2160@60", 2, 1},
    {"1280*720@60", 0, 1},
}};

// The list index that shows a resolution and frame rate, or -1.
int videoModeIndex(int32_t resolution, int32_t frameRate) {
  if (resolution == 0) return 4;  // 1280*720 exists only at 60
  if (frameRate != 0 && frameRate != 1) return -1;
  if (resolution == 1) return frameRate;
  if (resolution == 2) return 2 + frameRate;
  return -1;
}

constexpr int kLine = 1;
constexpr int kPage = 40;
constexpr int kMin = 0;
constexpr int kMax = 255;

}  // namespace

CDlgTarvo::CDlgTarvo(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(320, 200);
  initialise();
}

CDlgTarvo::~CDlgTarvo() = default;

void CDlgTarvo::initialise() {
  Busy guard(busy_);
  // The three bar-and-edit pairs; static so the connections may refer to them.
  static const Slider sliders[] = {
      {kContrastBar, kContrastEdit, &CDlgTarvo::contrast_, tyxid::kModelContrast},
      {kSaturationBar, kSaturationEdit, &CDlgTarvo::saturation_, tyxid::kModelSaturation},
      {kExtinctionTargetBar, kExtinctionTargetEdit, &CDlgTarvo::target_, tyxid::kAutoExtinctionTarget},
  };
  for (const Slider& s : sliders) {
    ReqScrollBar* b = bar(s.barId);
    b->setRange(kMin, kMax);
    b->setSingleStep(kLine);
    b->setPageStep(kPage);
    connect(b, &ReqScrollBar::scrollRequest, this, [this, &s](int code, int pos) { onScroll(s, code, pos); });
    TypedNumber::attach(
        control<QLineEdit>(s.editId),
        [](const QString& t) { return TypedNumber::judge(t, TypedNumber::intValue(t), kMin, kMax); },
        [this, &s] { onEditChanged(s); });
  }

  // The lists keep the order given, in both languages.
  auto* modes = control<QComboBox>(kResolutionList);
  for (const VideoMode& m : kVideoModes) modes->addItem(QString::fromUtf8(m.text));
  auto* speeds = control<QComboBox>(kSensorRateList);
  speeds->addItem(QString::fromUtf8("慢"));
  speeds->addItem(QString::fromUtf8("快"));

  writesOnClick(kAutoExtinctionCheck, tyxid::kAutoExtinction);
  // This switch has never reported a failed write; its description keeps it quiet.
  writesOnClick(kAutoWhiteBalanceCheck, tyxid::kAutoWhiteBalance);
  writesOnChoice(kSwitchRadio, tyxid::kResolutionSettingMode, 0);
  writesOnChoice(kComRadio, tyxid::kResolutionSettingMode, 1);
  connect(control<QPushButton>(kManualWhiteBalanceButton), &QPushButton::clicked, this, [] {
    WaitCursor wait;
    camval::write(tyxid::kManualWhiteBalance, 1);
  });
  connect(control<QPushButton>(kSetVideoModeButton), &QPushButton::clicked, this, [this] { onSet(); });

  loadFromCamera();
}

void CDlgTarvo::inserted() { loadFromCamera(); }

void CDlgTarvo::loadFromCamera() {
  Busy guard(busy_);
  const ExtendedParams& e = cameraState().ext;
  contrast_ = e.modelContrast;
  saturation_ = e.modelSaturation;
  target_ = e.autoExtinctionTarget;
  bar(kContrastBar)->setValue(contrast_);
  bar(kSaturationBar)->setValue(saturation_);
  bar(kExtinctionTargetBar)->setValue(target_);
  control<QCheckBox>(kAutoExtinctionCheck)->setChecked(e.autoExtinction == 1);
  control<QCheckBox>(kAutoWhiteBalanceCheck)->setChecked(e.autoWhiteBalance == 1);
  control<QRadioButton>(e.resolutionSettingMode != 0 ? kComRadio : kSwitchRadio)->setChecked(true);
  control<QComboBox>(kResolutionList)->setCurrentIndex(videoModeIndex(e.resolution, e.frameRate));
  control<QComboBox>(kSensorRateList)
      ->setCurrentIndex(e.sensorSpeed == 0 || e.sensorSpeed == 1 ? e.sensorSpeed : -1);
  pushMembers();
}

ReqScrollBar* CDlgTarvo::bar(int id) const { return control<ReqScrollBar>(id); }

void CDlgTarvo::pushMembers() {
  Busy guard(busy_);
  control<QLineEdit>(kContrastEdit)->setText(QString::number(contrast_));
  control<QLineEdit>(kSaturationEdit)->setText(QString::number(saturation_));
  control<QLineEdit>(kExtinctionTargetEdit)->setText(QString::number(target_));
}

bool CDlgTarvo::takeMembers() {
  const CameraState& st = cameraState();
  struct Field {
    int editId;
    int32_t* member;
  };
  const Field fields[] = {
      {kContrastEdit, &contrast_}, {kSaturationEdit, &saturation_}, {kExtinctionTargetEdit, &target_}};
  for (const Field& f : fields) {
    const auto typed = numtext::intValue(control<QLineEdit>(f.editId)->text());
    const bool ok = typed.has_value();
    const int value = static_cast<int>(typed.value_or(0));
    QString problem;
    if (!ok) {
      problem = st.text("Enter a whole number.", "请输入整数。");
    } else if (value < kMin || value > kMax) {
      problem = st.text("Enter a whole number between %1 and %2.", "请输入 %1 到 %2 之间的整数。")
                    .arg(kMin)
                    .arg(kMax);
    }
    if (!problem.isEmpty()) {
      // The member keeps its last good value, so nothing out of range is
      // ever written.
      Desktop::get().message(this, problem, "Vistrel");
      control<QLineEdit>(f.editId)->setFocus();
      return false;
    }
    *f.member = value;
  }
  return true;
}

void CDlgTarvo::onScroll(const Slider& slider, int code, int pos) {
  // The thumb gives its value only when released; dragging and the end of
  // scrolling leave bar and camera as they are.
  if (code == SbThumbTrack || code == SbEndScroll) return;
  if (busy_) return;
  Busy guard(busy_);
  ReqScrollBar* b = bar(slider.barId);
  const int value = ReqScrollBar::standardPosition(code, pos, b->value(), kMin, kMax, kLine, kPage);
  this->*slider.member = value;
  camval::write(slider.paramId, value);
  b->setValue(value);
  pushMembers();
  repaint();
}

void CDlgTarvo::onEditChanged(const Slider& slider) {
  if (busy_) return;
  Busy guard(busy_);
  if (!takeMembers()) return;
  const int32_t value = this->*slider.member;
  // 0 moves nothing and writes nothing, as the camera has always had it.
  if (value <= 0 || value >= 256) return;
  bar(slider.barId)->setValue(value);
  camval::write(slider.paramId, value);
}

void CDlgTarvo::onSet() {
  WaitCursor wait;
  const int mode = control<QComboBox>(kResolutionList)->currentIndex();
  const int speed = control<QComboBox>(kSensorRateList)->currentIndex();
  // These three writes have never reported failures (their descriptions
  // keep them quiet); the camera shows the result on its video output.
  if (mode >= 0 && mode < static_cast<int>(kVideoModes.size())) {
    const VideoMode& m = kVideoModes[static_cast<size_t>(mode)];
    camval::write(tyxid::kResolution, m.resolution);
    camval::write(tyxid::kFrameRate, m.frameRate);
  }
  camval::write(tyxid::kSensorSpeed, speed == 0 ? 0 : 1);
}
