// dlg_page3.cpp - the one-line control bar that stands in for the main window.
#include "pages/area/dlg_page3.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "app/camera_library.h"
#include "app/camera_values.h"
#include "app/scroll_bar.h"
#include "app/typed_number.h"
#include "app/tyx_vistrel_dlg.h"
#include "app/number_text.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgPage3::CtlId;

namespace {

constexpr ControlSpec kControls[] = {
    // The list is wide enough for its longest entry ("Exposal Time") in our
    // font; the bar gives up the room.
    {kParamList, Ctl::ComboEdit, nullptr, nullptr, 2, 2, 76, 13},
    {kValueBar, Ctl::HScroll, nullptr, nullptr, 81, 4, 99, 9},
    {kValueEdit, Ctl::Edit, nullptr, nullptr, 183, 2, 29, 13},
    {kFullModeButton, Ctl::Button, "完整模式", nullptr, 215, 2, 43, 13},
};

struct EntryText {
  const char* en;
  const char* zh;
};
constexpr EntryText kEntries[CDlgPage3::EntryCount] = {
    {"Gain", "增益"},           {"Black", "黑电平"},          {"Begin Line", "局部起始行"},
    {"End Line", "局部结束行"}, {"Exposal Time", "曝光时间"}, {"R Gain", "R增益"},
    {"G Gain", "G增益"},        {"B Gain", "B增益"},          {"Saturation", "饱和度"},
};
constexpr int kBasicEntries = 5;

// The camera value behind each entry; the bar shows the exposure in lines.
constexpr const char* kEntryValues[CDlgPage3::EntryCount] = {
    "gain", "black", "begin-line", "end-line", "exposure-lines", "r-gain", "g-gain", "b-gain", "saturation"};

const camval::Descriptor& entryValue(int entry) { return camval::named(kEntryValues[entry]); }

// The cameras whose bar also offers the colour values.
bool hasColourEntries(int32_t type) { return types::hasRgbGains(type); }

QString entryText(int entry) { return cameraState().text(kEntries[entry].en, kEntries[entry].zh); }

// Largest multiple of step at or below v (v >= 0).
int32_t floorToStep(int32_t v, int32_t step) { return v < 0 ? 0 : v / step * step; }

}  // namespace

CDlgPage3::CDlgPage3(QWidget* owner, CTyxVistrelDlg* main) : CompanionWindow(owner, main) {
  buildControls(kControls);
  setDialogSize(260, 17);
  // The caption is the same in both languages.
  setWindowTitle(QString::fromUtf8("控制条模式"));
  const CameraState& s = cameraState();
  step_ = s.lineStep;

  auto* list = control<QComboBox>(kParamList);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setMaxVisibleItems(EntryCount);
  auto* edit = control<QLineEdit>(kValueEdit);
  // A numeric edit: digits only.
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));

  {
    Busy guard(busy_);
    setRange(0, 1023);
    barPos_ = s.params.gain;
    editValue_ = s.params.gain;
    selected_ = Gain;
    listText_ = entryText(Gain);
    pushMembers();
    step_ = 1;
    for (int i = 0; i < kBasicEntries; ++i) list->insertItem(i, entryText(i));
    if (hasColourEntries(s.typeCode)) {
      for (int i = kBasicEntries; i < EntryCount; ++i) list->insertItem(i, entryText(i));
    }
    list->setCurrentIndex(Gain);
  }
  if (!s.chinese()) control<QPushButton>(kFullModeButton)->setText("Full Mode");

  connect(list, &QComboBox::currentIndexChanged, this, [this](int index) { onSelect(index); });
  TypedNumber::attach(
      edit, [this](const QString& t) { return judgeEdit(t); }, [this] { onEdit(); });
  connect(control<ReqScrollBar>(kValueBar), &ReqScrollBar::scrollRequest, this,
          [this](int code, int pos) { onScroll(code, pos); });
  connect(control<QPushButton>(kFullModeButton), &QPushButton::clicked, this, [this] { onFullMode(); });
}

CDlgPage3::~CDlgPage3() = default;

void CDlgPage3::setRange(int lo, int hi) {
  auto* bar = control<ReqScrollBar>(kValueBar);
  bar->setRange(lo, std::max(lo, hi));
}

void CDlgPage3::syncEntries() {
  auto* list = control<QComboBox>(kParamList);
  if (hasColourEntries(cameraState().typeCode)) {
    if (list->count() <= kBasicEntries) {
      for (int i = kBasicEntries; i < EntryCount; ++i) list->insertItem(i, entryText(i));
    }
  } else {
    for (int i = EntryCount - 1; i >= kBasicEntries; --i) {
      if (i < list->count()) {
        // A removed entry that was chosen leaves nothing chosen, as the
        // platform's lists do; refresh() then falls back to the gain.
        const bool wasCurrent = list->currentIndex() == i;
        list->removeItem(i);
        if (wasCurrent) list->setCurrentIndex(-1);
      }
    }
  }
}

