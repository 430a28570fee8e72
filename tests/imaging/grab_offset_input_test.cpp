// grab_offset_input_test.cpp - the wheel and the bar menu on the grab window's offset bars reach the board.
#include <QLineEdit>

#include "app/scroll_bar.h"
#include "common/bar_input.h"
#include "grab_video_fixture.h"

namespace {

class GrabOffsetInput : public GrabVideoFixture {
 protected:
  // The offset word the board was last given, or -1.
  int64_t lastOffsetWord() const {
    int64_t word = -1;
    const std::string prefix = "SetVideoParam 19 ";
    for (const std::string& line : log())
      if (line.rfind(prefix, 0) == 0) word = std::stoll(line.substr(prefix.size()));
    return word;
  }
};

}  // namespace

TEST_F(GrabOffsetInput, WheelAndEveryMenuEntryMoveTheirHalfOfTheOffset) {
  ASSERT_TRUE(open());
  window->resize(std::max(window->width(), 400), std::max(window->height(), 300));
  window->show();
  struct Bar {
    int id;
    bool x;
  };
  for (const Bar b : {Bar{CDlgGrabVideo::kXOffsetBar, true}, Bar{CDlgGrabVideo::kYOffsetBar, false}}) {
    SCOPED_TRACE(b.id);
    auto* bar = ctl<ReqScrollBar>(b.id);
    // Away from both ends.
    bar->request(SbThumbPosition, (bar->minimum() + bar->maximum()) / 2);
    auto check = [&](const char* input, int before, int direction) {
      SCOPED_TRACE(input);
      const int now = bar->value();
      if (direction > 0) {
        EXPECT_GT(now, before);
      } else {
        EXPECT_LT(now, before);
      }
      const int64_t word = lastOffsetWord();
      ASSERT_GE(word, 0) << "the board was not written";
      EXPECT_EQ(b.x ? (word & 0xFFFF) : ((word >> 16) & 0xFFFF), now);
      EXPECT_TRUE(desktop.messages.empty());
      clearLog();
    };
    clearLog();
    int before = bar->value();
    turnWheel(bar, -1);
    check("wheel towards the user", before, +1);
    before = bar->value();
    turnWheel(bar, 1);
    check("wheel away from the user", before, -1);
    const std::pair<ReqScrollBar::MenuChoice, int> entries[] = {
        {ReqScrollBar::PageRight, +1},  {ReqScrollBar::PageLeft, -1},  {ReqScrollBar::ScrollRight, +1},
        {ReqScrollBar::ScrollLeft, -1}, {ReqScrollBar::RightEdge, +1}, {ReqScrollBar::LeftEdge, -1}};
    for (const auto& [choice, direction] : entries) {
      before = bar->value();
      ASSERT_TRUE(chooseFromBarMenu(bar, choice, bar->rect().center()));
      check(bar->menuText(choice).toUtf8().constData(), before, direction);
    }
    before = bar->value();
    ASSERT_TRUE(chooseFromBarMenu(bar, ReqScrollBar::ScrollHere, bar->rect().center()));
    check("Scroll here", before, +1);
  }
}
