// linear_typing_test.cpp - Time1 and Time2 typed key by key: only what the user meant reaches the camera.
#include <QLineEdit>
#include <QTest>

#include "app/typed_number.h"
#include "pages/linescan/dlg_linear_param.h"
#include "tests/linescan/linescan_fixture.h"

namespace {

const QString kExceed = "input exceed valid range of expose time";

struct KeysCase {
  const char* name;
  int32_t type;
  int32_t workMode;
  int32_t time1;
  int32_t time2;
  int edit;  // 1190 Time1 or 1191 Time2
  const char* typed;
  std::vector<Write> whileTyping;
  const char* shownWhileTyping;  // the text under the user's fingers
  // What Enter then does.
  QStringList messages;
  std::vector<Write> onEnter;
  int32_t shownTime1, shownTime2;  // afterwards
};

void PrintTo(const KeysCase& c, std::ostream* os) { *os << c.name; }

class TypedKeys : public LineScanFixture, public ::testing::WithParamInterface<KeysCase> {};

}  // namespace

TEST_P(TypedKeys, HalfTypedTimesAreNotWritten) {
  const KeysCase& c = GetParam();
  open(c.type);
  setBlock(c.workMode, c.time1, c.time2);
  show<CDlgLinearParam>();
  auto* edit = page_->findChild<QLineEdit*>(QString::number(c.edit));
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, QString::fromLatin1(c.typed));
  EXPECT_EQ(sim.writes(), c.whileTyping);
  EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join('|').toStdString();
  EXPECT_EQ(edit->text(), QString::fromLatin1(c.shownWhileTyping));
  sim.clearLog();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(desktop.texts(), c.messages);
  EXPECT_EQ(sim.writes(), c.onEnter);
  EXPECT_EQ(editText(page_.get(), 1190).toInt(), c.shownTime1);
  EXPECT_EQ(editText(page_.get(), 1191).toInt(), c.shownTime2);
  EXPECT_EQ(cameraState().linear.time1, c.shownTime1);
  EXPECT_EQ(cameraState().linear.time2, c.shownTime2);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TypedKeys,
    ::testing::Values(
        // 3 alone is too short a period with Time1 100; 35 and 350 are
        // good times, each written as it is completed.
        KeysCase{"ColourTime2Is350",
                 120770,
                 0,
                 100,
                 200,
                 1191,
                 "350",
                 {W(107, 35), W(107, 350)},
                 "350",
                 {},
                 {},
                 100,
                 350},
        // The line period 6 would pull Time1 (4000) down with it; 6000
        // does not, and is the only value written.
        KeysCase{"LongTime2Is6000",
                 117810,
                 0,
                 4000,
                 8000,
                 1191,
                 "6000",
                 {W(107, 6000)},
                 "6000",
                 {},
                 {},
                 4000,
                 6000},
        // Confirmed below Time1, Time2 then takes Time1 down with it.
        KeysCase{"LongTime2Below",
                 117810,
                 0,
                 4000,
                 8000,
                 1191,
                 "3000",
                 {},
                 "3000",
                 {},
                 {W(106, 3000), W(107, 3000)},
                 3000,
                 3000},
        // A time no more typing can make valid is corrected only when the
        // user confirms it, with the message.
        KeysCase{"ColourTime2TooLong",
                 120770,
                 0,
                 100,
                 200,
                 1191,
                 "850",
                 {W(107, 8), W(107, 85)},
                 "850",
                 {kExceed},
                 {W(107, 400)},
                 100,
                 400},
        KeysCase{
            "ColourTime1TooShort", 120770, 0, 100, 200, 1190, "1", {}, "1", {kExceed}, {W(106, 2)}, 2, 200},
        // Externally synchronised, Time2 is fixed: the typed text stays
        // until confirmed, then the fixed value is shown, not written.
        KeysCase{"ColourExSyncFixed", 120770, 2, 100, 200, 1191, "300", {}, "300", {}, {}, 100, 106}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineScanFixture, ScrolledTimesStillReachTheirEditHandlerAtOnce) {
  open(120770);
  setBlock(0, 100, 200);
  show<CDlgLinearParam>();
  auto* bar = page_->findChild<ReqScrollBar*>("1188");
  bar->request(SbLineRight, 0);
  bar->request(SbEndScroll, 0);
  ASSERT_FALSE(sim.writes().empty());
  EXPECT_EQ(sim.writes().back(), W(107, 201));
  EXPECT_FALSE(TypedNumber::of(page_->findChild<QLineEdit*>("1191"))->pending());
}