void CDlgPage3::refresh() {
  Busy guard(busy_);
  syncEntries();
  auto* list = control<QComboBox>(kParamList);
  int entry = list->currentIndex();
  if (entry < 0 || entry >= list->count()) {
    entry = Gain;
    list->setCurrentIndex(Gain);
    listText_ = list->itemText(Gain);
    // The gain moves in ones; a step left from a line or colour entry would
    // make the bar skip values.
    step_ = 1;
  }
  selected_ = entry;
  showEntry(entry, false);
  pushMembers();
}

void CDlgPage3::showEntry(int entry, bool selecting) {
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  CameraLibrary& lib = CameraLibrary::instance();
  switch (entry) {
    case Gain:
      setRange(0, 1023);
      barPos_ = p.gain;
      editValue_ = p.gain;
      if (selecting) step_ = 1;
      break;
    case Black:
      setRange(0, 255);
      barPos_ = p.black;
      editValue_ = p.black;
      if (selecting) step_ = 1;
      break;
    case BeginLine:
      if (selecting) {
        step_ = s.lineStep;
        setRange(step(), floorToStep(p.endLine - 1, step()));
      } else {
        setRange(0, p.endLine - 1);
      }
      barPos_ = p.beginLine;
      editValue_ = p.beginLine;
      break;
    case EndLine:
      setRange(p.beginLine + 1, s.lineCount - 1);
      barPos_ = p.endLine;
      editValue_ = p.endLine;
      if (selecting) step_ = 1;
      break;
    case Exposure: {
      int32_t lo = 0, hi = 0;
      lib.calExposeRange(s.handle, &lo, &hi);
      setRange(lo, hi);
      barPos_ = p.exposalTime;
      editValue_ = lib.calExposeTime(s.handle, p.exposalTime);
      if (selecting) step_ = 1;
      break;
    }
    case RedGain:
    case GreenGain:
    case BlueGain: {
      const int32_t v = entry == RedGain ? p.rGain : entry == GreenGain ? p.gGain : p.bGain;
      setRange(0, 252);
      barPos_ = v;
      editValue_ = v;
      if (selecting) step_ = 4;
      break;
    }
    case Saturation:
      setRange(0, 255);
      barPos_ = p.saturation;
      editValue_ = p.saturation;
      if (selecting) step_ = 1;
      break;
    default: break;
  }
}

void CDlgPage3::pushMembers() {
  Busy guard(busy_);
  auto* list = control<QComboBox>(kParamList);
  if (list->currentText() != listText_) list->setEditText(listText_);
  control<ReqScrollBar>(kValueBar)->setValue(barPos_);
  numtext::showUnlessReadsAs(control<QLineEdit>(kValueEdit), editValue_);
}

void CDlgPage3::takeMembers() {
  auto* list = control<QComboBox>(kParamList);
  selected_ = list->currentIndex();
  listText_ = list->currentText();
  if (auto v = numtext::unsignedValue(control<QLineEdit>(kValueEdit)->text()))
    editValue_ = static_cast<int64_t>(*v);
  barPos_ = control<ReqScrollBar>(kValueBar)->value();
}

void CDlgPage3::onSelect(int index) {
  if (busy_) return;
  Busy guard(busy_);
  auto* list = control<QComboBox>(kParamList);
  selected_ = index;
  listText_ = index >= 0 ? list->itemText(index) : QString();
  showEntry(index, true);
  pushMembers();
}

