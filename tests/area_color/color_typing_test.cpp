// color_typing_test.cpp - the colour gains typed key by key: only what the user meant reaches the camera.
#include <QTest>

#include "app/typed_number.h"
#include "color_fixture.h"
#include "pages/area/dlg_color_param.h"

using enum CDlgColorParam::CtlId;

namespace {

struct GainKeysCase {
  const char* name;
  int edit, bar, id;
  const char* typed;
  std::vector<Write> whileTyping;
  std::vector<Write> onEnter;
  const char* shown;  // after Enter
  int position;       // bar after Enter
};

void PrintTo(const GainKeysCase& c, std::ostream* os) { *os << c.name; }

class GainKeys : public AreaColorTest, public ::testing::WithParamInterface<GainKeysCase> {};

}  // namespace

TEST_P(GainKeys, TypedAndConfirmed) {
  const GainKeysCase& c = GetParam();
  openCamera("COM1", "219290");
  window = std::make_unique<CDlgColorParam>(nullptr, nullptr);
  showWindow();
  type(c.edit, QString::fromLatin1(c.typed));
  EXPECT_EQ(sim.writes(), c.whileTyping);
  EXPECT_EQ(editText(c.edit), QString::fromLatin1(c.typed)) << "the text stays as typed";
  EXPECT_TRUE(desktop.messages.empty());
  sim.clearLog();
  QTest::keyClick(ctl<QLineEdit>(c.edit), Qt::Key_Return);
  EXPECT_EQ(sim.writes(), c.onEnter);
  EXPECT_EQ(editText(c.edit), QString::fromLatin1(c.shown));
  EXPECT_EQ(bar(c.bar)->value(), c.position);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GainKeys,
    ::testing::Values(
        // Red and green show the rounded value: 1, 10 and 103 would each
        // replace the text being typed, so the 103 waits for Enter.
        GainKeysCase{"Red103", 1052, 1057, 10, "103", {}, {W(10, 100)}, "100", 100},
        GainKeysCase{"Green103", 1053, 1058, 11, "103", {}, {W(11, 100)}, "100", 100},
        // 100 is on the step: each of its keystrokes is a complete value.
        GainKeysCase{"Red100", 1052, 1057, 10, "100", {W(10, 100)}, {}, "100", 100},
        // Blue keeps the text as typed: one write per keystroke, as before.
        GainKeysCase{"Blue103", 1054, 1059, 12, "103", {W(12, 0), W(12, 8), W(12, 100)}, {}, "103", 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AreaColorTest, SaturationLoneMinusAndOutOfRangeWaitForTheUser) {
  openCamera("COM1", "219290");
  window = std::make_unique<CDlgColorParam>(nullptr, nullptr);
  showWindow();
  type(kSaturationEdit, "-129");
  // "-" is the start of a number; -1 and -12 are saturations; -129 would be
  // refused by putting the stored value back, under the user's fingers.
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(13, -1), W(13, -12)}));
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(editText(kSaturationEdit), "-129");
  QTest::keyClick(ctl<QLineEdit>(kSaturationEdit), Qt::Key_Return);
  EXPECT_EQ(desktop.texts(), QStringList{"input exceed valid range"});
  EXPECT_EQ(editText(kSaturationEdit), "-12");
  EXPECT_EQ(sim.writes().size(), 2u);
}
