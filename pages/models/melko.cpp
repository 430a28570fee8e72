// melko.cpp - the tab page of the image orientation model (Chinese interface).
#include "pages/models/melko.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

#include "app/camera_values.h"
#include "app/number_text.h"
#include "app/camera_library.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"
#include "pages/models/melko_note_page.h"

// The layout table and the tables below name controls by the window's ids.
using enum CMelko::CtlId;

namespace {

// The page exists only in the Chinese interface; the English texts are
// those of the same layout and are kept for completeness.
constexpr ControlSpec kControls[] = {
    {0, Ctl::Group, "save&display", "存图及分屏显示", 5, 3, 152, 72},
    {0, Ctl::Label, "save", "保存", 11, 17, 22, 10},
    {kSaveValueBar, Ctl::HScroll, nullptr, nullptr, 34, 16, 80, 11},
    {kSaveValueEdit, Ctl::Edit, nullptr, nullptr, 118, 15, 32, 13},
    {0, Ctl::Label, "open", "打开", 11, 35, 22, 10},
    {kOpenValueBar, Ctl::HScroll, nullptr, nullptr, 34, 34, 80, 11},
    {kOpenValueEdit, Ctl::Edit, nullptr, nullptr, 118, 33, 32, 13},
    {kFullScreenRadio, Ctl::RadioFirst, "full", "全屏显示", 14, 55, 60, 10},
    {kHalfScreenRadio, Ctl::Radio, "half", "半屏显示", 82, 55, 60, 10},
    {0, Ctl::Label, "rotate", "旋转", 166, 8, 44, 10},
    {kOrientationList, Ctl::Combo, nullptr, nullptr, 212, 6, 100, 13},
    {0, Ctl::Label, "color mode", "色彩模式", 166, 26, 44, 10},
    {kColourModeList, Ctl::Combo, nullptr, nullptr, 212, 24, 100, 13},
    {0, Ctl::Label, "image aspect", "图像比例", 166, 44, 44, 10},
    {kAspectList, Ctl::Combo, nullptr, nullptr, 212, 42, 100, 13},
    {kTextDisplayCheck, Ctl::Check, "text display", "字符显示", 166, 62, 70, 10},
    {kGammaCheck, Ctl::Check, "gamma", nullptr, 240, 62, 50, 10},
    {0, Ctl::Label, "Xshift", "图像X偏移", 8, 88, 52, 10},
    {kShiftXBar, Ctl::HScroll, nullptr, nullptr, 62, 87, 180, 11},
    {kShiftXEdit, Ctl::Edit, nullptr, nullptr, 248, 86, 40, 13},
    {0, Ctl::Label, "Yshift", "图像Y偏移", 8, 106, 52, 10},
    {kShiftYBar, Ctl::HScroll, nullptr, nullptr, 62, 105, 180, 11},
    {kShiftYEdit, Ctl::Edit, nullptr, nullptr, 248, 104, 40, 13},
    {0, Ctl::Label, "expose line", "曝光行数", 8, 124, 52, 10},
    {kExposureLinesBar, Ctl::HScroll, nullptr, nullptr, 62, 123, 180, 11},
    {kExposureLinesEdit, Ctl::Edit, nullptr, nullptr, 248, 122, 40, 13},
    {0, Ctl::Label, "edge enhance", "边缘增强", 8, 142, 52, 10},
    {kEdgeEnhanceBar, Ctl::HScroll, nullptr, nullptr, 62, 141, 180, 11},
    {kEdgeEnhanceEdit, Ctl::Edit, nullptr, nullptr, 248, 140, 40, 13},
};

constexpr int kLine = 1;
constexpr int kPage = 40;
// A free-running camera cannot expose longer than its frame.
constexpr int kExposureFreeRun = 1568;
constexpr int kExposureMax = 4091;

// Orientation items carry both inverse flags: bit 0 horizontal (id 27),
// bit 1 vertical (id 28).
constexpr int kUpsideDown = 2;  // "倒像": vertical only
constexpr int kMirrored = 1;    // "镜像": horizontal only
constexpr int kRotated = 3;     // "旋转": both
constexpr int kUpright = 0;     // "正像": neither

// The item that shows the camera's pair; a pair the list cannot show
// counts as upside down, the list's first item.
int orientationShown(int32_t horizontal, int32_t vertical) {
  if (horizontal == 1 && vertical == 1) return kRotated;
  if (horizontal == 0 && vertical == 0) return kUpright;
  if (horizontal == 1 && vertical == 0) return kMirrored;
  return kUpsideDown;
}

// The lists keep their items sorted, as the platform's sorted drop-down
// lists do under the Chinese user locale (pinyin order, digits first).
void addSorted(QComboBox* box, const char* text, int value) {
  static const QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
  const QString item = QString::fromUtf8(text);
  int at = 0;
  while (at < box->count() && collator.compare(box->itemText(at), item) <= 0) ++at;
  box->insertItem(at, item, value);
}

// The writes this page has always made without reporting a refusal.
camval::WriteOptions unreported() {
  camval::WriteOptions o;
  o.apply = camval::Apply::Unreported;
  return o;
}

}  // namespace