TypedNumber::Verdict CDlgPage3::judgeEdit(const QString& text) const {
  const CameraState& s = cameraState();
  const CameraParams& p = s.params;
  const auto typed = numtext::unsignedValue(text);
  const auto value = typed ? std::optional<int64_t>(static_cast<int64_t>(*typed)) : std::nullopt;
  const auto judge = [&](int64_t lo, int64_t hi, bool quiet = true) {
    return TypedNumber::judge(text, value, lo, hi, quiet);
  };
  switch (selected_) {
    case Gain: return judge(0, 1023);
    case Black:
    case Saturation: return judge(0, 255);
    case BeginLine:
      // A later first line shortens the frame, which can lower the exposure
      // (another value): such a line waits for the user to confirm it.
      if (value && *value % step() != 0) return judge(step(), p.endLine - 1, false);
      return judge(step(), p.endLine - 1, value && *value <= p.beginLine);
    case EndLine: return judge(p.beginLine + 1, s.lineCount - 1, value && *value >= p.endLine);
    case Exposure: {
      CameraLibrary& lib = CameraLibrary::instance();
      int32_t lo = 0, hi = 0;
      if (lib.calExposeRange(s.handle, &lo, &hi) == 0) return TypedNumber::Take;
      return judge(lib.calExposeTime(s.handle, lo), lib.calExposeTime(s.handle, hi));
    }
    case RedGain:
    case GreenGain:
    case BlueGain:
      // Only multiples of 4 are taken; the others are the way to one.
      if (value && *value % 4 != 0 && *value <= 255) return TypedNumber::Wait;
      return judge(0, 252);
    default: return TypedNumber::Take;
  }
}

void CDlgPage3::onEdit() {
  if (busy_) return;
  Busy guard(busy_);
  takeMembers();
  const auto typed = numtext::unsignedValue(control<QLineEdit>(kValueEdit)->text());
  if (!typed) return;
  const uint64_t x = *typed;
  CameraState& s = cameraState();
  const CameraParams& p = s.params;
  CameraLibrary& lib = CameraLibrary::instance();
  if (selected_ < 0 || selected_ >= EntryCount) return;
  int32_t v = static_cast<int32_t>(std::min<uint64_t>(x, INT32_MAX));
  switch (selected_) {
    case Gain:
      if (x > 1023) return;
      break;
    case Black:
    case Saturation:
      if (x > 255) return;
      break;
    case BeginLine:
      // Off the step is refused, not lowered to it (the parameter page
      // lowers it); the begin line's description has both rows.
      if (v % step() != 0 || static_cast<int64_t>(x) > p.endLine - 1 || v < step()) return;
      break;
    case EndLine:
      // The sensor has no line past the last one; the camera would refuse it
      // and the record would be left holding it.
      if (static_cast<int64_t>(x) < static_cast<int64_t>(p.beginLine) + 1 ||
          static_cast<int64_t>(x) > s.lineCount - 1) {
        return;
      }
      break;
    case Exposure: {
      int32_t lo = 0, hi = 0;
      // No range, no exposure known to be valid.
      if (lib.calExposeRange(s.handle, &lo, &hi) == 0) return;
      const int64_t tmin = lib.calExposeTime(s.handle, lo);
      const int64_t tmax = lib.calExposeTime(s.handle, hi);
      if (static_cast<int64_t>(x) < tmin || static_cast<int64_t>(x) > tmax) return;
      v = lib.calExposeLine(s.handle, v);
      break;
    }
    case RedGain:
    case GreenGain:
    case BlueGain:
      // Off the step is refused here too; the colour page lowers it.
      if (x > 255 || x % 4 != 0) return;
      break;
    default: return;
  }
  barPos_ = v;
  camval::write(entryValue(selected_), v);
  editValue_ = static_cast<int64_t>(x);
  pushMembers();
}

void CDlgPage3::onScroll(int code, int pos) {
  if (busy_) return;
  if (selected_ < 0 || selected_ >= EntryCount) return;
  Busy guard(busy_);
  auto* bar = control<ReqScrollBar>(kValueBar);
  const camval::Descriptor& value = entryValue(selected_);
  const int32_t st = step();
  const int32_t v = ReqScrollBar::standardPosition(code, pos, bar->value(), bar->minimum(), bar->maximum(), st,
                                                   camval::rule(value, camval::Window::ControlBar).bar);
  CameraState& s = cameraState();
  const CameraParams& par = s.params;
  CameraLibrary& lib = CameraLibrary::instance();
  switch (selected_) {
    case BeginLine:
      if (v % st != 0 || v > par.endLine - 1 || v < st || v > s.lineCount - st) return;
      break;
    case EndLine:
      if (v < par.beginLine + 1 || v > s.lineCount - 1) return;
      break;
    case Exposure: {
      int32_t emin = 0, emax = 0;
      if (lib.calExposeRange(s.handle, &emin, &emax) == 0 || v < emin || v > emax) return;
      camval::write(value, v);
      editValue_ = lib.calExposeTime(s.handle, v);
      barPos_ = v;
      pushMembers();
      return;
    }
    default: break;
  }
  camval::write(value, v);
  editValue_ = v;
  barPos_ = v;
  pushMembers();
}

void CDlgPage3::onFullMode() {
  if (CTyxVistrelDlg* main = mainWindow()) main->show();
  CompanionWindow::reject();
}

void CDlgPage3::reject() { onFullMode(); }
