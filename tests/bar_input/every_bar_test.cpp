// every_bar_test.cpp - the wheel and every entry of a bar's own menu, on each kind of bar, reach the camera
// through the page's rules.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSlider>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/bar_input.h"
#include "common/page_test.h"
#include "imaging/dlg_usb_param.h"
#include "pages/area/dlg_color_param.h"
#include "pages/area/dlg_mode.h"
#include "pages/area/dlg_page3.h"
#include "pages/area/dlg_param.h"
#include "pages/linescan/dlg_linear_color.h"
#include "pages/linescan/dlg_linear_param.h"
#include "pages/models/dlg_color_correct.h"
#include "pages/models/dlg_tarvo.h"
#include "pages/models/melko.h"

namespace {

struct BarCase {
  const char* name;
  std::string port, camera;
  int32_t language;
  // Camera settings the page needs before it is built (a run mode, say).
  std::function<void()> prepare;
  std::function<QWidget*()> make;
  int bar;
  int32_t id;  // the parameter the bar writes
  int scale;   // the value written is scale x the bar's position
  // The page refuses the ends of its bar (they are off its step): those
  // entries leave the bar and the camera alone.
  bool endsRefused = false;
};

void PrintTo(const BarCase& c, std::ostream* os) { *os << c.name; }

// The control bar with one of its entries chosen in its list.
std::function<QWidget*()> controlBarOn(int entry) {
  return [entry] {
    auto* bar = new CDlgPage3(nullptr, nullptr);
    bar->control<QComboBox>(CDlgPage3::kParamList)->setCurrentIndex(entry);
    return bar;
  };
}

template <class Page>
std::function<QWidget*()> build() {
  return [] { return new Page(nullptr, nullptr); };
}

void readRecords() {
  CameraState& s = cameraState();
  s.readCameraParams();
  if (s.extendedBlockTag == 1) CameraLibrary::instance().getConfigParam(s.handle, 34, &s.ext, 0);
  s.copyLineGeometry();
}

void readBlock() { cameraState().readLinearParams(); }

// An area of 1000 pixels leaves the start room to move both ways.
void shortArea() {
  CameraLibrary::instance().setConfigParam(cameraState().handle, 105, 1000, 0);
  readBlock();
}

void edgeTrigger() {
  CameraLibrary::instance().setConfigParam(cameraState().handle, 2, 2, 0);
  readRecords();
}

class EveryBar : public CameraPageTest, public ::testing::WithParamInterface<BarCase> {
 protected:
  void SetUp() override {
    const BarCase& c = GetParam();
    openOn(c.port, c.camera, c.language);
    if (HasFatalFailure()) return;
    c.prepare();
    widget.reset(c.make());
    widget->resize(std::max(widget->width(), 400), std::max(widget->height(), 200));
    showWidget();
    target = bar(c.bar);
    ASSERT_NE(target, nullptr);
    // Away from both ends, so that every request can move the bar.
    const int middle = (target->minimum() + target->maximum()) / 2;
    target->request(SbThumbPosition, middle);
    target->request(SbEndScroll, middle);
    sim.clearLog();
    desktop.clear();
  }
  // The last value the bar's parameter was written with since the log was
  // cleared, or nothing.
  std::optional<int64_t> written() const {
    std::optional<int64_t> last;
    for (const auto& [id, value] : sim.writes())
      if (id == GetParam().id) last = value;
    return last;
  }
  // What one input did: the bar moved the expected way and the camera got
  // the bar's new position, by the page's own rule.
  void expectMoved(const char* input, int before, int direction) {
    SCOPED_TRACE(input);
    const int now = target->value();
    if (direction > 0) {
      EXPECT_GT(now, before);
    } else {
      EXPECT_LT(now, before);
    }
    const auto value = written();
    ASSERT_TRUE(value.has_value()) << "nothing reached the library";
    EXPECT_EQ(*value, int64_t{GetParam().scale} * now);
    EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join('|').toStdString();
    sim.clearLog();
    desktop.clear();
  }
  QPoint grooveAt(double fraction) const {
    QStyleOptionSlider option;
    option.initFrom(target);
    option.orientation = target->orientation();
    option.minimum = target->minimum();
    option.maximum = target->maximum();
    option.sliderPosition = target->sliderPosition();
    option.sliderValue = target->value();
    const QRect groove =
        target->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, target);
    return QPoint(groove.left() + static_cast<int>(fraction * groove.width()), groove.center().y());
  }

