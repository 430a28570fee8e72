// dlg_grab_video_test.cpp - the grab video window: board choice, signal test, auto-set, offsets.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/scroll_bar.h"
#include "app/strings.h"
#include "grab_video_fixture.h"

using GrabVideoTest = GrabVideoFixture;

TEST_F(GrabVideoTest, WithoutBoardsTheSelectionReportsAndOpenFails) {
  ASSERT_EQ(sim.control("boards=0"), 1);
  scriptSelection();
  EXPECT_FALSE(window->openGrab(nullptr));
  ASSERT_EQ(desktop.texts(), QStringList{"valid only for tyx image board,no tyx board detected,failed!"});
  EXPECT_TRUE(desktop.lastDialogClass.isEmpty());  // the dialog ended before showing
  EXPECT_EQ(window->board(), nullptr);
}

TEST_F(GrabVideoTest, SelectionListsTheBoardsAndTakesMinusOneAsTheFirst) {
  ASSERT_EQ(sim.control("boards=2"), 1);
  EXPECT_EQ(window->selectedBoard(), -1);
  QStringList items;
  QString shownIndex, shownCount, afterChoice;
  desktop.dialogs.push_back([&](QDialog* d) {
    auto* combo = d->findChild<QComboBox*>(QString::number(CDlgSelectBoard::kBoardList));
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    shownIndex = d->findChild<QLabel*>(QString::number(CDlgSelectBoard::kSelectedText))->text();
    shownCount = d->findChild<QLabel*>(QString::number(CDlgSelectBoard::kBoardCountText))->text();
    combo->setCurrentIndex(1);
    afterChoice = d->findChild<QLabel*>(QString::number(CDlgSelectBoard::kSelectedText))->text();
    d->findChild<QPushButton*>("1")->click();
    return d->result();
  });
  ASSERT_TRUE(window->openGrab(nullptr));
  EXPECT_EQ(desktop.lastDialogClass, "CDlgSelectBoard");
  EXPECT_EQ(shownCount, "2");
  EXPECT_EQ(shownIndex, "0");
  EXPECT_EQ(afterChoice, "1");
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0], " No.0 :   ID=20736 :  TYX-VG4 simulated board 0    ");
  EXPECT_EQ(window->selectedBoard(), 1);
  EXPECT_TRUE(logged("OpenBoard 1"));
  EXPECT_EQ(window->frameBlockSize(), 10485760u);
}

TEST_F(GrabVideoTest, CancelOpensNoBoard) {
  scriptSelection(2);
  EXPECT_FALSE(window->openGrab(nullptr));
  EXPECT_FALSE(logged("OpenBoard 0"));
  EXPECT_EQ(window->board(), nullptr);
}

TEST_F(GrabVideoTest, RefusedOpenShowsTheTextOfItsCode) {
  struct Case {
    int32_t code;
    const char* text;
  } cases[] = {
      {1, " ErrorCode=1\n\n Not found correct 'Tyx series Image Boards' in this Machine! "},
      {2, " ErrorCode=2\n\n Failed to open device vxd/service driver for Tyx Image Board!"},
      {7, " ErrorCode=7\n\n Open selected board failed! "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    desktop.clear();
    EXPECT_FALSE(open("fail=open:" + std::to_string(c.code)));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, c.text);
    EXPECT_EQ(desktop.messages[0].caption, "Warning");
  }
}

namespace {

struct SignalCase {
  const char* config;
  const char* source;
  const char* type;
  const char* lines;
  const char* rate;
  const char* trigger;
  bool autoSet;
};

}  // namespace

