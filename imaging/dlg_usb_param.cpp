// dlg_usb_param.cpp - the USB camera's parameter tab (exposure, external trigger, versions).
#include "imaging/dlg_usb_param.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "app/camera_library.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgUsbParam::CtlId;

namespace {

// Both languages share one geometry; only the texts differ. The exposure-line
// bar and its caption and edit exist for cameras that take the exposure in
// lines; they stay hidden.
constexpr ControlSpec kControls[] = {
    {0, Ctl::Group, "Working Parameter", "系统参数", 8, 8, 300, 64},
    {0, Ctl::Label, "Exposetime", "曝光时间", 16, 26, 56, 10},
    {kExposureList, Ctl::Combo, nullptr, nullptr, 76, 24, 90, 13},
    {0, Ctl::Label, "us", "微秒", 172, 26, 30, 10},
    {0, Ctl::Label, "Workmode", "工作模式", 16, 48, 56, 10},
    {kTriggerCheck, Ctl::Check, "Trig", "外触发", 76, 48, 80, 10},
    {0, Ctl::Group, "Version Info", "版本信息", 8, 82, 300, 40},
    {kVersionButton, Ctl::Button, "Version", "版本", 16, 98, 60, 15},
    {kExposeLineLabel, Ctl::Label, "Expose Line", "曝光行数", 16, 136, 56, 10},
    {kExposeLineBar, Ctl::HScroll, nullptr, nullptr, 76, 135, 170, 11},
    {kExposeLineEdit, Ctl::Edit, nullptr, nullptr, 252, 134, 40, 13},
};

// List index -> exposure in microseconds.
constexpr std::array<int32_t, 18> kExposures = {10,    20,     100,     200,     1000,    2000,
                                                10000, 16667,  20000,   33333,   40000,   50000,
                                                66667, 100000, 1000000, 2000000, 5000000, 10000000};
// A value below limit i is shown at index i; the limits sit between the
// table's values so that a camera's rounding still lands on its entry.
constexpr std::array<int32_t, 18> kBelow = {12,    24,     120,     240,     1200,    2400,
                                            12000, 18000,  24000,   40000,   45000,   60000,
                                            80000, 120000, 1200000, 2400000, 6000000, 12000000};

constexpr int kLineMin = 1;
constexpr int kLineMax = 1000;
constexpr int kLineStep = 1;
constexpr int kLinePage = 10;

// The camera needs this long after a change of settings before it answers a
// full read reliably.
constexpr int kExposureSettleMs = 500;

// One part of the version text: major, a "0" for a one-digit minor, minor.
QString versionPart(const char* majorFormat, const QString& minorText, int32_t packed) {
  const int major = (packed >> 8) & 0xFF;
  const int minor = packed & 0xFF;
  QString part = QString::fromUtf8(majorFormat).arg(major);
  if (minor < 10) part += QLatin1Char('0');
  return part + minorText.arg(minor);
}

}  // namespace

CDlgUsbParam::CDlgUsbParam(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(320, 200);
  Busy guard(busy_);
  auto* list = control<QComboBox>(kExposureList);
  // Both lists give microseconds, the unit their label names, one item for
  // each row of the table: the value chosen is the value written.
  for (const int32_t microseconds : kExposures) list->addItem(QString::number(microseconds));
  list->setCurrentIndex(-1);

  auto* bar = control<ReqScrollBar>(kExposeLineBar);
  bar->setRange(kLineMin, kLineMax);
  bar->setSingleStep(kLineStep);
  bar->setPageStep(kLinePage);
  for (int id : {kExposeLineLabel, kExposeLineBar, kExposeLineEdit}) controlWidget(id)->hide();

  connect(list, &QComboBox::currentIndexChanged, this, [this](int index) { onExposureChosen(index); });
  connect(control<QCheckBox>(kTriggerCheck), &QCheckBox::clicked, this,
          [this](bool checked) { onTrigger(checked); });
  connect(bar, &ReqScrollBar::scrollRequest, this, [this](int code, int pos) { onExposureLines(code, pos); });
  connect(control<QPushButton>(kVersionButton), &QPushButton::clicked, this, [this] { onVersion(); });
  pushMembers();
}

CDlgUsbParam::~CDlgUsbParam() = default;

int CDlgUsbParam::exposureIndexFor(int32_t microseconds) {
  for (size_t i = 0; i < kBelow.size(); ++i)
    if (microseconds < kBelow[i]) return static_cast<int>(i);
  return -1;
}

int32_t CDlgUsbParam::exposureForIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kExposures.size())) return -1;
  return kExposures[static_cast<size_t>(index)];
}

