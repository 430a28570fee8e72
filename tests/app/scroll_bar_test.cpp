// scroll_bar_test.cpp - keys and mouse on a bar turn into scroll requests.
#include <gtest/gtest.h>

#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <memory>
#include <vector>

#include "app/camera_values.h"
#include "app/desktop.h"
#include "app/scroll_bar.h"
#include "common/bar_input.h"
#include "common/fake_desktop.h"

namespace {

// A bar the way the pages use it: every request is answered by the page,
// here with lines of 5 and pages of 20 (not Qt's own steps of 1 and 10), so
// a bar that moved by itself would show Qt's numbers.
class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar = std::make_unique<ReqScrollBar>(Qt::Horizontal);
    bar->setRange(0, 100);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setValue(50);
    bar->resize(300, 20);
    QObject::connect(bar.get(), &ReqScrollBar::scrollRequest, bar.get(), [this](int code, int pos) {
      requests.emplace_back(code, pos);
      bar->setValue(ReqScrollBar::standardPosition(code, pos, bar->value(), 0, 100, 5, 20));
    });
    bar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
  }
  std::vector<int> codes() const {
    std::vector<int> out;
    for (const auto& r : requests) out.push_back(r.first);
    return out;
  }
  QRect subControl(QStyle::SubControl which) const {
    QStyleOptionSlider option;
    option.initFrom(bar.get());
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, which, bar.get());
  }

  std::unique_ptr<ReqScrollBar> bar;
  std::vector<std::pair<int, int>> requests;
};

}  // namespace

struct KeyCase {
  Qt::Key key;
  int code;
  int value;  // where the page's answer leaves the bar
};

class ScrollBarKeys : public ScrollBarTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ScrollBarKeys, OneRequestThenEndOfScrolling) {
  QTest::keyClick(bar.get(), GetParam().key);
  EXPECT_EQ(codes(), (std::vector<int>{GetParam().code, SbEndScroll}));
  EXPECT_EQ(bar->value(), GetParam().value);
  EXPECT_EQ(bar->sliderPosition(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScrollBarKeys,
    ::testing::Values(KeyCase{Qt::Key_Right, SbLineRight, 55}, KeyCase{Qt::Key_Left, SbLineLeft, 45},
                      KeyCase{Qt::Key_PageDown, SbPageRight, 70}, KeyCase{Qt::Key_PageUp, SbPageLeft, 30},
                      KeyCase{Qt::Key_Home, SbLeft, 0}, KeyCase{Qt::Key_End, SbRight, 100}));

TEST_F(ScrollBarTest, ABarThePageDoesNotMoveStaysPut) {
  // A page that ignores a request (it writes only at the end of scrolling,
  // say) leaves the bar where it was, whatever Qt would have done.
  QObject::disconnect(bar.get(), &ReqScrollBar::scrollRequest, nullptr, nullptr);
  QObject::connect(bar.get(), &ReqScrollBar::scrollRequest, bar.get(),
                   [this](int code, int pos) { requests.emplace_back(code, pos); });
  QTest::keyClick(bar.get(), Qt::Key_Right);
  QTest::keyClick(bar.get(), Qt::Key_PageDown);
  EXPECT_EQ(bar->value(), 50);
  EXPECT_EQ(bar->sliderPosition(), 50);
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll, SbPageRight, SbEndScroll}));
}

TEST_F(ScrollBarTest, MouseOnThePageAreaAndTheArrows) {
  const QRect pageRight = subControl(QStyle::SC_ScrollBarAddPage);
  ASSERT_TRUE(pageRight.isValid());
  QTest::mouseClick(bar.get(), Qt::LeftButton, {}, pageRight.center());
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front().first, SbPageRight);
  EXPECT_EQ(requests.back().first, SbEndScroll);
  EXPECT_EQ(bar->value(), 70);

  requests.clear();
  const QRect lineLeft = subControl(QStyle::SC_ScrollBarSubLine);
  if (!lineLeft.isValid() || lineLeft.isEmpty()) GTEST_SKIP() << "this style draws no arrows";
  QTest::mouseClick(bar.get(), Qt::LeftButton, {}, lineLeft.center());
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front().first, SbLineLeft);
  EXPECT_EQ(requests.back().first, SbEndScroll);
  EXPECT_EQ(bar->value(), 65);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenReleasesAtThePosition) {
  const QRect thumb = subControl(QStyle::SC_ScrollBarSlider);
  ASSERT_TRUE(thumb.isValid());
  const QPoint from = thumb.center();
  QTest::mousePress(bar.get(), Qt::LeftButton, {}, from);
  QTest::mouseMove(bar.get(), from + QPoint(40, 0));
  QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, from + QPoint(40, 0));
  const std::vector<int> seen = codes();
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front(), SbThumbTrack);
  EXPECT_EQ(seen[seen.size() - 2], SbThumbPosition);
  EXPECT_EQ(seen.back(), SbEndScroll);
  const int released = requests[seen.size() - 2].second;
  EXPECT_GT(released, 50) << "dragged to the right";
  EXPECT_EQ(bar->value(), released);
}

