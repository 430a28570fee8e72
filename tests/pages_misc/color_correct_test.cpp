// color_correct_test.cpp - the colour correction page against the simulated USB cameras.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "app/scroll_bar.h"
#include "page_fixture.h"
#include "pages/models/dlg_color_correct.h"

using enum CDlgColorCorrect::CtlId;

namespace {

class ColorCorrectTest : public PageFixture {
 protected:
  CDlgColorCorrect* start(const std::string& camera, int32_t language = 9) {
    open(camera, language);
    auto* page = makePage<CDlgColorCorrect>();
    // What the main window does right after inserting the tab.
    page->inserted();
    sim.clearLog();
    return page;
  }
  ReqScrollBar* bar(int id) { return page()->control<ReqScrollBar>(id); }
  QLineEdit* edit(int id) { return page()->control<QLineEdit>(id); }
  QComboBox* channels() { return page()->control<QComboBox>(kChannelList); }
  CDlgColorCorrect* page() { return static_cast<CDlgColorCorrect*>(page_.get()); }
  void choose(int channel) {
    channels()->setCurrentIndex(channel);
    sim.clearLog();
  }
};

// Which ids a bar move writes, by camera type and channel.
struct BarCase {
  const char* camera;
  int channel;
  int barId;
  std::vector<Write> writes;
};

class ColorCorrectBar : public ColorCorrectTest, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ColorCorrectBar, WritesTheIdsOfTheChannel) {
  const BarCase& c = GetParam();
  start(c.camera);
  choose(c.channel);
  bar(c.barId)->request(SbThumbTrack, 77);
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(bar(c.barId)->value(), 77);
  const int editId = c.barId == 1098 ? 1099 : c.barId == 1100 ? 1101 : 1103;
  EXPECT_EQ(edit(editId)->text(), "77");
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Channels, ColorCorrectBar,
                         ::testing::Values(
                             // On the two models with an all-channel contrast the all-channel
                             // brightness is the black level alone.
                             BarCase{"219660", 0, 1098, {W(4, 77)}}, BarCase{"218550", 0, 1098, {W(4, 77)}},
                             BarCase{"211150", 0, 1098, {W(21, 77), W(22, 77), W(23, 77)}},
                             BarCase{"319660", 0, 1098, {W(21, 77), W(22, 77), W(23, 77)}},
                             BarCase{"219660", 1, 1098, {W(21, 77)}}, BarCase{"219660", 2, 1098, {W(22, 77)}},
                             BarCase{"219660", 3, 1098, {W(23, 77)}}, BarCase{"211150", 4, 1098, {W(4, 77)}},
                             BarCase{"219660", 0, 1100, {W(10, 77), W(11, 77), W(12, 77)}},
                             BarCase{"211150", 1, 1100, {W(10, 77)}}, BarCase{"211150", 2, 1100, {W(11, 77)}},
                             BarCase{"211150", 3, 1100, {W(12, 77)}}, BarCase{"211150", 4, 1100, {W(1, 77)}},
                             BarCase{"219660", 0, 1117, {W(24, 77)}},
                             BarCase{"219660", 3, 1117, {W(24, 77)}}));

// How a request moves the bar; every request writes the resulting position.
struct MoveCase {
  int start;
  int code;
  int pos;
  int expected;
};

class ColorCorrectMove : public ColorCorrectTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(ColorCorrectMove, NewPosition) {
  const MoveCase& c = GetParam();
  start("211150");
  choose(4);  // black and white: one id per bar
  bar(kBrightnessBar)->request(SbThumbPosition, c.start);
  sim.clearLog();
  bar(kBrightnessBar)->request(c.code, c.pos);
  EXPECT_EQ(bar(kBrightnessBar)->value(), c.expected);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(4, c.expected)});
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ColorCorrectMove,
    ::testing::Values(MoveCase{100, SbLineRight, 0, 101}, MoveCase{100, SbLineLeft, 0, 99},
                      MoveCase{100, SbPageRight, 0, 103}, MoveCase{100, SbPageLeft, 0, 97},
                      MoveCase{254, SbPageRight, 0, 255}, MoveCase{0, SbLineLeft, 0, 0},
                      MoveCase{100, SbThumbPosition, 12, 12}, MoveCase{100, SbLeft, 0, 0},
                      MoveCase{100, SbRight, 0, 255}, MoveCase{100, SbEndScroll, 0, 100}));

