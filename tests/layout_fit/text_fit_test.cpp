// text_fit_test.cpp - every text of every page is shown whole, in both languages.
//
// The layouts keep the geometry of the platform they were drawn for; a label
// or button narrower than its text in our fonts cuts the text off, and the
// user reads half a word. Each camera of the table opens the main window, shows
// every tab and checks each visible text control against its own font.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <memory>
#include <string>

#include "app/camera_library.h"
#include "app/camera_page.h"
#include "app/camera_state.h"
#include "app/my_tab.h"
#include "app/page_kinds.h"
#include "app/tyx_vistrel_dlg.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"
#include "imaging/sim_board_control.h"

namespace {

struct CameraCase {
  const char* name;
  const char* camera;  // TYPE or TYPE/VERSION, placed on COM1
};

// Together these get every page kind.
const CameraCase kCameras[] = {
    {"ColourArea219290", "219290"}, {"CircleVideo212630", "212630/4"}, {"Ntsc210781", "210781/2"},
    {"Short215590", "215590/9"},    {"MultiFrame210780", "210780/4"},  {"ColourLine120770", "120770"},
    {"Line117810", "117810"},       {"Small110410", "110410"},         {"Usb219660", "219660"},
    {"Usb211150", "211150"},        {"Tarvo321880", "321880"},         {"Melko321140", "321140"},
    {"UsbImage218920", "218920"},
};

// The text as drawn: a single & marks a shortcut and takes no room.
QString shown(QString text) {
  text.replace("&&", QString(QChar(0xFFFF)));
  text.remove('&');
  text.replace(QChar(0xFFFF), "&");
  return text;
}

// Room a control needs for its text, and the room it has.
struct Fit {
  int needed = 0;
  int room = 0;
};

Fit fitOf(QWidget* w) {
  Fit f;
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull()) return f;
    f.needed = label->fontMetrics().horizontalAdvance(shown(label->text()));
    f.room = label->contentsRect().width();
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    if (button->text().isEmpty()) return f;
    const int text = button->fontMetrics().horizontalAdvance(shown(button->text()));
    if (qobject_cast<QPushButton*>(w) != nullptr) {
      // The label is clipped to the bevel's inside.
      f.needed = text + 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    } else {
      // Indicator, the gap after it, then the text.
      const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
      const int indicator = button->style()->pixelMetric(
          radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, button);
      const int gap = button->style()->pixelMetric(
          radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
      f.needed = indicator + gap + text;
    }
    f.room = button->width();
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    // The widest item against the field that shows the chosen one.
    for (int i = 0; i < combo->count(); ++i)
      f.needed = std::max(f.needed, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    f.room = combo->style()
                 ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                 .width();
    if (QLineEdit* edit = combo->lineEdit()) {
      // An editable list shows its text in a line edit, inside its margins.
      const QMargins m = edit->textMargins();
      f.room = edit->contentsRect().width() - m.left() - m.right() - 4;
    }
    if (f.needed == 0) f.room = 0;
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    if (group->title().isEmpty()) return f;
    f.needed = group->fontMetrics().horizontalAdvance(shown(group->title()));
    f.room = group->width();
  }
  return f;
}

class TextFit : public ::testing::TestWithParam<std::tuple<CameraCase, int32_t>> {
 protected:
  void SetUp() override {
    Desktop::install(&desktop);
    sim.reset();
  }
  void TearDown() override {
    window.reset();
    Desktop::install(nullptr);
  }

  // Every visible text control below root whose text is cut off.
  // Drop-down lists are measured (every item against the field that shows
  // the chosen one) where `lists` is set.
  void collect(QWidget* root, const std::string& where, std::vector<std::string>* cut, bool lists = false) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(root)) continue;
      if (!lists && qobject_cast<QComboBox*>(w) != nullptr) continue;
      const Fit f = fitOf(w);
      if (f.room > 0 || f.needed > 0) ++checked_;
      if (f.needed > f.room) {
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
        if (auto* c = qobject_cast<QComboBox*>(w)) text = c->currentText() + " (widest item)";
        cut->push_back(where + " " + w->objectName().toStdString() + " \"" + text.toStdString() +
                       "\" needs " + std::to_string(f.needed) + " px, has " + std::to_string(f.room));
      }
    }
  }

  SimCamera sim;
  FakeDesktop desktop;
  std::unique_ptr<CTyxVistrelDlg> window;
  int checked_ = 0;  // text controls measured
};

TEST_P(TextFit, EveryTextIsShownWhole) {
  const CameraCase& c = std::get<0>(GetParam());
  const int32_t language = std::get<1>(GetParam());
  sim.control(std::string("clear;camera COM1=") + c.camera);
  window.reset(startMainWindow(language));
  window->show();
  QApplication::processEvents();
  ASSERT_NE(cameraState().handle, nullptr);
  std::vector<std::string> cut;
  CMyTab* tabs = window->tabs();
  for (int i = 0; i < tabs->pageCount(); ++i) {
    tabs->setCurrentIndex(i);
    QApplication::processEvents();
    collect(window.get(), "tab " + std::to_string(i), &cut);
  }
  // The windows beside the main window, as they first appear.
  const struct {
    CompanionKind kind;
    const char* name;
  } companions[] = {{CompanionKind::ControlBar, "control bar"},
                    {CompanionKind::GrabVideo, "video window"},
                    {CompanionKind::PaintUsb, "image window"}};
  for (const auto& companion : companions) {
    QWidget* w = window->companion(companion.kind);
    if (w == nullptr) continue;
    w->show();
    QApplication::processEvents();
    const int before = checked_;
    collect(w, companion.name, &cut, companion.kind == CompanionKind::ControlBar);
    EXPECT_GT(checked_, before) << companion.name << " has no text to measure";
    w->hide();
  }
  EXPECT_GT(checked_, 20);
  RecordProperty("texts_measured", checked_);
  std::string all;
  for (const std::string& line : cut) all += "\n  " + line;
  EXPECT_TRUE(cut.empty()) << cut.size() << " texts cut off:" << all;
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<CameraCase, int32_t>>& info) {
  return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) == 2 ? "_zh" : "_en");
}

INSTANTIATE_TEST_SUITE_P(AllPages, TextFit,
                         ::testing::Combine(::testing::ValuesIn(kCameras), ::testing::Values(9, 2)),
                         caseName);

// The board-selection dialog lists each board as " No.%d :   ID=%d :  name";
// the simulated board's line is read whole in the closed list.
TEST(BoardChoice, TheBoardLineIsShownWhole) {
  for (const int32_t language : {9, 2}) {
    SCOPED_TRACE(language);
    FakeDesktop desktop;
    SimCamera sim;
    sim.reset();
    SimBoardControl boards;
    ASSERT_TRUE(boards.bind());
    ASSERT_EQ(boards.control("reset"), 1);
    sim.control("clear;camera COM1=219290");
    std::unique_ptr<CTyxVistrelDlg> window(startMainWindow(language));
    Fit fit;
    QString text;
    desktop.dialogs.push_back([&](QDialog* d) {
      d->show();
      QApplication::processEvents();
      if (auto* combo = d->findChild<QComboBox*>("2011")) {
        fit = fitOf(combo);
        text = combo->itemText(0);
      }
      return int(QDialog::Rejected);
    });
    window->button(CTyxVistrelDlg::kGrabButton)->click();
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains("ID=")) << text.toStdString();
    EXPECT_LE(fit.needed, fit.room) << "\"" << text.toStdString() << "\" needs " << fit.needed << " px, has "
                                    << fit.room;
    window.reset();
    CameraLibrary::instance().resetForTests();
  }
}

}  // namespace