CMelko::CMelko(QWidget* parent, CTyxVistrelDlg* main) : CameraPage(parent, main) {
  buildControls(kControls);
  setDialogSize(320, 200);
  initialise();
}

CMelko::~CMelko() = default;

ReqScrollBar* CMelko::bar(int id) const { return control<ReqScrollBar>(id); }
QComboBox* CMelko::combo(int id) const { return control<QComboBox>(id); }

void CMelko::initialise() {
  Busy guard(busy_);
  // Static so that the connections may refer to the rows.
  static const Slider sliders[] = {
      {kSaveValueBar, kSaveValueEdit, &CMelko::save_, tyxid::kSaveValue, true, 0, 255},
      {kOpenValueBar, kOpenValueEdit, &CMelko::open_, tyxid::kOpenValue, true, 0, 255},
      {kShiftXBar, kShiftXEdit, &CMelko::xShift_, tyxid::kXShift, true, 0, 215},
      {kShiftYBar, kShiftYEdit, &CMelko::yShift_, tyxid::kYShift, false, 0, 255},
      {kExposureLinesBar, kExposureLinesEdit, &CMelko::exposure_, tyxid::kExposureLines, true, 0,
       kExposureMax},
      {kEdgeEnhanceBar, kEdgeEnhanceEdit, &CMelko::edge_, tyxid::kEdgeEnhance, true, 0, 15},
  };
  for (const Slider& s : sliders) {
    ReqScrollBar* b = bar(s.barId);
    b->setSingleStep(kLine);
    b->setPageStep(kPage);
    connect(b, &ReqScrollBar::scrollRequest, this, [this, &s](int code, int pos) { onScroll(s, code, pos); });
    TypedNumber::attach(
        control<QLineEdit>(s.editId),
        [&s](const QString& t) {
          return TypedNumber::judge(t, TypedNumber::intValue(t), s.checked ? s.lo : INT32_MIN,
                                    s.checked ? s.hi : INT32_MAX);
        },
        [this, &s] { onEditChanged(s); });
  }
  control<QCheckBox>(kGammaCheck)->hide();

  const CameraParams& p = cameraState().params;
  edge_ = p.edgeEnhance;
  xShift_ = p.xShift;
  yShift_ = p.yShift;
  save_ = open_ = 0;
  bar(kEdgeEnhanceBar)->setRange(0, 15);
  // Qt sizes the thumb by the page step; the page handling itself is the
  // page's (40), so a short bar only gets a thumb that fits.
  bar(kEdgeEnhanceBar)->setPageStep(2);
  bar(kEdgeEnhanceBar)->setValue(edge_);
  bar(kOpenValueBar)->setRange(0, 255);
  bar(kOpenValueBar)->setValue(0);
  bar(kSaveValueBar)->setRange(0, 255);
  bar(kSaveValueBar)->setValue(0);
  bar(kShiftXBar)->setRange(0, 215);
  bar(kShiftXBar)->setValue(xShift_);
  bar(kShiftYBar)->setRange(0, 255);
  bar(kShiftYBar)->setValue(yShift_);
  bar(kExposureLinesBar)->setRange(0, p.runMode == 1 ? kExposureFreeRun : kExposureMax);
  pushMembers();

  addSorted(combo(kOrientationList), "倒像", kUpsideDown);
  addSorted(combo(kOrientationList), "镜像", kMirrored);
  addSorted(combo(kOrientationList), "旋转", kRotated);
  addSorted(combo(kOrientationList), "正像", kUpright);
  addSorted(combo(kAspectList), "16:9", 1);
  addSorted(combo(kAspectList), "带缩放4:3", 0);
  addSorted(combo(kAspectList), "无缩放4:3", 2);
  addSorted(combo(kColourModeList), "标准色", 0);
  addSorted(combo(kColourModeList), "偏蓝色", 1);
  addSorted(combo(kColourModeList), "偏红色", 2);
  addSorted(combo(kColourModeList), "自定义色", 3);
  addSorted(combo(kColourModeList), "无色彩模式", 4);

  // activated and clicked come from the user only, as the platform's
  // selection and click notifications do; the page's own changes in
  // refresh() do not write again.
  connect(combo(kOrientationList), &QComboBox::activated, this, [this] { onOrientation(); });
  connect(combo(kAspectList), &QComboBox::activated, this, [this] { onAspect(); });
  connect(combo(kColourModeList), &QComboBox::activated, this, [this] { onColourMode(); });
  writesOnClick(kTextDisplayCheck, tyxid::kTextDisplay);
  writesOnChoice(kFullScreenRadio, tyxid::kDisplayMode, 1);
  writesOnChoice(kHalfScreenRadio, tyxid::kDisplayMode, 0);
}