TEST_F(GrabVideoTest, SignalTestTexts) {
  const SignalCase cases[] = {
      {"", "signal detected(Color)", "Interlaced", "625 lines", "50 field/s", "no trig", true},
      {"color=0;interlaced=0;lines=1000;rate=60;trigger=1", "signal detected(B/W)", "Non-interlaced", "1000 lines",
       "60 field/s", "trig status", true},
      {"signal=0", "no signal", "unknow", "unknow", "unknow", "no trig", false},
      {"signal=unsupported;trigger=-1", "unsupport", "unknow", "unknow", "unknow", "unsupport", false},
      {"lines=-1;rate=-1;interlaced=-1", "signal detected(Color)", "unsupport", "unsupport", "unknow", "no trig",
       false},
      {"interlaced=3", "signal detected(Color)", "unknow", "625 lines", "50 field/s", "no trig", true},
  };
  for (const SignalCase& c : cases) {
    SCOPED_TRACE(c.config);
    window.reset();
    ASSERT_EQ(sim.control("reset"), 1);
    window = std::make_unique<CDlgGrabVideo>(nullptr, nullptr);
    ASSERT_TRUE(open(c.config));
    EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kSourceText)->text(), c.source);
    EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kTypeText)->text(), c.type);
    EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kLinesText)->text(), c.lines);
    EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kRateText)->text(), c.rate);
    EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kTriggerText)->text(), c.trigger);
    EXPECT_EQ(ctl<QPushButton>(CDlgGrabVideo::kAutoSetButton)->isEnabled(), c.autoSet);
    EXPECT_EQ(ctl<QRadioButton>(CDlgGrabVideo::kAspect43Radio)->isEnabled(), c.autoSet);
    EXPECT_EQ(ctl<QRadioButton>(CDlgGrabVideo::kAspect11Radio)->isEnabled(), c.autoSet);
    EXPECT_TRUE(ctl<QRadioButton>(CDlgGrabVideo::kAspect43Radio)->isChecked());
    EXPECT_TRUE(logged("PutSignalParam 1 15"));
  }
}

class GrabVideoChineseTest : public GrabVideoFixture {
protected:
  int32_t language() const override { return 2; }
};

TEST_F(GrabVideoChineseTest, SignalTestTextsInChinese) {
  ASSERT_TRUE(open("lines=525;rate=60"));
  EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kSourceText)->text(), QString::fromUtf8("检测到了信号源(Color)"));
  EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kTypeText)->text(), QString::fromUtf8("隔行信号(Interlaced)"));
  EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kLinesText)->text(), QString::fromUtf8("525 行"));
  EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kRateText)->text(), QString::fromUtf8("60 场数/秒"));
  EXPECT_EQ(ctl<QLabel>(CDlgGrabVideo::kTriggerText)->text(), QString::fromUtf8("无触发"));
  EXPECT_EQ(ctl<QPushButton>(CDlgGrabVideo::kCaptureButton)->text(), QString::fromUtf8("采集图像"));
}

TEST_F(GrabVideoTest, OffsetRangesBeforeAndAfterOpening) {
  auto* x = ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar);
  auto* y = ctl<ReqScrollBar>(CDlgGrabVideo::kYOffsetBar);
  EXPECT_EQ(x->maximum(), 768);
  EXPECT_EQ(y->maximum(), 576);
  EXPECT_EQ(x->value(), 168);
  EXPECT_EQ(y->value(), 38);
  ASSERT_TRUE(open());
  EXPECT_EQ(x->maximum(), 400);  // video parameter 12 of the board
  EXPECT_EQ(y->maximum(), 200);
}

namespace {

struct AutoSetCase {
  const char* config;
  bool square;
  std::vector<std::string> writes;
  int sleepMs;  // 0: none
};

}  // namespace

TEST_F(GrabVideoTest, AutoSetWritesTheTimingOfTheSignal) {
  const AutoSetCase cases[] = {
      {"", false,
       {"SetVideoParam 8 1", "SetCaptureParam 10 1", "SetVideoParam 7 0", "SetVideoParam 13 0",
        "SetTargetRect 0 0 0 768 576", "SetTargetRect 1 0 0 768 576"},
       0},
      {"lines=525;rate=60", false,
       {"SetVideoParam 8 1", "SetCaptureParam 10 1", "SetVideoParam 7 1", "SetVideoParam 13 0",
        "SetTargetRect 0 0 0 640 480", "SetTargetRect 1 0 0 640 480"},
       0},
      // The user's 1:1 survives the signal test the auto-set runs first.
      {"", true,
       {"SetVideoParam 8 1", "SetCaptureParam 10 1", "SetVideoParam 9 " + std::to_string((50 << 16) | 100),
        "SetVideoParam 7 2", "SetVideoParam 13 0", "SetCaptureParam 11 709", "SetCaptureParam 12 625",
        "SetTargetRect 0 0 0 576 576", "SetTargetRect 1 0 0 576 576"},
       0},
      {"interlaced=0;lines=1000;rate=60", false,
       {"SetVideoParam 8 0", "SetCaptureParam 10 0", "SetVideoParam 7 2", "SetCaptureParam 11 1000",
        "SetCaptureParam 12 1000", "SetVideoParam 13 2", "SetVideoParam 19 " + std::to_string((80 << 16) | 180),
        "SetVideoParam 7 2", "SetTargetRect 0 0 0 800 900", "SetTargetRect 1 0 0 800 900"},
       1000},
  };
  for (const AutoSetCase& c : cases) {
    SCOPED_TRACE(std::string(c.config) + (c.square ? " 1:1" : " 4:3"));
    window.reset();
    ASSERT_EQ(sim.control("reset"), 1);
    window = std::make_unique<CDlgGrabVideo>(nullptr, nullptr);
    ASSERT_TRUE(open(c.config));
    if (c.square) ctl<QRadioButton>(CDlgGrabVideo::kAspect11Radio)->click();
    clearLog();
    desktop.clear();
    const int cursorsBefore = desktop.waitCursorShown;
    ctl<QPushButton>(CDlgGrabVideo::kAutoSetButton)->click();
    EXPECT_TRUE(loggedInOrder(c.writes)) << sim.log();
    EXPECT_EQ(desktop.waitCursorShown, cursorsBefore + 1);
    EXPECT_EQ(desktop.waitCursorDepth, 0);
    if (c.sleepMs) {
      ASSERT_EQ(desktop.sleeps.size(), 1u);
      EXPECT_EQ(desktop.sleeps[0].ms, c.sleepMs);
    } else {
      EXPECT_TRUE(desktop.sleeps.empty());
    }
    EXPECT_EQ(ctl<QRadioButton>(CDlgGrabVideo::kAspect11Radio)->isChecked(), c.square);
  }
}