// Typed values: in range they are written, then the page waits and reads the
// record again; anything else writes nothing and says nothing.
struct TypedCase {
  int editId;
  const char* text;
  std::vector<Write> writes;
};

class ColorCorrectTyped : public ColorCorrectTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(ColorCorrectTyped, WritesOnlyValidValues) {
  const TypedCase& c = GetParam();
  start("211150");
  edit(c.editId)->setText(QString::fromUtf8(c.text));
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_TRUE(desktop.messages.empty());
  if (c.writes.empty()) {
    EXPECT_TRUE(desktop.sleeps.empty());
    EXPECT_TRUE(sim.calls("GetConfigParam").empty());
  } else {
    ASSERT_EQ(desktop.sleeps.size(), 1u);
    EXPECT_EQ(desktop.sleeps[0].ms, 500);
    ASSERT_EQ(sim.calls("GetConfigParam").size(), 1u);
    EXPECT_EQ(sim.calls("GetConfigParam")[0].value("id"), -1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ColorCorrectTyped,
    ::testing::Values(TypedCase{kBrightnessEdit, "300", {}}, TypedCase{kBrightnessEdit, "256", {}},
                      TypedCase{kBrightnessEdit, "-1", {}}, TypedCase{kBrightnessEdit, "abc", {}},
                      TypedCase{kBrightnessEdit, "", {}},
                      TypedCase{kBrightnessEdit, "255", {W(21, 255), W(22, 255), W(23, 255)}},
                      TypedCase{kBrightnessEdit, "0", {W(21, 0), W(22, 0), W(23, 0)}},
                      TypedCase{kContrastEdit, "300", {}}, TypedCase{kContrastEdit, "9x", {}},
                      TypedCase{kContrastEdit, "90", {W(10, 90), W(11, 90), W(12, 90)}},
                      // The all-contrast box only shows the value.
                      TypedCase{kAllContrastEdit, "90", {}}));

TEST_F(ColorCorrectTest, TypedValueIsWrittenBeforeTheWaitAndReadAfterIt) {
  start("219660");
  choose(1);
  std::vector<std::string> atSleep;
  desktop.onSleep = [&](int) {
    for (const auto& call : sim.log()) atSleep.push_back(call.name);
  };
  edit(kBrightnessEdit)->setText("42");
  EXPECT_EQ(atSleep, std::vector<std::string>{"SetConfigParam"});
  const auto log = sim.log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].value("id"), 21);
  EXPECT_EQ(log[1].name, "GetConfigParam");
  EXPECT_EQ(bar(kBrightnessBar)->value(), 42);
  // The record was read again, and holds what the camera took.
  EXPECT_EQ(cameraState().params.rBrightness, 42);
}

TEST_F(ColorCorrectTest, FailedReadAfterTypingShowsTheMessage) {
  start("219660");
  sim.control("fail read=103");
  edit(kContrastEdit)->setText("77");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(10, 77), W(11, 77), W(12, 77)}));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "can not read camera info, please check it");
}

TEST_F(ColorCorrectTest, FailedWriteShowsTheMessageAndKeepsTheValue) {
  start("211150");
  sim.control("fail 22=106");
  bar(kBrightnessBar)->request(SbThumbTrack, 60);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(21, 60), W(22, 60), W(23, 60)}));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Can not write in for invalid link.");
  EXPECT_EQ(cameraState().params.gBrightness, 60);
  EXPECT_EQ(edit(kBrightnessEdit)->text(), "60");
}