TEST(VerticalScrollBar, DownIsALineDownAndUpALineUp) {
  ReqScrollBar bar(Qt::Vertical);
  bar.setRange(0, 100);
  bar.setValue(50);
  std::vector<int> codes;
  QObject::connect(&bar, &ReqScrollBar::scrollRequest, &bar, [&](int code, int) { codes.push_back(code); });
  QTest::keyClick(&bar, Qt::Key_Down);
  QTest::keyClick(&bar, Qt::Key_Up);
  EXPECT_EQ(codes, (std::vector<int>{SbLineRight, SbEndScroll, SbLineLeft, SbEndScroll}));
  EXPECT_EQ(bar.value(), 50) << "only the page's answer moves the bar";
}

TEST_F(ScrollBarTest, WheelGivesLineRequestsThenEndOfScrolling) {
  const int lines = QApplication::wheelScrollLines();
  turnWheel(bar.get(), -1);  // towards the user: right
  std::vector<int> expected(static_cast<size_t>(lines), SbLineRight);
  expected.push_back(SbEndScroll);
  EXPECT_EQ(codes(), expected);
  EXPECT_EQ(bar->value(), 50 + 5 * lines) << "the page's line of 5, not Qt's wheel step";

  requests.clear();
  turnWheel(bar.get(), 2);  // two notches away from the user: left
  expected.assign(static_cast<size_t>(2 * lines), SbLineLeft);
  expected.push_back(SbEndScroll);
  EXPECT_EQ(codes(), expected);
  EXPECT_EQ(bar->value(), 50 + 5 * lines - 10 * lines);
}

TEST_F(ScrollBarTest, HalfNotchesAddUp) {
  const QPoint at = bar->rect().center();
  QWheelEvent half(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -60), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(bar.get(), &half);
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(bar->value(), 50);
  QApplication::sendEvent(bar.get(), &half);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.front().first, SbLineRight);
  EXPECT_EQ(requests.back().first, SbEndScroll);
}

struct MenuCase {
  ReqScrollBar::MenuChoice choice;
  const char* text;
  int code;
  int value;
};

class ScrollBarMenu : public ScrollBarTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(ScrollBarMenu, EachEntryIsOneRequestThenEndOfScrolling) {
  const MenuCase& c = GetParam();
  EXPECT_EQ(bar->menuText(c.choice), QString::fromLatin1(c.text));
  ASSERT_TRUE(chooseFromBarMenu(bar.get(), c.choice, QPoint(30, 10)));
  EXPECT_EQ(codes(), (std::vector<int>{c.code, SbEndScroll}));
  if (c.choice != ReqScrollBar::ScrollHere) {
    EXPECT_EQ(bar->value(), c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ScrollBarMenu,
    ::testing::Values(MenuCase{ReqScrollBar::ScrollHere, "Scroll here", SbThumbPosition, 0},
                      MenuCase{ReqScrollBar::LeftEdge, "Left edge", SbLeft, 0},
                      MenuCase{ReqScrollBar::RightEdge, "Right edge", SbRight, 100},
                      MenuCase{ReqScrollBar::PageLeft, "Page left", SbPageLeft, 30},
                      MenuCase{ReqScrollBar::PageRight, "Page right", SbPageRight, 70},
                      MenuCase{ReqScrollBar::ScrollLeft, "Scroll left", SbLineLeft, 45},
                      MenuCase{ReqScrollBar::ScrollRight, "Scroll right", SbLineRight, 55}));

TEST_F(ScrollBarTest, ScrollHereAsksForThePositionUnderTheClick) {
  const QRect groove = subControl(QStyle::SC_ScrollBarGroove);
  ASSERT_TRUE(chooseFromBarMenu(bar.get(), ReqScrollBar::ScrollHere, QPoint(groove.left() + 2, 10)));
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].second, 0) << "the left end of the groove";
  EXPECT_EQ(bar->value(), 0);
  requests.clear();
  ASSERT_TRUE(chooseFromBarMenu(bar.get(), ReqScrollBar::ScrollHere, QPoint(groove.right() - 2, 10)));
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].second, 100) << "the right end of the groove";
  requests.clear();
  ASSERT_TRUE(chooseFromBarMenu(bar.get(), ReqScrollBar::ScrollHere, groove.center()));
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_NEAR(requests[0].second, 50, 2) << "the middle";
}