  ReqScrollBar* target = nullptr;
};

}  // namespace

TEST_P(EveryBar, WheelAndMenuGiveTheRequestsThePageWrites) {
  int before = target->value();
  turnWheel(target, -1);  // towards the user: to the right
  expectMoved("wheel towards the user", before, +1);
  before = target->value();
  turnWheel(target, 1);
  expectMoved("wheel away from the user", before, -1);

  struct Entry {
    ReqScrollBar::MenuChoice choice;
    int direction;
  };
  const Entry entries[] = {{ReqScrollBar::PageRight, +1},   {ReqScrollBar::PageLeft, -1},
                           {ReqScrollBar::ScrollRight, +1}, {ReqScrollBar::ScrollLeft, -1},
                           {ReqScrollBar::RightEdge, +1},   {ReqScrollBar::LeftEdge, -1}};
  for (const Entry& e : entries) {
    before = target->value();
    ASSERT_TRUE(chooseFromBarMenu(target, e.choice, target->rect().center()));
    const bool edge = e.choice == ReqScrollBar::RightEdge || e.choice == ReqScrollBar::LeftEdge;
    if (edge && GetParam().endsRefused) {
      // The end request is refused; the end of scrolling writes the
      // position it keeps.
      EXPECT_EQ(target->value(), before);
      if (const auto value = written()) {
        EXPECT_EQ(*value, int64_t{GetParam().scale} * before);
      }
      sim.clearLog();
      continue;
    }
    expectMoved(target->menuText(e.choice).toUtf8().constData(), before, e.direction);
  }
  // From the left end, "Scroll here" three quarters along the groove.
  before = target->value();
  ASSERT_TRUE(chooseFromBarMenu(target, ReqScrollBar::ScrollHere, grooveAt(0.75)));
  expectMoved("Scroll here", before, +1);
  EXPECT_GT(target->value(), (target->minimum() + target->maximum()) / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EveryBar,
    ::testing::Values(
        BarCase{"ModeRiseDelay", "COM1", "219290", 9, edgeTrigger, build<CDlgMode>(), 1153, 31, 1},
        BarCase{"ParamGain", "COM1", "219290", 9, readRecords, build<CDlgParam>(), 1047, 1, 1},
        BarCase{"ColourGain", "COM1", "219290", 9, readRecords, build<CDlgColorParam>(), 1057, 10, 1},
        // Written only at the end of scrolling, which the wheel and the menu
        // now give.
        BarCase{"ColourSaturation", "COM1", "219290", 9, readRecords, build<CDlgColorParam>(), 1060, 13, 1},
        BarCase{"ControlBarGain", "COM1", "219290", 9, readRecords, build<CDlgPage3>(), 1031, 1, 1},
        // Entries that move in steps of 4 and of the line step: the wheel
        // went only to the left on them when it dragged the thumb.
        BarCase{"ControlBarRedGain", "COM1", "219290", 9, readRecords, controlBarOn(5), 1031, 10, 1},
        // After a repaint its bar runs from 0 to the end line - 1, ends
        // which are off the line step and refused.
        BarCase{"ControlBarBeginLine", "COM1", "219290", 9, readRecords, controlBarOn(2), 1031, 7, 1, true},
        BarCase{"LineScanRedGain", "COM1", "120770", 9, readBlock, build<CDlgLinearColor>(), 1173, 112, 1},
        // Written only at the end of scrolling; kept inside the area limit.
        BarCase{"LineScanAoiStart", "COM1", "120770", 9, shortArea, build<CDlgLinearParam>(), 1176, 104, 1},
        BarCase{"ColourCorrectBrightness", "COM1", "219660", 9, readRecords, build<CDlgColorCorrect>(), 1098,
                4, 1},
        BarCase{"TarvoContrast", "COM1", "321880", 9, readRecords, build<CDlgTarvo>(), 1100, 49, 1},
        BarCase{"MelkoSave", "COM1", "321140", 2, readRecords, build<CMelko>(), 1241, 66, 1},
        BarCase{"UsbExposureLines", "COM1", "219660", 9, readRecords, build<CDlgUsbParam>(), 1096, 9, 10}),
    [](const auto& info) { return std::string(info.param.name); });
