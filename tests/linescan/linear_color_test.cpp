// linear_color_test.cpp - channel and overall gains and offsets of the line-scan colour page.
#include <QLabel>

#include "pages/linescan/dlg_linear_color.h"
#include "tests/linescan/linescan_fixture.h"

using enum CDlgLinearColor::CtlId;

namespace {

const int kChannelBars[6] = {kRedGainBar,   kGreenGainBar,   kBlueGainBar,
                             kRedOffsetBar, kGreenOffsetBar, kBlueOffsetBar};
const int kChannelEdits[6] = {kRedGainEdit,   kGreenGainEdit,   kBlueGainEdit,
                              kRedOffsetEdit, kGreenOffsetEdit, kBlueOffsetEdit};
const int kChannelLabels[6] = {kRedGainLabel,   kGreenGainLabel,   kBlueGainLabel,
                               kRedOffsetLabel, kGreenOffsetLabel, kBlueOffsetLabel};
const int kOverall[6] = {kGainBar, kGainEdit, kOffsetBar, kOffsetEdit, kGainLabel, kOffsetLabel};

class ColourPage : public LineScanFixture {
 protected:
  CDlgLinearColor* showColour(int32_t type, int32_t language = 9) {
    open(type, language);
    return show<CDlgLinearColor>();
  }
  ReqScrollBar* bar(int id) { return page_->findChild<ReqScrollBar*>(QString::number(id)); }
  QLineEdit* edit(int id) { return page_->findChild<QLineEdit*>(QString::number(id)); }
  bool visible(int id) { return !page_->findChild<QWidget*>(QString::number(id))->isHidden(); }
};

}  // namespace

struct VisibilityCase {
  int32_t type;
  int32_t language;
  bool channels;
};

class ColourVisibility : public ColourPage, public ::testing::WithParamInterface<VisibilityCase> {};

TEST_P(ColourVisibility, ChannelsForTheColourCameraOnly) {
  const VisibilityCase& c = GetParam();
  showColour(c.type, c.language);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(visible(kChannelBars[i]), c.channels);
    EXPECT_EQ(visible(kChannelEdits[i]), c.channels);
    EXPECT_EQ(visible(kChannelLabels[i]), c.channels);
    EXPECT_EQ(visible(kOverall[i]), !c.channels);
  }
  // Showing a camera without channels writes none of their values to it.
  if (!c.channels) {
    for (const Write& w : sim.writes()) EXPECT_FALSE(w.first >= 112 && w.first <= 117);
  }
}

INSTANTIATE_TEST_SUITE_P(Types, ColourVisibility,
                         ::testing::Values(VisibilityCase{120770, 9, true}, VisibilityCase{120770, 2, true},
                                           VisibilityCase{110410, 9, false},
                                           VisibilityCase{117810, 2, false}));

TEST_F(ColourPage, LabelsInBothLanguages) {
  showColour(117810, 2);
  EXPECT_EQ(page_->findChild<QLabel*>("1197")->text(), QString::fromUtf8("增益(0-1023):"));
  EXPECT_EQ(page_->findChild<QLabel*>("1082")->text(), QString::fromUtf8("红色增益(0-1023):"));
  page_.reset();
  sim.reset();
  showColour(117810, 9);
  EXPECT_EQ(page_->findChild<QLabel*>("1198")->text(), "Offset(0-1023):");
  EXPECT_EQ(page_->findChild<QLabel*>("1194")->text(), "Red offset(0-1023):");
}

TEST_F(ColourPage, ShowsTheChannelValuesOfTheBlock) {
  open(120770);
  LinearParams& b = cameraState().linear;
  b.redGain = 300;
  b.greenGain = 301;
  b.blueGain = 302;
  b.redOffset = 10;
  b.greenOffset = 11;
  b.blueOffset = 12;
  show<CDlgLinearColor>();
  const int expected[6] = {300, 301, 302, 10, 11, 12};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(edit(kChannelEdits[i])->text().toInt(), expected[i]);
  // The scroll bars keep their positions.
  for (int id : kChannelBars) EXPECT_EQ(bar(id)->value(), 200);
}

struct TypedCase {
  const char* text;
  bool written;
};