void CMelko::refresh() {
  Busy guard(busy_);
  CameraState& st = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  // Showing the page puts the camera into the plain colour mode; the other
  // values may change with it, so read them all again.
  if (lib.setConfigParam(st.handle, tyxid::kColourMode, 4, 0) == 1) st.readCameraParams();
  const CameraParams& p = st.params;

  bar(kExposureLinesBar)->setRange(0, p.runMode == 1 ? kExposureFreeRun : kExposureMax);
  int32_t lines = exposure_;
  if (lib.getConfigParam(st.handle, tyxid::kExposureLines, &lines, 0) == 1) exposure_ = lines;
  bar(kExposureLinesBar)->setValue(exposure_);

  edge_ = p.edgeEnhance;
  xShift_ = p.xShift;
  yShift_ = p.yShift;
  bar(kEdgeEnhanceBar)->setValue(edge_);
  bar(kShiftXBar)->setValue(xShift_);
  bar(kShiftYBar)->setValue(yShift_);

  combo(kColourModeList)->setCurrentIndex(combo(kColourModeList)->findData(4));
  save_ = open_ = 0;
  bar(kSaveValueBar)->setValue(0);
  bar(kOpenValueBar)->setValue(0);

  combo(kOrientationList)
      ->setCurrentIndex(
          combo(kOrientationList)->findData(orientationShown(p.horizontalInverse, p.verticalInverse)));
  if (p.frameMode >= 0 && p.frameMode <= 2)
    combo(kAspectList)->setCurrentIndex(combo(kAspectList)->findData(p.frameMode));

  control<QCheckBox>(kTextDisplayCheck)->setChecked(p.textDisplay == 1);
  lib.setConfigParam(st.handle, tyxid::kDisplayMode, 1, 0);
  control<QRadioButton>(kFullScreenRadio)->setChecked(true);
  pushMembers();
}

void CMelko::pushMembers() {
  Busy guard(busy_);
  control<QLineEdit>(kSaveValueEdit)->setText(QString::number(save_));
  control<QLineEdit>(kOpenValueEdit)->setText(QString::number(open_));
  control<QLineEdit>(kShiftXEdit)->setText(QString::number(xShift_));
  control<QLineEdit>(kShiftYEdit)->setText(QString::number(yShift_));
  control<QLineEdit>(kExposureLinesEdit)->setText(QString::number(exposure_));
  control<QLineEdit>(kEdgeEnhanceEdit)->setText(QString::number(edge_));
}

