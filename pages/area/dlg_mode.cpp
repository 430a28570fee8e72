// dlg_mode.cpp - the mode tab of area-scan cameras: run mode, frame mode, output, trigger protection.
#include "pages/area/dlg_mode.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "app/camera_library.h"
#include "app/camera_values.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"
#include "app/number_text.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgMode::CtlId;

namespace {

// The page carries Chinese labels in both languages; only the full and part
// buttons are relabelled by the refresh. Multi-frame average lies on the
// place of the binning button, which is never shown.
constexpr ControlSpec kControls[] = {
    {kRunModeGroup, Ctl::Group, "运行模式", nullptr, 4, 2, 62, 100},
    {kFreeRunRadio, Ctl::RadioFirst, "连续", nullptr, 10, 14, 52, 10},
    {kEdgeTriggerRadio, Ctl::Radio, "沿触发", nullptr, 10, 28, 52, 10},
    {kExternalSyncRadio, Ctl::Radio, "外同步", nullptr, 10, 42, 52, 10},
    {kLastFrameFreezeRadio, Ctl::Radio, "末帧冻结", nullptr, 10, 56, 52, 10},
    {kPulseTriggerRadio, Ctl::Radio, "脉冲触发", nullptr, 10, 70, 52, 10},
    {kTriggerHoldRadio, Ctl::Radio, "触发保持", nullptr, 10, 84, 52, 10},
    {kFrameModeGroup, Ctl::Group, "幅度模式", nullptr, 70, 2, 58, 60},
    {kFullRadio, Ctl::RadioFirst, "全图", nullptr, 76, 13, 48, 10},
    {kPartRadio, Ctl::Radio, "局部", nullptr, 76, 25, 48, 10},
    {kBinningRadio, Ctl::Radio, "Binning", nullptr, 76, 37, 48, 10},
    {kFrameAverageRadio, Ctl::Radio, "多帧平均", nullptr, 76, 37, 48, 10},
    {kPalRadio, Ctl::Radio, "PAL", nullptr, 76, 49, 48, 10},
    {kOutputGroup, Ctl::Group, "输出", nullptr, 70, 64, 58, 38},
    {kCameraOutputRadio, Ctl::RadioFirst, "摄像机", nullptr, 76, 75, 48, 10},
    {kTestImageRadio, Ctl::Radio, "测试图", nullptr, 76, 88, 48, 10},
    {kProtectGroup, Ctl::Group, "外触发保护", nullptr, 132, 2, 148, 100},
    {kRiseDelayLabel, Ctl::Label, "上升沿延时(us)", nullptr, 138, 14, 100, 9},
    {kRiseDelayBar, Ctl::HScroll, nullptr, nullptr, 138, 25, 102, 10},
    {kRiseDelayEdit, Ctl::Edit, "", nullptr, 244, 24, 30, 12},
    {kFallDelayLabel, Ctl::Label, "下降沿延时(us)", nullptr, 138, 43, 100, 9},
    {kFallDelayBar, Ctl::HScroll, nullptr, nullptr, 138, 54, 102, 10},
    {kFallDelayEdit, Ctl::Edit, "", nullptr, 244, 53, 30, 12},
    {kProtectTimeLabel, Ctl::Label, "保护时间(ms)", nullptr, 138, 72, 100, 9},
    {kProtectTimeBar, Ctl::HScroll, nullptr, nullptr, 138, 83, 102, 10},
    {kProtectTimeEdit, Ctl::Edit, "", nullptr, 244, 82, 30, 12},
};

// Buttons in the order of their selection index.
constexpr int kRunButtons[] = {kFreeRunRadio,         kEdgeTriggerRadio,  kExternalSyncRadio,
                               kLastFrameFreezeRadio, kPulseTriggerRadio, kTriggerHoldRadio};
constexpr int kFrameButtons[] = {kFullRadio, kPartRadio, kBinningRadio, kFrameAverageRadio, kPalRadio};
constexpr int kOutputButtons[] = {kCameraOutputRadio, kTestImageRadio};

constexpr int kProtectPage = 40;

// Selects the button at index in a group; an index outside the group leaves
// none selected (a record value the page has no button for).
template <size_t N>
void selectIn(const Layout& layout, const int (&ids)[N], int index) {
  if (index >= 0 && index < static_cast<int>(N)) {
    if (auto* b = qobject_cast<QRadioButton*>(layout.byId(ids[index]))) b->setChecked(true);
    return;
  }
  QButtonGroup* group = layout.groupOf(ids[0]);
  if (group != nullptr) group->setExclusive(false);
  for (int id : ids)
    if (auto* b = qobject_cast<QRadioButton*>(layout.byId(id))) b->setChecked(false);
  if (group != nullptr) group->setExclusive(true);
}

void showOn(QWidget* w, bool on) {
  if (w == nullptr) return;
  if (on) w->show();
  w->setEnabled(on);
}

}  // namespace