// A page whose handler refuses the value with a message box, as a page does
// with no camera or a failing write.
class ScrollBarMessage : public ScrollBarTest {
 protected:
  void SetUp() override {
    ScrollBarTest::SetUp();
    QObject::disconnect(bar.get(), &ReqScrollBar::scrollRequest, nullptr, nullptr);
    QObject::connect(bar.get(), &ReqScrollBar::scrollRequest, bar.get(), [this](int code, int pos) {
      requests.emplace_back(code, pos);
      bar->setValue(ReqScrollBar::standardPosition(code, pos, bar->value(), 0, 100, 5, 20));
      if (code != SbEndScroll) Desktop::get().message(bar.get(), "refused", QString());
    });
  }
  FakeDesktop desktop;
};

TEST_F(ScrollBarMessage, AMessageWhileAnArrowIsHeldEndsTheInteraction) {
  const QRect lineRight = subControl(QStyle::SC_ScrollBarAddLine);
  if (!lineRight.isValid() || lineRight.isEmpty()) GTEST_SKIP() << "this style draws no arrows";
  QTest::mousePress(bar.get(), Qt::LeftButton, {}, lineRight.center());
  // The box has been answered: the arrow is up again, nothing repeats, and
  // the page has had its end of scrolling.
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll}));
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_FALSE(bar->repeating()) << "auto-repeat still armed";
  EXPECT_FALSE(bar->interacting());
  // The release the box swallowed (or that arrives late) adds nothing.
  QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, lineRight.center());
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll}));
  EXPECT_EQ(bar->value(), 55);
  EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(ScrollBarMessage, AMessageDuringADragEndsItWithoutAThumbPosition) {
  const QRect thumb = subControl(QStyle::SC_ScrollBarSlider);
  QTest::mousePress(bar.get(), Qt::LeftButton, {}, thumb.center());
  QTest::mouseMove(bar.get(), thumb.center() + QPoint(40, 0));
  EXPECT_FALSE(bar->isSliderDown());
  EXPECT_EQ(codes(), (std::vector<int>{SbThumbTrack, SbEndScroll}));
  QTest::mouseMove(bar.get(), thumb.center() + QPoint(80, 0));
  QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, thumb.center() + QPoint(80, 0));
  EXPECT_EQ(codes(), (std::vector<int>{SbThumbTrack, SbEndScroll}));
  EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(ScrollBarMessage, AHeldKeyStopsAtTheMessageUntilPressedAgain) {
  QTest::keyPress(bar.get(), Qt::Key_Right);
  QTest::simulateEvent(bar.get(), true, Qt::Key_Right, {}, QString(), true);  // auto-repeat
  QTest::simulateEvent(bar.get(), true, Qt::Key_Right, {}, QString(), true);
  QTest::keyRelease(bar.get(), Qt::Key_Right);
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll}));
  EXPECT_EQ(desktop.messages.size(), 1u);
  QTest::keyClick(bar.get(), Qt::Key_Right);
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll, SbLineRight, SbEndScroll}));
}

TEST_F(ScrollBarMessage, WheelAndMenuStopAtTheFirstMessage) {
  turnWheel(bar.get(), -1);
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll}));
  EXPECT_EQ(desktop.messages.size(), 1u);
  requests.clear();
  ASSERT_TRUE(chooseFromBarMenu(bar.get(), ReqScrollBar::PageLeft, QPoint(30, 10)));
  EXPECT_EQ(codes(), (std::vector<int>{SbPageLeft, SbEndScroll}));
  EXPECT_EQ(desktop.messages.size(), 2u);
}

// A page that writes at the end of scrolling too, to a camera that refuses
// every value: the click's end brings the same failure again.
TEST_F(ScrollBarMessage, TheSameMessageIsNotShownAgainForTheEndOfTheClick) {
  QObject::disconnect(bar.get(), &ReqScrollBar::scrollRequest, nullptr, nullptr);
  QString endText = "refused";
  QObject::connect(bar.get(), &ReqScrollBar::scrollRequest, bar.get(), [&](int code, int pos) {
    requests.emplace_back(code, pos);
    Desktop::get().message(bar.get(), code == SbEndScroll ? endText : QString("refused"), QString());
  });
  QTest::keyPress(bar.get(), Qt::Key_Right);
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll}));
  EXPECT_EQ(desktop.texts(), QStringList{"refused"});
  QTest::keyRelease(bar.get(), Qt::Key_Right);
  // A different message at the end is news to the user.
  requests.clear();
  desktop.clear();
  endText = "something else";
  QTest::keyPress(bar.get(), Qt::Key_Right);
  QTest::keyRelease(bar.get(), Qt::Key_Right);
  EXPECT_EQ(codes(), (std::vector<int>{SbLineRight, SbEndScroll}));
  EXPECT_EQ(desktop.texts(), (QStringList{"refused", "something else"}));
  // An ordinary end of scrolling shows its message.
  requests.clear();
  desktop.clear();
  endText = "refused";
  bar->request(SbEndScroll, 0);
  EXPECT_EQ(desktop.texts(), QStringList{"refused"});
}