TEST_F(ColorCorrectTest, EachChannelKeepsItsOwnValues) {
  start("211150");
  choose(1);
  bar(kBrightnessBar)->request(SbThumbTrack, 50);
  bar(kContrastBar)->request(SbThumbTrack, 70);
  choose(2);
  EXPECT_NE(edit(kBrightnessEdit)->text(), "50");
  choose(1);
  EXPECT_EQ(edit(kBrightnessEdit)->text(), "50");
  EXPECT_EQ(edit(kContrastEdit)->text(), "70");
  EXPECT_EQ(bar(kBrightnessBar)->value(), 50);
  // Choosing a channel writes nothing.
  EXPECT_TRUE(sim.writes().empty());
  // A move on all channels sets the three colours at once.
  choose(0);
  bar(kBrightnessBar)->request(SbThumbTrack, 33);
  choose(3);
  EXPECT_EQ(edit(kBrightnessEdit)->text(), "33");
}

// The members a refresh takes from the record, with their stand-ins.
struct RefreshCase {
  const char* camera;
  std::function<void(CameraParams&)> set;
  int channel;
  const char* brightness;
  const char* contrast;
  const char* allContrast;
};

class ColorCorrectRefresh : public ColorCorrectTest, public ::testing::WithParamInterface<RefreshCase> {};

TEST_P(ColorCorrectRefresh, ShowsTheRecord) {
  const RefreshCase& c = GetParam();
  start(c.camera);
  CameraParams& p = cameraState().params;
  p.black = 20;
  p.gain = 30;
  p.rBrightness = 11;
  p.gBrightness = 12;
  p.bBrightness = 13;
  p.rGain = 21;
  p.gGain = 22;
  p.bGain = 23;
  p.allContrast = 99;
  c.set(p);
  page()->inserted();
  if (c.channel != 0) channels()->setCurrentIndex(c.channel);
  EXPECT_EQ(edit(kBrightnessEdit)->text(), c.brightness);
  EXPECT_EQ(edit(kContrastEdit)->text(), c.contrast);
  EXPECT_EQ(edit(kAllContrastEdit)->text(), c.allContrast);
  EXPECT_TRUE(sim.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ColorCorrectRefresh,
    ::testing::Values(RefreshCase{"219660", [](CameraParams&) {}, 0, "20", "30", "99"},
                      // Only the two models show the all-channel contrast.
                      RefreshCase{"211150", [](CameraParams&) {}, 0, "20", "30", "0"},
                      RefreshCase{"219660", [](CameraParams& p) { p.rBrightness = -1; }, 1, "140", "21",
                                  "99"},
                      RefreshCase{"219660", [](CameraParams& p) { p.gGain = -5; }, 2, "12", "60", "99"},
                      // A black level of 0 gives the colour mean for all channels and 140
                      // for black and white.
                      RefreshCase{"219660", [](CameraParams& p) { p.black = 0; }, 0, "12", "30", "99"},
                      RefreshCase{"219660", [](CameraParams& p) { p.black = 0; }, 4, "140", "30", "99"},
                      RefreshCase{"219660",
                                  [](CameraParams& p) {
                                    p.gain = 0;
                                    p.rGain = 10;
                                    p.gGain = 10;
                                    p.bGain = 12;
                                  },
                                  0, "20", "10", "99"},
                      RefreshCase{"219660", [](CameraParams& p) { p.gain = -2; }, 4, "20", "60", "99"},
                      RefreshCase{"219660",
                                  [](CameraParams& p) {
                                    p.gain = -2;
                                    p.rGain = -1;
                                  },
                                  0, "20", "35", "99"}));

// Set Default: what each type group gets written.
struct DefaultCase {
  const char* camera;
  std::vector<Write> writes;
};

class ColorCorrectDefault : public ColorCorrectTest, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(ColorCorrectDefault, WritesTheGroupDefaultsAndResetsThePage) {
  const DefaultCase& c = GetParam();
  start(c.camera);
  choose(2);
  bar(kBrightnessBar)->request(SbThumbTrack, 10);
  bar(kContrastBar)->request(SbThumbTrack, 10);
  sim.clearLog();
  page()->control<QPushButton>(kSetDefaultButton)->click();
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(channels()->currentText(), "All channel");
  EXPECT_EQ(edit(kBrightnessEdit)->text(), "128");
  EXPECT_EQ(bar(kBrightnessBar)->value(), 128);
  EXPECT_EQ(edit(kContrastEdit)->text(), "56");
  EXPECT_EQ(bar(kContrastBar)->value(), 56);
  // The channel defaults are kept per channel.
  choose(3);
  EXPECT_EQ(edit(kContrastEdit)->text(), "252");
  choose(4);
  EXPECT_EQ(edit(kBrightnessEdit)->text(), "140");
}

INSTANTIATE_TEST_SUITE_P(
    Groups, ColorCorrectDefault,
    ::testing::Values(
        DefaultCase{"211150", {W(4, 140), W(1, 128)}}, DefaultCase{"214850", {W(4, 140), W(1, 128)}},
        DefaultCase{"219660", {W(10, 212), W(11, 160), W(12, 252), W(24, 100), W(4, 140)}},
        DefaultCase{"218550", {W(10, 212), W(11, 160), W(12, 252), W(24, 100), W(4, 140)}},
        DefaultCase{"319660", {W(10, 212), W(11, 160), W(12, 252), W(21, 128), W(22, 123), W(23, 128)}},
        DefaultCase{"321510", {W(10, 212), W(11, 160), W(12, 252), W(21, 128), W(22, 123), W(23, 128)}},
        // A type outside the lists only resets the page.
        DefaultCase{"219290", {}}, DefaultCase{"212630/4", {}}));

TEST_F(ColorCorrectTest, AfterSetDefaultTheBarsActOnAllChannels) {
  start("211150");
  choose(2);
  page()->control<QPushButton>(kSetDefaultButton)->click();
  sim.clearLog();
  bar(kBrightnessBar)->request(SbLineRight);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(21, 129), W(22, 129), W(23, 129)}));
}