const CDlgMode::Row CDlgMode::kRows[3] = {
    {kRiseDelayBar, kRiseDelayEdit, kRiseDelayLabel, 31, 30, &ExtendedParams::riseDelay,
     &CameraState::riseDelayTag},
    {kFallDelayBar, kFallDelayEdit, kFallDelayLabel, 32, 30, &ExtendedParams::fallDelay,
     &CameraState::fallDelayTag},
    {kProtectTimeBar, kProtectTimeEdit, kProtectTimeLabel, 33, 650, &ExtendedParams::protectTime,
     &CameraState::protectTimeTag},
};

CDlgMode::CDlgMode(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(283, 106);
  Busy guard(busy_);
  for (int i = 0; i < 6; ++i) {
    connect(control<QRadioButton>(kRunButtons[i]), &QRadioButton::clicked, this,
            [this, i] { onRunMode(i + 1); });
  }
  for (int id : kFrameButtons) {
    connect(control<QRadioButton>(id), &QRadioButton::clicked, this, [this, id] { onFrameMode(id); });
  }
  for (int i = 0; i < 2; ++i) {
    connect(control<QRadioButton>(kOutputButtons[i]), &QRadioButton::clicked, this,
            [this, i] { onOutput(i + 1); });
  }
  for (int row = 0; row < 3; ++row) {
    const Row& r = kRows[row];
    auto* bar = control<ReqScrollBar>(r.bar);
    bar->setRange(0, static_cast<int>(r.maximum));
    bar->setSingleStep(1);
    bar->setPageStep(kProtectPage);
    connect(bar, &ReqScrollBar::scrollRequest, this,
            [this, row](int code, int pos) { onProtectScroll(row, code, pos); });
    TypedNumber::attach(
        control<QLineEdit>(r.edit),
        [max = r.maximum](const QString& t) {
          return TypedNumber::judge(t, TypedNumber::value(numtext::unsignedValue(t)), 0, max);
        },
        [this, row] { onProtectEdit(row); });
  }
  control<QWidget>(kProtectTimeLabel)->setEnabled(false);
  // Binning is never offered; multi-frame average lies on its place.
  control<QWidget>(kBinningRadio)->hide();
  pushMembers();
}

CDlgMode::~CDlgMode() = default;

bool CDlgMode::rowShown(int row) const {
  const CameraState& s = cameraState();
  return s.*(kRows[row].tag) == 1 && s.params.runMode == 2;
}

void CDlgMode::refresh() {
  // Setting the controls fires their signals; the guard keeps a refresh from
  // writing anything to the camera.
  Busy guard(busy_);
  if (cameraState().handle != nullptr) applyRules();
  syncSelections();
  pushMembers();
}