class ColourTyped : public ColourPage, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(ColourTyped, OneTo1023IsWritten) {
  const TypedCase& c = GetParam();
  showColour(120770);
  const int32_t before = cameraState().linear.blueOffset;
  edit(kBlueOffsetEdit)->setText(c.text);
  EXPECT_TRUE(desktop.messages.empty());
  if (c.written) {
    const int value = QString(c.text).toInt();
    EXPECT_EQ(sim.writes(), std::vector<Write>{W(117, value)});
    EXPECT_EQ(cameraState().linear.blueOffset, value);
  } else {
    EXPECT_TRUE(sim.writes().empty());
    EXPECT_EQ(cameraState().linear.blueOffset, before);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, ColourTyped,
                         ::testing::Values(TypedCase{"1024", false}, TypedCase{"0", false},
                                           TypedCase{"-3", false}, TypedCase{"", false},
                                           TypedCase{"x7", false}, TypedCase{"1", true},
                                           TypedCase{"1023", true}, TypedCase{"512", true}));

struct ScrollCase {
  const char* name;
  int startAt;  // dragged there first
  int code;
  int pos;
  int expected;
};

void PrintTo(const ScrollCase& c, std::ostream* os) { *os << c.name; }

class ColourScroll : public ColourPage, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ColourScroll, WritesEveryScrollEventOnce) {
  const ScrollCase& c = GetParam();
  showColour(120770);
  bar(kRedGainBar)->request(SbThumbTrack, c.startAt);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(112, c.startAt)});
  sim.clearLog();
  bar(kRedGainBar)->request(c.code, c.pos);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(112, c.expected)});
  EXPECT_EQ(bar(kRedGainBar)->value(), c.expected);
  EXPECT_EQ(edit(kRedGainEdit)->text().toInt(), c.expected);
  EXPECT_EQ(cameraState().linear.redGain, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Requests, ColourScroll,
                         ::testing::Values(ScrollCase{"PageRightStopsAtTheEnd", 1021, SbPageRight, 0, 1023},
                                           ScrollCase{"PageRight", 500, SbPageRight, 0, 504},
                                           ScrollCase{"PageLeftStopsAtZero", 2, SbPageLeft, 0, 0},
                                           ScrollCase{"LineRight", 500, SbLineRight, 0, 501},
                                           ScrollCase{"LineLeftAtZeroStays", 0, SbLineLeft, 0, 0},
                                           ScrollCase{"DragToZero", 500, SbThumbTrack, 0, 0},
                                           ScrollCase{"Released", 500, SbThumbPosition, 77, 77},
                                           ScrollCase{"LeftEnd", 500, SbLeft, 0, 0},
                                           ScrollCase{"RightEnd", 500, SbRight, 0, 1023},
                                           ScrollCase{"EndOfScrolling", 500, SbEndScroll, 0, 500}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColourPage, ScrollStepsFromATypedValue) {
  showColour(120770);
  edit(kGreenGainEdit)->setText("700");
  sim.clearLog();
  bar(kGreenGainBar)->request(SbLineRight, 0);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(113, 701)});
}

TEST_F(ColourPage, OverallValuesAreThePagesOwn) {
  auto* page = showColour(117810);
  // The camera reports its own overall values; the page keeps 200.
  EXPECT_NE(cameraState().linear.overallGain, 200);
  EXPECT_EQ(edit(kGainEdit)->text(), "200");
  EXPECT_EQ(edit(kOffsetEdit)->text(), "200");
  edit(kGainEdit)->setText("300");
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(125, 300)});
  EXPECT_EQ(cameraState().linear.overallGain, 300);
  bar(kOffsetBar)->request(SbThumbTrack, 0);
  EXPECT_EQ(sim.writes().back(), W(126, 0));
  // A reopen reads the block again; a repaint takes the channel values from
  // it but keeps the overall values set here.
  cameraState().readLinearParams();
  cameraState().linear.overallGain = 999;
  cameraState().linear.redGain = 640;
  page->repaint();
  EXPECT_EQ(edit(kGainEdit)->text(), "300");
  EXPECT_EQ(edit(kOffsetEdit)->text(), "0");
  EXPECT_EQ(edit(kRedGainEdit)->text(), "640");
}

TEST_F(ColourPage, FailedWriteShowsTheLibraryMessageAndKeepsTheValue) {
  showColour(120770);
  sim.control("fail 115=106");
  bar(kRedOffsetBar)->request(SbThumbTrack, 900);
  EXPECT_EQ(desktop.texts(), QStringList{"Can not write in for invalid link."});
  EXPECT_EQ(cameraState().linear.redOffset, 900);
  EXPECT_EQ(edit(kRedOffsetEdit)->text(), "900");
}