TEST_F(ColorCorrectTest, SetDefaultShowsTheAllContrastItWrote) {
  start("219660");
  bar(kAllContrastBar)->request(SbThumbTrack, 5);
  page()->control<QPushButton>(kSetDefaultButton)->click();
  EXPECT_EQ(edit(kAllContrastEdit)->text(), "100");
  EXPECT_EQ(bar(kAllContrastBar)->value(), 100);
}

struct BarStateCase {
  const char* camera;
  bool enabled;
};

class ColorCorrectAllContrastBar : public ColorCorrectTest,
                                   public ::testing::WithParamInterface<BarStateCase> {};

TEST_P(ColorCorrectAllContrastBar, EnabledOnlyOnTheTwoModels) {
  start(GetParam().camera);
  EXPECT_TRUE(bar(kAllContrastBar)->isVisible());
  EXPECT_EQ(bar(kAllContrastBar)->isEnabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(Types, ColorCorrectAllContrastBar,
                         ::testing::Values(BarStateCase{"219660", true}, BarStateCase{"218550", true},
                                           BarStateCase{"211150", false}, BarStateCase{"319660", false}));

struct LanguageCase {
  int32_t language;
  std::vector<const char*> labels;
};

class ColorCorrectLanguage : public ColorCorrectTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(ColorCorrectLanguage, ChannelListHasTheFiveItems) {
  start("219660", GetParam().language);
  ASSERT_EQ(channels()->count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(channels()->itemText(i), QString::fromUtf8(GetParam().labels[i]));
  EXPECT_EQ(channels()->currentIndex(), 0);
  EXPECT_EQ(page()->control<QPushButton>(kSetDefaultButton)->text(),
            GetParam().language == 2 ? QString::fromUtf8("设置默认值") : QString("Set Default"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ColorCorrectLanguage,
                         ::testing::Values(LanguageCase{9, {"All channel", "Red", "Green", "Blue", "B/W"}},
                                           LanguageCase{2, {"All channel", "Red", "Green", "Blue", "B/W"}}));

}  // namespace