void CDlgMode::applyRules() {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const int32_t t = s.typeCode;
  const int32_t v = s.versionCode;
  auto w = [this](int id) { return controlWidget(id); };

  showOn(w(kExternalSyncRadio), types::hasExternalSync(t));
  w(kEdgeTriggerRadio)->setEnabled(lib.functionTag(s.handle, tyxid::kTagEdgeTrigger) == 1);
  showOn(w(kLastFrameFreezeRadio), types::hasLastFrameFreeze(t, v));
  showOn(w(kTriggerHoldRadio), types::hasTriggerHold(t, v));
  showOn(w(kPulseTriggerRadio), types::hasPulseTrigger(t, v));
  // The image orientation model has no full-frame choice. Another camera
  // opened later on the same page gets the group back.
  w(kFullRadio)->setEnabled(t != model::kMelko);
  w(kFrameModeGroup)->setEnabled(t != model::kMelko);
  showOn(w(kPartRadio), lib.functionTag(s.handle, tyxid::kTagPartialFrame) == 1);
  w(kBinningRadio)->hide();
  const bool pal = types::hasPalNtsc(t, v);
  showOn(w(kPalRadio), pal);
  const bool average = types::hasFrameAverage(t, v);
  showOn(w(kFrameAverageRadio), average);

  bool anyRow = false;
  for (int row = 0; row < 3; ++row) {
    const Row& r = kRows[row];
    const bool shown = rowShown(row);
    w(r.bar)->setVisible(shown);
    w(r.bar)->setEnabled(shown);
    w(r.edit)->setEnabled(shown);
    w(r.label)->setEnabled(shown);
    anyRow = anyRow || shown;
  }
  w(kProtectGroup)->setEnabled(anyRow);

  if (t != model::kMelko) {
    control<QRadioButton>(kFullRadio)
        ->setText(types::fullFrameIsVga(t, v) ? QStringLiteral("VGA") : s.text("Full", "全图"));
  }
  control<QRadioButton>(kPartRadio)
      ->setText(t == model::kFieldCamera ? QString::fromUtf8("单场") : s.text("Part", "局部"));
  if (pal)
    control<QRadioButton>(kPalRadio)->setText(t == model::kNtscCamera ? QStringLiteral("NTSC")
                                                                      : QStringLiteral("PAL"));
  // On this camera frame mode 4 is multi-frame average; it is held as 5 so
  // that it is told apart from PAL. Nothing is written to the camera.
  if (average && s.params.frameMode == 4) s.params.frameMode = 5;
}

void CDlgMode::syncSelections() {
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  runSel_ = p.runMode - 1;
  switch (p.frameMode) {
    case 1:
    case 2:
    case 3: frameSel_ = p.frameMode - 1; break;
    case 4: frameSel_ = 4; break;
    case 5: frameSel_ = 3; break;
    default: frameSel_ = -1; break;
  }
  outputSel_ = p.outputMode - 1;
  for (int row = 0; row < 3; ++row) {
    if (!rowShown(row)) continue;
    const int32_t value = s.ext.*(kRows[row].field);
    barPos_[row] = value;
    editValue_[row] = static_cast<uint32_t>(value);
  }
}

void CDlgMode::pushMembers() {
  Busy guard(busy_);
  selectIn(layout(), kRunButtons, runSel_);
  selectIn(layout(), kFrameButtons, frameSel_);
  selectIn(layout(), kOutputButtons, outputSel_);
  for (int row = 0; row < 3; ++row) {
    control<ReqScrollBar>(kRows[row].bar)->setValue(barPos_[row]);
    numtext::show(control<QLineEdit>(kRows[row].edit), editValue_[row]);
  }
}

