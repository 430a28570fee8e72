// cirl_test.cpp - the electronic circle page against the simulated circle camera.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "page_fixture.h"
#include "pages/models/dlg_cirl.h"

using enum CDlgCirl::CtlId;

namespace {

class CirlTest : public PageFixture {
 protected:
  CDlgCirl* start(const std::string& extra = "") {
    open("212630/4", 9, extra);
    return makePage<CDlgCirl>();
  }
  QLineEdit* edit(int id) { return page()->control<QLineEdit>(id); }
  void press(int id) { page()->control<QPushButton>(id)->click(); }
  CDlgCirl* page() { return static_cast<CDlgCirl*>(page_.get()); }
};

TEST_F(CirlTest, ShowsTheRecordAndDropsUnappliedText) {
  start();
  const CameraParams& p = cameraState().params;
  EXPECT_EQ(edit(kRadiusEdit)->text(), QString::number(p.radius));
  EXPECT_EQ(edit(kCentreXEdit)->text(), QString::number(p.coordinateX));
  EXPECT_EQ(edit(kCentreYEdit)->text(), QString::number(p.coordinateY));
  cameraState().params.radius = 77;
  edit(kCentreXEdit)->setText("5");
  reshow();
  EXPECT_EQ(edit(kRadiusEdit)->text(), "77");
  EXPECT_EQ(edit(kCentreXEdit)->text(), QString::number(p.coordinateX));
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(CirlTest, ChangeRadiusWritesThenReadsTheRecord) {
  start();
  edit(kRadiusEdit)->setText("250");
  press(kRadiusButton);
  const auto log = sim.log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].name, "SetConfigParam");
  EXPECT_EQ(log[0].value("id"), 16);
  EXPECT_EQ(log[0].value("value"), 250);
  EXPECT_EQ(log[1].name, "GetConfigParam");
  EXPECT_EQ(log[1].value("id"), -1);
  EXPECT_EQ(log[1].value("mode"), 0);
  EXPECT_EQ(cameraState().params.radius, 250);
  EXPECT_EQ(desktop.waitCursorShown, 1);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(CirlTest, RecordKeepsTheTypedRadiusWhenTheReadBackDiffers) {
  start();
  const int32_t before = cameraState().params.radius;
  // The camera refuses the radius, so its record still has the old one.
  sim.control("fail 16=122");
  edit(kRadiusEdit)->setText(QString::number(before + 40));
  press(kRadiusButton);
  EXPECT_EQ(sim.calls("GetConfigParam").size(), 1u);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "the input param is incorrect");
  EXPECT_EQ(cameraState().params.radius, before + 40);
  EXPECT_EQ(edit(kRadiusEdit)->text(), QString::number(before + 40));
}

// The circle's numbers are unsigned to the camera: one past the signed top
// goes out as the large positive it was typed as, never as a negative.
TEST_F(CirlTest, NumbersPastTheSignedTopAreSentAsTyped) {
  start();
  edit(kRadiusEdit)->setText("3000000000");
  press(kRadiusButton);
  edit(kCentreXEdit)->setText("4294967295");
  edit(kCentreYEdit)->setText("2147483648");
  press(kCentreButton);
  const auto sets = sim.calls("SetConfigParam");
  ASSERT_EQ(sets.size(), 3u);
  EXPECT_EQ(sets[0].value("value"), 3000000000LL);
  EXPECT_EQ(sets[1].value("value"), 4294967295LL);
  EXPECT_EQ(sets[2].value("value"), 2147483648LL);
  // The record keeps the same 32 bits.
  EXPECT_EQ(static_cast<uint32_t>(cameraState().params.radius), 3000000000u);
}

// The centre goes as two writes 200 ms apart; the second is sent even when
// the first fails.
struct CentreCase {
  const char* fault;
  size_t messages;
};

class CirlCentre : public CirlTest, public ::testing::WithParamInterface<CentreCase> {};

TEST_P(CirlCentre, TwoWritesTwoHundredMillisecondsApart) {
  start();
  if (*GetParam().fault != '\0') sim.control(GetParam().fault);
  std::vector<Write> atSleep;
  desktop.onSleep = [&](int) { atSleep = sim.writes(); };
  edit(kCentreXEdit)->setText("300");
  edit(kCentreYEdit)->setText("280");
  press(kCentreButton);
  EXPECT_EQ(atSleep, std::vector<Write>{W(17, 300)});
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(17, 300), W(18, 280)}));
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_EQ(desktop.sleeps[0].ms, 200);
  EXPECT_EQ(desktop.clock, 200);
  EXPECT_EQ(desktop.messages.size(), GetParam().messages);
  // No read-back: the record holds what was asked for.
  EXPECT_TRUE(sim.calls("GetConfigParam").empty());
  EXPECT_EQ(cameraState().params.coordinateX, 300);
  EXPECT_EQ(cameraState().params.coordinateY, 280);
}