QString CDlgUsbParam::versionText(int32_t driver, int32_t firmware, int32_t hardware, int32_t hardwareType,
                                  int32_t software, bool chinese) {
  const QString plainMinor = QStringLiteral("%1\t\n");
  const QString hardwareMinor =
      QString::fromUtf8(chinese ? "%1\t\n 硬件类型 %2\t\n" : "%1\t\n Hardware type %2\t\n")
          .arg(QStringLiteral("%1"), QString::number(static_cast<uint32_t>(hardwareType), 16));
  QString text;
  text += versionPart(chinese ? " 驱动版本号 %1." : "Driver ver %1.", plainMinor, driver);
  text += versionPart(chinese ? "固件版本号 %1." : "Type Code %1.", plainMinor, firmware);
  text += versionPart(chinese ? " 硬件版本号 %1." : "Hardware ver %1.", hardwareMinor, hardware);
  text += versionPart(chinese ? " 软件版本号 %1." : " Software ver %1.", plainMinor, software);
  return text;
}

void CDlgUsbParam::pushMembers() {
  Busy guard(busy_);
  auto* list = control<QComboBox>(kExposureList);
  if (list->currentIndex() != exposureIndex_) list->setCurrentIndex(exposureIndex_);
  control<QCheckBox>(kTriggerCheck)->setChecked(trigger_ != 0);
  control<ReqScrollBar>(kExposeLineBar)->setValue(linePos_);
  const QString line = QString::number(lineText_);
  if (control<QLineEdit>(kExposeLineEdit)->text() != line) control<QLineEdit>(kExposeLineEdit)->setText(line);
}

void CDlgUsbParam::refresh() {
  const CameraParams& p = cameraState().params;
  const int index = exposureIndexFor(p.usbExposure);
  if (index >= 0) exposureIndex_ = index;
  trigger_ = p.usbTrigger != 0 ? 1 : 0;
  pushMembers();
}

void CDlgUsbParam::onExposureChosen(int index) {
  if (busy_) return;
  Busy guard(busy_);
  CameraState& s = cameraState();
  {
    WaitCursor wait;
    Desktop::get().sleepMs(kExposureSettleMs);
    if (s.readCameraParams(0) == 0) s.showCameraError();
    exposureIndex_ = index;
    // No selection, or a row the table does not have, keeps the exposure.
    if (const int32_t us = exposureForIndex(index); us >= 0) exposureValue_ = us;
    s.applyParam(tyxid::kUsbExposure, exposureValue_);
    // The camera rounds to what its sensor can do; show what it took. A
    // failed read leaves the value as written.
    int32_t readBack = exposureValue_;
    CameraLibrary::instance().getConfigParam(s.handle, tyxid::kUsbExposure, &readBack, 0);
    exposureValue_ = readBack;
    s.params.usbExposure = exposureValue_;
  }
  s.repaintInfo();
  repaint();
}

void CDlgUsbParam::onTrigger(bool checked) {
  if (busy_) return;
  Busy guard(busy_);
  CameraState& s = cameraState();
  const int32_t state = checked ? 1 : 0;
  // Run mode 1 runs freely, 2 waits for the external trigger.
  s.applyParam(tyxid::kRunMode, state + 1);
  trigger_ = state;
  if (s.readCameraParams(0) == 0) s.showCameraError();
  s.repaintInfo();
}

void CDlgUsbParam::onExposureLines(int code, int pos) {
  if (busy_) return;
  Busy guard(busy_);
  auto* bar = control<ReqScrollBar>(kExposeLineBar);
  const int position =
      ReqScrollBar::standardPosition(code, pos, bar->value(), kLineMin, kLineMax, kLineStep, kLinePage);
  linePos_ = lineText_ = position;
  CameraState& s = cameraState();
  const int32_t time = 10 * position;
  s.params.exposalTime = time;
  s.applyParam(tyxid::kExposalTime, time);
  pushMembers();
  s.repaintInfo();
  repaint();
}

void CDlgUsbParam::onVersion() {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  int32_t software = 0;
  int32_t driver = 0;
  usbInfo_ = TyxUsbInfo{};
  usbInfo_.size = sizeof(TyxUsbInfo);
  // A version the camera did not give is not shown as if it were 0.00.
  if (lib.getUsbInfo(s.handle, 1, &usbInfo_) == 0 || lib.getUsbInfo(s.handle, 2, &software) == 0 ||
      lib.getUsbInfo(s.handle, 3, &driver) == 0) {
    s.showCameraError();
    return;
  }
  const QString text = versionText(driver, usbInfo_.firmwareVersion, usbInfo_.hardwareVersion,
                                   usbInfo_.fpgaVersion, software, s.chinese());
  Desktop::get().message(s.messageParent != nullptr ? s.messageParent : this, text, "Information");
}