TEST_F(GrabVideoTest, OffsetBarsWriteTheirHalfOfTheOffsetWord) {
  ASSERT_TRUE(open());
  clearLog();
  // The board starts at x 168, y 38.
  ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->request(SbLineRight);
  EXPECT_TRUE(logged("SetVideoParam 19 " + std::to_string((38 << 16) | 169)));
  EXPECT_EQ(ctl<QLineEdit>(CDlgGrabVideo::kXOffsetEdit)->text(), "169");
  ctl<ReqScrollBar>(CDlgGrabVideo::kYOffsetBar)->request(SbPageRight);
  EXPECT_TRUE(logged("SetVideoParam 19 " + std::to_string((78 << 16) | 169)));
  EXPECT_EQ(ctl<QLineEdit>(CDlgGrabVideo::kYOffsetEdit)->text(), "78");
  ctl<ReqScrollBar>(CDlgGrabVideo::kYOffsetBar)->request(SbRight);
  EXPECT_TRUE(logged("SetVideoParam 19 " + std::to_string((200 << 16) | 169)));
  ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->request(SbThumbTrack, 7);
  EXPECT_TRUE(logged("SetVideoParam 19 " + std::to_string((200 << 16) | 7)));
  ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->request(SbLeft);
  EXPECT_EQ(ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->value(), 0);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(GrabVideoTest, EndOfScrollingWritesTheOffsetWordBackLast) {
  ASSERT_TRUE(open());
  // A drag: the thumb moves, then the bar reports the end of scrolling.
  ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->request(SbThumbTrack, 20);
  clearLog();
  ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->request(SbEndScroll);
  const std::string word = std::to_string((38 << 16) | 20);
  EXPECT_TRUE(logged("SetVideoParam 19 " + word)) << sim.log();
  EXPECT_EQ(ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->value(), 20);
  EXPECT_EQ(ctl<QLineEdit>(CDlgGrabVideo::kXOffsetEdit)->text(), "20");
}

TEST_F(GrabVideoTest, RefusedOffsetShowsTheBoardsError) {
  ASSERT_TRUE(open());
  ASSERT_EQ(sim.control("fail=video:19:103"), 1);
  desktop.clear();
  ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->request(SbLineRight);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, strings::cameraErrorMessage(103, false));
  // The repaint shows what the board kept.
  EXPECT_EQ(ctl<QLineEdit>(CDlgGrabVideo::kXOffsetEdit)->text(), "168");
}

TEST_F(GrabVideoTest, OffsetsWithoutABoardMoveWithoutWriting) {
  ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->request(SbLineLeft);
  EXPECT_EQ(ctl<ReqScrollBar>(CDlgGrabVideo::kXOffsetBar)->value(), 167);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_TRUE(log().empty());
}

TEST_F(GrabVideoTest, CloseEnablesTheButtonsAndClosesTheBoard) {
  ASSERT_TRUE(open());
  for (int id : {1067, 1001, 1065}) ctl<QPushButton>(id)->setEnabled(false);
  window->closeGrab();
  for (int id : {1067, 1001, 1065}) EXPECT_TRUE(ctl<QPushButton>(id)->isEnabled()) << id;
  EXPECT_EQ(window->board(), nullptr);
  EXPECT_TRUE(loggedInOrder({"SetSeqCallback clear", "StopCapture", "CloseBoard 0"}));
  // The board can be opened again.
  EXPECT_TRUE(open());
}
