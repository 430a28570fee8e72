// scroll_bar_test.cpp - keys and mouse on a bar turn into scroll requests.
#include <gtest/gtest.h>

#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <memory>
#include <vector>

#include "app/scroll_bar.h"

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