bool CMelko::takeMembers() {
  const CameraState& st = cameraState();
  struct Field {
    int editId;
    int32_t* member;
    bool checked;
    int lo, hi;
  };
  const Field fields[] = {
      {kSaveValueEdit, &save_, true, 0, 255},
      {kOpenValueEdit, &open_, true, 0, 255},
      {kShiftXEdit, &xShift_, true, 0, 215},
      {kShiftYEdit, &yShift_, false, 0, 0},
      {kExposureLinesEdit, &exposure_, true, 0, kExposureMax},
      {kEdgeEnhanceEdit, &edge_, true, 0, 15},
  };
  for (const Field& f : fields) {
    const auto typed = numtext::intValue(control<QLineEdit>(f.editId)->text());
    const bool ok = typed.has_value();
    const int value = static_cast<int>(typed.value_or(0));
    QString problem;
    if (!ok) {
      problem = st.text("Enter a whole number.", "请输入整数。");
    } else if (f.checked && (value < f.lo || value > f.hi)) {
      problem = st.text("Enter a whole number between %1 and %2.", "请输入 %1 到 %2 之间的整数。")
                    .arg(f.lo)
                    .arg(f.hi);
    }
    if (!problem.isEmpty()) {
      // The members keep their last good values and nothing is written.
      Desktop::get().message(this, problem, "Vistrel");
      control<QLineEdit>(f.editId)->setFocus();
      return false;
    }
    *f.member = value;
  }
  return true;
}

void CMelko::onEditChanged(const Slider& slider) {
  if (busy_) return;
  Busy guard(busy_);
  if (!takeMembers()) return;
  const int32_t value = this->*slider.member;
  // A save value of 0 is no picture to store.
  if (slider.paramId == tyxid::kSaveValue && (value <= 0 || value >= 256)) return;
  // The edits have never reported failed writes; the bars do.
  camval::write(slider.paramId, value, unreported());
  bar(slider.barId)->setValue(value);
}

void CMelko::onScroll(const Slider& slider, int code, int pos) {
  // The thumb gives its value only when released; dragging and the end of
  // scrolling leave bar and camera as they are.
  if (code == SbThumbTrack || code == SbEndScroll) return;
  if (busy_) return;
  Busy guard(busy_);
  ReqScrollBar* b = bar(slider.barId);
  int value = ReqScrollBar::standardPosition(code, pos, b->value(), b->minimum(), b->maximum(), kLine, kPage);
  CameraState& st = cameraState();
  this->*slider.member = value;
  camval::write(slider.paramId, value);
  if (slider.paramId == tyxid::kExposureLines) {
    // The camera may hold the exposure to what its mode allows; show what
    // it took.
    int32_t lines = value;
    if (CameraLibrary::instance().getConfigParam(st.handle, tyxid::kExposureLines, &lines, 0) == 1) {
      st.params.exposalTime = lines;
      value = lines;
      this->*slider.member = value;
    }
  }
  b->setValue(value);
  pushMembers();
  st.repaintInfo();
}

void CMelko::onOrientation() {
  WaitCursor wait;
  const QVariant data = combo(kOrientationList)->currentData();
  // No selection puts the image upright.
  const int code = data.isValid() ? data.toInt() : 0;
  const int32_t horizontal = code & 1;
  const int32_t vertical = (code >> 1) & 1;
  // This list has never reported a failed write.
  camval::write(tyxid::kHorizontalInverse, horizontal, unreported());
  camval::write(tyxid::kVerticalInverse, vertical, unreported());
}

void CMelko::onAspect() {
  WaitCursor wait;
  // Without a choice the camera gets the unscaled 4:3 picture.
  const QVariant data = combo(kAspectList)->currentData();
  camval::write(camval::named("image-aspect"), data.isValid() ? data.toInt() : 2);
}

void CMelko::onColourMode() {
  WaitCursor wait;
  CameraState& st = cameraState();
  const QVariant data = combo(kColourModeList)->currentData();
  // The colour mode changes the camera's other colour values; its
  // description reads them all again after the write. Without a choice
  // nothing is written, but the values are read all the same.
  if (data.isValid()) {
    camval::write(tyxid::kColourMode, data.toInt());
    return;
  }
  st.readCameraParams();
  st.repaintInfo();
}