TEST_F(ScrollBarMessage, AMessageOutsideAnInteractionTouchesNoBar) {
  Desktop::get().message(nullptr, "elsewhere", QString());
  QCoreApplication::processEvents();
  EXPECT_TRUE(requests.empty());
}

// The windows' variants of the usual rule: a step of 12 on a bar 12..444
// standing off the step at 149, as a camera value can leave it.
struct RuleCase {
  const char* name;
  camval::BarRule rule;
  int step, code, pos, current;
  int expected;
};

class ScrollBarRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ScrollBarRule, PositionFollowsTheWindowsRow) {
  const RuleCase& c = GetParam();
  EXPECT_EQ(ReqScrollBar::standardPosition(c.code, c.pos, c.current, 12, 444, c.step, c.rule), c.expected);
}

namespace {
using TR = camval::ThumbRound;
constexpr camval::BarRule kUsual{};
constexpr camval::BarRule kParamLines{0, 40, TR::TowardZero, TR::Exact, false, false, 3};
constexpr camval::BarRule kBarLines{0, 40, TR::TowardZero, TR::TowardZero, true, false, 3, 4};
constexpr camval::BarRule kColourGains{0, 10, TR::Down, TR::Down, false, true, 10};
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollBarRule,
    ::testing::Values(RuleCase{"UsualIsTheOldRule", kUsual, 12, SbThumbTrack, 500, 149, 444},
                      RuleCase{"LineByTheStep", kParamLines, 12, SbLineRight, 0, 149, 161},
                      // Unclamped line moves leave the bar; the page's own checks refuse them.
                      RuleCase{"LinePastTheStartUnclamped", kParamLines, 12, SbLineLeft, 0, 20, 8},
                      RuleCase{"LinePastTheStartClamped", kBarLines, 12, SbLineLeft, 0, 20, 12},
                      RuleCase{"PageOfThreeSteps", kParamLines, 12, SbPageRight, 0, 149, 185},
                      RuleCase{"PageOfFortyAtStepOne", kParamLines, 1, SbPageRight, 0, 149, 189},
                      RuleCase{"PageKeptAtStepFour", kBarLines, 4, SbPageRight, 0, 149, 189},
                      RuleCase{"PageStaysInTheBar", kParamLines, 12, SbPageRight, 0, 440, 444},
                      RuleCase{"ThumbPositionLowered", kParamLines, 12, SbThumbPosition, 155, 149, 144},
                      RuleCase{"ThumbTrackExact", kParamLines, 12, SbThumbTrack, 155, 149, 155},
                      RuleCase{"ThumbTrackLoweredOnTheBar", kBarLines, 12, SbThumbTrack, 155, 149, 144},
                      RuleCase{"ThumbPastTheEndUnclamped", kBarLines, 12, SbThumbTrack, 500, 149, 492},
                      RuleCase{"ColourPageOfTenSteps", kColourGains, 4, SbPageLeft, 0, 149, 109},
                      RuleCase{"EndsAreTheRangeEnds", kBarLines, 12, SbRight, 0, 149, 444},
                      RuleCase{"EndOfScrollingKeepsThePlace", kBarLines, 12, SbEndScroll, 0, 149, 149}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScrollBarRuleSigned, ThumbLoweredTowardMinusInfinityOrTowardZero) {
  // The colour page's signed saturation bar lowers -3 to -4, not to 0.
  constexpr camval::BarRule down{1, 10, camval::ThumbRound::Down, camval::ThumbRound::Down};
  constexpr camval::BarRule towardZero{1, 10, camval::ThumbRound::TowardZero, camval::ThumbRound::TowardZero};
  EXPECT_EQ(ReqScrollBar::standardPosition(SbThumbTrack, -3, 0, -128, 127, 4, down), -4);
  EXPECT_EQ(ReqScrollBar::standardPosition(SbThumbTrack, -3, 0, -128, 127, 4, towardZero), 0);
  EXPECT_EQ(ReqScrollBar::standardPosition(SbThumbTrack, -8, 0, -128, 127, 4, down), -8);
}