void CDlgMode::takeMembers() {
  auto index = [this](const auto& ids) {
    int i = 0;
    for (int id : ids) {
      if (control<QRadioButton>(id)->isChecked()) return i;
      ++i;
    }
    return -1;
  };
  runSel_ = index(kRunButtons);
  frameSel_ = index(kFrameButtons);
  outputSel_ = index(kOutputButtons);
  for (int row = 0; row < 3; ++row) {
    barPos_[row] = control<ReqScrollBar>(kRows[row].bar)->value();
    if (auto x = numtext::unsignedValue(control<QLineEdit>(kRows[row].edit)->text()))
      editValue_[row] = static_cast<uint32_t>(std::min<uint64_t>(*x, UINT32_MAX));
  }
}

void CDlgMode::onRunMode(int32_t value) {
  if (busy_) return;
  {
    Busy guard(busy_);
    // The exposure range follows the new mode (free-running modes bound it
    // by the frame, trigger modes need a few lines to arm); the run mode's
    // description clamps it.
    camval::write(camval::of(tyxid::kRunMode), value);
  }
  // The protection rows exist only in edge-trigger mode.
  repaint();
}

void CDlgMode::onFrameMode(int buttonId) {
  if (busy_) return;
  CameraState& s = cameraState();
  const camval::Descriptor& frameMode = camval::of(tyxid::kFrameMode);
  {
    Busy guard(busy_);
    CameraParams& p = s.params;
    // The frame mode's description says which modes refresh the record first
    // and retry a refused write, what multi-frame average is sent as, the rate
    // PAL brings and which modes can shorten the exposure range. The page
    // keeps only what it remembers across choices: the rate to restore when
    // PAL or multi-frame average is left.
    switch (buttonId) {
      case kFullRadio: {
        if (types::isPalSwitching(s.typeCode, s.versionCode) && p.frameMode == 4) leavingPal_ = true;
        WaitCursor wait;
        camval::write(frameMode, 1);
        if (leavingPal_) {
          p.rate = 1;
          leavingPal_ = false;
        }
        break;
      }
      case kPartRadio: {
        WaitCursor wait;
        camval::write(frameMode, 2);
        if (leavingPal_) {
          p.rate = 2;
          leavingPal_ = false;
        }
        break;
      }
      case kBinningRadio:
        camval::write(frameMode, 3);
        if (leavingPal_) {
          p.rate = 4;
          leavingPal_ = false;
        }
        break;
      case kPalRadio: {
        WaitCursor wait;
        camval::write(frameMode, 4);
        leavingPal_ = true;
        break;
      }
      case kFrameAverageRadio:
        camval::write(frameMode, 5);
        leavingPal_ = true;
        break;
      default: break;
    }
  }
  repaint();
}

void CDlgMode::onOutput(int32_t value) {
  if (busy_) return;
  {
    Busy guard(busy_);
    WaitCursor wait;
    // The camera may change other values with its output; the description
    // reads the record back.
    camval::write(camval::of(tyxid::kOutputMode), value);
  }
  repaint();
}

void CDlgMode::onProtectEdit(int row) {
  if (busy_) return;
  Busy guard(busy_);
  const Row& r = kRows[row];
  takeMembers();
  const auto typed = numtext::unsignedValue(control<QLineEdit>(r.edit)->text());
  if (!typed || *typed > r.maximum) return;
  const int32_t x = static_cast<int32_t>(*typed);
  barPos_[row] = x;
  editValue_[row] = static_cast<uint32_t>(x);
  camval::write(camval::of(r.id), x);
  pushMembers();
}

void CDlgMode::onProtectScroll(int row, int code, int pos) {
  if (busy_) return;
  const Row& r = kRows[row];
  {
    Busy guard(busy_);
    auto* bar = control<ReqScrollBar>(r.bar);
    const int value = ReqScrollBar::standardPosition(code, pos, bar->value(), bar->minimum(), bar->maximum(),
                                                     1, kProtectPage);
    barPos_[row] = value;
    editValue_[row] = static_cast<uint32_t>(value);
    // Every request writes: a drag once per movement, and once more with the
    // final value when the scrolling ends.
    camval::write(camval::of(r.id), value);
    pushMembers();
  }
  repaint();
}