INSTANTIATE_TEST_SUITE_P(Faults, CirlCentre,
                         ::testing::Values(CentreCase{"", 0}, CentreCase{"fail 17=106", 1},
                                           CentreCase{"fail 18=106", 1}, CentreCase{"fail *=106", 2}));

// Text that is not an unsigned number (only the program can put one there)
// is not sent, and the user is told why nothing happened.
struct BadTextCase {
  int editId;
  int buttonId;
  const char* text;
};

class CirlBadText : public CirlTest, public ::testing::WithParamInterface<BadTextCase> {};

TEST_P(CirlBadText, WritesNothingAndAsksForANumber) {
  start();
  edit(GetParam().editId)->setText(QString::fromUtf8(GetParam().text));
  press(GetParam().buttonId);
  EXPECT_TRUE(sim.log().empty());
  EXPECT_EQ(desktop.texts(), QStringList{"Enter a whole number."});
  EXPECT_TRUE(desktop.sleeps.empty());
}

// What the user can type: digits only, and no more of them than an unsigned
// 32-bit number holds.
struct TypingCase {
  const char* keys;
  const char* shown;
};

class CirlTyping : public CirlTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(CirlTyping, OnlyAnUnsignedNumberCanBeEntered) {
  start();
  for (int id : {kRadiusEdit, kCentreXEdit, kCentreYEdit}) {
    QLineEdit* e = edit(id);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, QString::fromLatin1(GetParam().keys));
    EXPECT_EQ(e->text(), QString::fromLatin1(GetParam().shown)) << id;
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, CirlTyping,
                         ::testing::Values(TypingCase{"12ab3", "123"}, TypingCase{"-5", "5"},
                                           TypingCase{"1.5", "15"}, TypingCase{"x", ""},
                                           TypingCase{"4294967295", "4294967295"},
                                           TypingCase{"42949672951", "4294967295"},
                                           TypingCase{"12345678901234567890", "1234567890"}));

TEST_F(CirlTest, AValueTheCameraCannotTakeGetsTheLibrarysMessage) {
  start();
  QLineEdit* radius = edit(kRadiusEdit);
  radius->setFocus();
  radius->selectAll();
  QTest::keyClicks(radius, "99999");
  press(kRadiusButton);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(16, 99999)}));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_FALSE(desktop.messages[0].text.isEmpty());
  desktop.clear();
  edit(kCentreXEdit)->setFocus();
  edit(kCentreXEdit)->selectAll();
  QTest::keyClicks(edit(kCentreXEdit), "4000000000");
  press(kCentreButton);
  ASSERT_GE(sim.writes().size(), 2u);
  EXPECT_EQ(sim.writes()[1].first, 17);
  EXPECT_GE(desktop.messages.size(), 1u) << "the camera refused the centre";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CirlBadText,
    ::testing::Values(BadTextCase{kRadiusEdit, 1099, ""}, BadTextCase{kRadiusEdit, 1099, "abc"},
                      BadTextCase{kRadiusEdit, 1099, "-3"}, BadTextCase{kCentreXEdit, 1098, "1.5"},
                      BadTextCase{kCentreYEdit, 1098, ""}, BadTextCase{kCentreYEdit, 1098, "-1"}));

// Read Param takes the current values, Memory Param those kept in the
// camera's memory; either replaces the whole record.
struct ReadCase {
  int buttonId;
  int32_t mode;
  bool current;
};

class CirlRead : public CirlTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CirlRead, ReplacesTheWholeRecord) {
  start();
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const CameraParams memory = s.params;
  // Change the camera's current values behind the page's back.
  ASSERT_EQ(lib.setConfigParam(s.handle, 16, memory.radius + 11, 0), 1);
  ASSERT_EQ(lib.setConfigParam(s.handle, 1, memory.gain + 5, 0), 1);
  ASSERT_EQ(lib.setConfigParam(s.handle, 17, memory.coordinateX + 3, 0), 1);
  sim.clearLog();
  s.params.gain = 1;
  press(GetParam().buttonId);
  const auto reads = sim.calls("GetConfigParam");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].value("id"), -1);
  EXPECT_EQ(reads[0].value("mode"), GetParam().mode);
  const int32_t d = GetParam().current ? 1 : 0;
  EXPECT_EQ(s.params.gain, memory.gain + 5 * d);
  EXPECT_EQ(s.params.radius, memory.radius + 11 * d);
  EXPECT_EQ(edit(kRadiusEdit)->text(), QString::number(memory.radius + 11 * d));
  EXPECT_EQ(edit(kCentreXEdit)->text(), QString::number(memory.coordinateX + 3 * d));
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, CirlRead,
                         ::testing::Values(ReadCase{kReadParamButton, 0, true},
                                           ReadCase{kMemoryParamButton, 1, false}));

TEST_F(CirlTest, FailedReadShowsTheMessageAndKeepsTheRecord) {
  start();
  sim.control("fail read=103");
  cameraState().params.radius = 12;
  press(kMemoryParamButton);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "can not read camera info, please check it");
  EXPECT_EQ(edit(kRadiusEdit)->text(), "12");
}

}  // namespace
