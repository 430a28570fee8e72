// mode_page_test.cpp - the mode tab against the simulated camera: control rules, clamps, frame modes,
// protection.
#include <QGroupBox>
#include <QRadioButton>
#include <map>
#include <vector>

#include "mode_fixture.h"
#include "pages/area/dlg_mode.h"

using enum CDlgMode::CtlId;

namespace {

class ModePageTest : public AreaPageTest {
 protected:
  void start(const std::string& camera = "219290", int32_t language = 9, const std::string& extra = "") {
    openCamera(camera, language, extra);
    page = std::make_unique<CDlgMode>(nullptr, nullptr);
    showPage();
  }
  CDlgMode* mode() const { return static_cast<CDlgMode*>(page.get()); }
  // Puts the camera into a run mode before the page shows it.
  void startInRunMode(const std::string& camera, int32_t runMode) {
    openCamera(camera);
    cameraHolds(2, runMode);
    page = std::make_unique<CDlgMode>(nullptr, nullptr);
    showPage();
  }
};

struct RuleCase {
  const char* name;
  std::string camera;
  int32_t language;
  std::string extra;  // simulator commands before the opening
  int32_t runMode;
  std::map<int, Look> looks;
  std::map<int, const char*> labels;
};

class ModeRules : public ModePageTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(ModeRules, ControlsFollowTypeVersionAndTags) {
  const RuleCase& c = GetParam();
  openCamera(c.camera, c.language, c.extra);
  if (c.runMode != 1) cameraHolds(2, c.runMode);
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  for (const auto& [id, look] : c.looks) {
    EXPECT_EQ(lookOf(ctl<QWidget>(id)), look)
        << "control " << id << " is " << lookName(lookOf(ctl<QWidget>(id))) << ", expected "
        << lookName(look);
  }
  for (const auto& [id, label] : c.labels) {
    EXPECT_EQ(ctl<QAbstractButton>(id)->text(), QString::fromUtf8(label)) << "control " << id;
  }
  // Showing the page writes nothing.
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

using L = Look;
INSTANTIATE_TEST_SUITE_P(
    Cameras, ModeRules,
    ::testing::Values(RuleCase{"Colour219290Free",
                               "219290",
                               9,
                               "",
                               1,
                               {{kExternalSyncRadio, L::Shown},
                                {kEdgeTriggerRadio, L::Shown},
                                {kLastFrameFreezeRadio, L::Off},
                                {kTriggerHoldRadio, L::Off},
                                {kPulseTriggerRadio, L::Off},
                                {kFullRadio, L::Shown},
                                {kPartRadio, L::Shown},
                                {kBinningRadio, L::Hidden},
                                {kPalRadio, L::Off},
                                {kFrameAverageRadio, L::Off},
                                {kRiseDelayBar, L::Hidden},
                                {kRiseDelayEdit, L::Off},
                                {kRiseDelayLabel, L::Off},
                                {kFallDelayBar, L::Hidden},
                                {kFallDelayEdit, L::Off},
                                {kProtectTimeBar, L::Hidden},
                                {kProtectTimeEdit, L::Off},
                                {kProtectTimeLabel, L::Off},
                                {kProtectGroup, L::Off}},
                               {{kFullRadio, "Full"}, {kPartRadio, "Part"}, {kFreeRunRadio, "连续"}}},
                      RuleCase{"Colour219290EdgeChinese",
                               "219290",
                               2,
                               "",
                               2,
                               {{kRiseDelayBar, L::Shown},
                                {kRiseDelayEdit, L::Shown},
                                {kRiseDelayLabel, L::Shown},
                                {kFallDelayBar, L::Shown},
                                {kFallDelayEdit, L::Shown},
                                {kFallDelayLabel, L::Shown},
                                {kProtectTimeBar, L::Shown},
                                {kProtectTimeEdit, L::Shown},
                                {kProtectTimeLabel, L::Shown},
                                {kProtectGroup, L::Shown}},
                               {{kFullRadio, "全图"}, {kPartRadio, "局部"}}},
                      RuleCase{"Pal212630v4EdgeSomeRows",
                               "212630/4",
                               9,
                               "",
                               2,
                               {{kExternalSyncRadio, L::Shown},
                                {kEdgeTriggerRadio, L::Shown},
                                {kLastFrameFreezeRadio, L::Shown},
                                {kPulseTriggerRadio, L::Shown},
                                {kTriggerHoldRadio, L::Off},
                                {kPalRadio, L::Off},
                                {kFrameAverageRadio, L::Off},
                                {kRiseDelayBar, L::Shown},
                                {kRiseDelayEdit, L::Shown},
                                {kFallDelayBar, L::Hidden},
                                {kFallDelayEdit, L::Off},
                                {kFallDelayLabel, L::Off},
                                {kProtectTimeBar, L::Shown},
                                {kProtectTimeEdit, L::Shown},
                                {kProtectGroup, L::Shown}},
                               {}},
                      RuleCase{"Pal212630v1NoPulseNoFreeze",
                               "212630/1",
                               9,
                               "",
                               1,
                               {{kLastFrameFreezeRadio, L::Off}, {kPulseTriggerRadio, L::Off}},
                               {}},
                      RuleCase{"Ntsc210781v2",
                               "210781/2",
                               9,
                               "",
                               1,
                               {{kEdgeTriggerRadio, L::Off},
                                {kPartRadio, L::Off},
                                {kPalRadio, L::Shown},
                                {kLastFrameFreezeRadio, L::Off},
                                {kTriggerHoldRadio, L::Off},
                                {kExternalSyncRadio, L::Shown},
                                {kFrameAverageRadio, L::Off}},
                               {{kPalRadio, "NTSC"}}},
                      RuleCase{"Ntsc210781v1TriggerHold",
                               "210781/1",
                               9,
                               "",
                               1,
                               {{kTriggerHoldRadio, L::Shown}, {kPalRadio, L::Shown}},
                               {{kPalRadio, "NTSC"}}},
                      RuleCase{"Pal210780v4Average",
                               "210780/4",
                               9,
                               "",
                               1,
                               {{kFrameAverageRadio, L::Shown},
                                {kLastFrameFreezeRadio, L::Shown},
                                {kPalRadio, L::Off},
                                {kPartRadio, L::Off},
                                {kEdgeTriggerRadio, L::Shown}},
                               {{kFullRadio, "Full"}}},
                      RuleCase{"Pal210780v1",
                               "210780/1",
                               2,
                               "",
                               1,
                               {{kTriggerHoldRadio, L::Shown},
                                {kPalRadio, L::Shown},
                                {kFrameAverageRadio, L::Off},
                                {kLastFrameFreezeRadio, L::Off}},
                               {{kPalRadio, "PAL"}, {kFullRadio, "全图"}}},
                      RuleCase{"Vga210780v3",
                               "210780/3",
                               9,
                               "",
                               1,
                               {{kPalRadio, L::Off}, {kTriggerHoldRadio, L::Off}},
                               {{kFullRadio, "VGA"}}},
                      RuleCase{"Field210785",
                               "210785",
                               9,
                               "",
                               1,
                               {{kPalRadio, L::Shown}, {kExternalSyncRadio, L::Shown}, {kPartRadio, L::Off}},
                               {{kPartRadio, "单场"}, {kPalRadio, "PAL"}}},
                      RuleCase{"Short215590v9Pulse",
                               "215590/9",
                               9,
                               "",
                               1,
                               {{kPulseTriggerRadio, L::Shown},
                                {kExternalSyncRadio, L::Shown},
                                {kLastFrameFreezeRadio, L::Off},
                                {kPalRadio, L::Off}},
                               {}},
                      RuleCase{"Orientation321140NoFull",
                               "321140",
                               9,
                               "",
                               1,
                               {{kFullRadio, L::Off},
                                {kFrameModeGroup, L::Off},
                                {kExternalSyncRadio, L::Off},
                                {kPartRadio, L::Shown}},
                               {{kFullRadio, "全图"}}},
                      RuleCase{
                          "TagsTakeEdgeAndPartAway",
                          "219290",
                          9,
                          "tag COM1:1000=0;tag COM1:1001=0",
                          1,
                          {{kEdgeTriggerRadio, L::Off}, {kPartRadio, L::Off}, {kExternalSyncRadio, L::Shown}},
                          {}},
                      RuleCase{"Tag31AloneGivesOneRow",
                               "219290",
                               9,
                               "tag COM1:32=0;tag COM1:33=0",
                               2,
                               {{kRiseDelayBar, L::Shown},
                                {kFallDelayBar, L::Hidden},
                                {kProtectTimeBar, L::Hidden},
                                {kProtectGroup, L::Shown}},
                               {}},
                      RuleCase{"RowsHiddenInPulseModeEvenWithTags",
                               "219290",
                               9,
                               "",
                               5,
                               {{kRiseDelayBar, L::Hidden},
                                {kFallDelayBar, L::Hidden},
                                {kProtectTimeBar, L::Hidden},
                                {kProtectGroup, L::Off}},
                               {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SelectionCase {
  const char* name;
  std::string camera;
  int32_t runMode, frameMode, outputMode;
  int runButton, frameButton, outputButton;
  int32_t heldFrameMode;  // what the record holds after the refresh
};

class ModeSelections : public ModePageTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(ModeSelections, SelectionsFollowTheRecord) {
  const SelectionCase& c = GetParam();
  openCamera(c.camera);
  cameraHolds(2, c.runMode);
  cameraHolds(5, c.frameMode);
  cameraHolds(6, c.outputMode);
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  EXPECT_TRUE(checked(c.runButton));
  EXPECT_TRUE(checked(c.frameButton));
  EXPECT_TRUE(checked(c.outputButton));
  EXPECT_EQ(cameraState().params.frameMode, c.heldFrameMode);
  EXPECT_TRUE(sim.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Records, ModeSelections,
    ::testing::Values(SelectionCase{"FreeFullCamera", "219290", 1, 1, 1, 1035, 1040, 1045, 1},
                      SelectionCase{"EdgePartTest", "219290", 2, 2, 2, 1036, 1041, 1046, 2},
                      SelectionCase{"HoldBinning", "210780/1", 6, 3, 1, 1208, 1042, 1045, 3},
                      SelectionCase{"NtscIsFour", "210781/2", 3, 4, 1, 1037, 1043, 1045, 4},
                      SelectionCase{"FourIsAverageOn210780v4", "210780/4", 4, 4, 1, 1003, 1002, 1045, 5},
                      SelectionCase{"FiveIsAverage", "210780/4", 5, 5, 1, 1025, 1002, 1045, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModePageTest, AverageHeldAsFiveIsWrittenAsFourAgain) {
  openCamera("210780/4");
  cameraHolds(5, 4);
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  ASSERT_TRUE(checked(kFrameAverageRadio));
  EXPECT_FALSE(checked(kPalRadio));
  click(kFrameAverageRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(5, 4)}));
  EXPECT_EQ(cameraState().params.frameMode, 5);
  EXPECT_TRUE(checked(kFrameAverageRadio));
  EXPECT_TRUE(mode()->leavingPal());
  // Full afterwards consumes the flag: rate 1 in the record, no write of 14.
  cameraState().params.rate = 0;
  sim.clearLog();
  click(kFullRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(5, 1)}));
  EXPECT_EQ(cameraState().params.rate, 1);
  EXPECT_FALSE(mode()->leavingPal());
  EXPECT_TRUE(checked(kFullRadio));
}

TEST_F(ModePageTest, WithoutACameraControlsStayButSelectionsFollow) {
  sim.reset();
  CameraState& s = cameraState();
  s.language = 9;
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  // Construction values: nothing disabled, nothing relabelled.
  EXPECT_TRUE(ctl<QWidget>(kLastFrameFreezeRadio)->isEnabled());
  EXPECT_EQ(ctl<QAbstractButton>(kFullRadio)->text(), QString::fromUtf8("全图"));
  // Binning never shows, so it never covers multi-frame average.
  EXPECT_TRUE(ctl<QWidget>(kBinningRadio)->isHidden());
  EXPECT_FALSE(ctl<QWidget>(kFrameAverageRadio)->isHidden());
  s.params.runMode = 3;
  s.params.frameMode = 2;
  s.params.outputMode = 2;
  mode()->repaint();
  EXPECT_TRUE(checked(kExternalSyncRadio));
  EXPECT_TRUE(checked(kPartRadio));
  EXPECT_TRUE(checked(kTestImageRadio));
  EXPECT_TRUE(ctl<QWidget>(kLastFrameFreezeRadio)->isEnabled());
  EXPECT_FALSE(ctl<QWidget>(kProtectTimeLabel)->isEnabled());
  EXPECT_TRUE(sim.log().empty());
}

TEST_F(ModePageTest, AnotherCameraLaterGetsTheFullChoiceBack) {
  start("321140");
  EXPECT_FALSE(ctl<QWidget>(kFullRadio)->isEnabled());
  EXPECT_FALSE(ctl<QWidget>(kFrameModeGroup)->isEnabled());
  // A port change opens another camera; the page object stays.
  CameraLibrary::instance().closeCamera(cameraState().handle);
  cameraState().handle = nullptr;
  openCamera("219290");
  mode()->repaint();
  EXPECT_TRUE(ctl<QWidget>(kFullRadio)->isEnabled());
  EXPECT_TRUE(ctl<QWidget>(kFrameModeGroup)->isEnabled());
  EXPECT_EQ(ctl<QAbstractButton>(kFullRadio)->text(), "Full");
}

// A run-mode click from a prepared exposure: which exposure write follows.
struct ClampCase {
  const char* name;
  std::string camera;
  int32_t startRunMode;
  int32_t startExposure;  // lines
  int button;
  int32_t runMode;
  // Expected exposure write: 0 none, -1 the range minimum, -2 the maximum.
  int exposure;
};

class ModeClamps : public ModePageTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(ModeClamps, RunModeKeepsTheExposureInsideOneBound) {
  const ClampCase& c = GetParam();
  openCamera(c.camera);
  cameraHolds(2, c.startRunMode);
  cameraHolds(9, c.startExposure);
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  click(c.button);
  // Asked once for the new mode, never for last-frame freeze.
  EXPECT_EQ(sim.calls("CalExposeRange").size(), c.runMode == 4 ? 0u : 1u);
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  std::vector<Write> expected{W(2, c.runMode)};
  int32_t exposure = c.startExposure;
  if (c.exposure == -1) exposure = lo;
  if (c.exposure == -2) exposure = hi;
  if (c.exposure != 0) expected.push_back(W(9, exposure));
  EXPECT_EQ(sim.writes(), expected);
  EXPECT_EQ(cameraState().params.runMode, c.runMode);
  EXPECT_EQ(cameraState().params.exposalTime, exposure);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeClamps,
                         ::testing::Values(
                             // 219290 runs free up to 624 lines; triggered it needs at least 4.
                             ClampCase{"ContinuousLowersALongExposure", "219290", 2, 2000, 1035, 1, -2},
                             ClampCase{"ExternalSyncLowersALongExposure", "219290", 2, 2000, 1037, 3, -2},
                             ClampCase{"ContinuousKeepsAFittingExposure", "219290", 2, 300, 1035, 1, 0},
                             ClampCase{"ContinuousNeverRaises", "219290", 1, 0, 1035, 1, 0},
                             ClampCase{"EdgeRaisesAShortExposure", "219290", 1, 2, 1036, 2, -1},
                             ClampCase{"EdgeNeverLowers", "219290", 1, 600, 1036, 2, 0},
                             ClampCase{"PulseRaises", "212630/4", 1, 1, 1025, 5, -1},
                             ClampCase{"HoldRaises", "210780/1", 1, 3, 1208, 6, -1},
                             ClampCase{"FreezeNeverTouchesTheExposure", "212630/4", 2, 2000, 1003, 4, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModePageTest, EdgeTriggerBringsTheProtectionRowsFromTheBlock) {
  openCamera("219290");
  CameraState& s = cameraState();
  s.ext.riseDelay = 7;
  s.ext.fallDelay = 21;
  s.ext.protectTime = 480;
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  EXPECT_TRUE(bar(kRiseDelayBar)->isHidden());
  EXPECT_EQ(editText(kRiseDelayEdit), "10");
  click(kEdgeTriggerRadio);
  EXPECT_FALSE(bar(kRiseDelayBar)->isHidden());
  EXPECT_EQ(bar(kRiseDelayBar)->value(), 7);
  EXPECT_EQ(editText(kRiseDelayEdit), "7");
  EXPECT_EQ(bar(kFallDelayBar)->value(), 21);
  EXPECT_EQ(editText(kFallDelayEdit), "21");
  EXPECT_EQ(bar(kProtectTimeBar)->value(), 480);
  EXPECT_EQ(editText(kProtectTimeEdit), "480");
  // Filling the edits from the block wrote nothing but the run mode.
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(2, 2)}));
  click(kFreeRunRadio);
  EXPECT_TRUE(bar(kRiseDelayBar)->isHidden());
  EXPECT_FALSE(ctl<QWidget>(kRiseDelayEdit)->isEnabled());
}

TEST_F(ModePageTest, NtscThenFullOn210781v2) {
  start("210781/2");
  click(kPalRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(5, 4), W(14, 0)}));
  EXPECT_TRUE(checked(kPalRadio));
  EXPECT_TRUE(mode()->leavingPal());
  EXPECT_EQ(sim.calls("GetConfigParam").size(), 1u);
  EXPECT_GE(desktop.waitCursorShown, 1);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  sim.clearLog();
  click(kFullRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(5, 1)}));
  EXPECT_EQ(cameraState().params.rate, 1);
  EXPECT_EQ(cameraState().params.frameMode, 1);
  EXPECT_FALSE(mode()->leavingPal());
  EXPECT_TRUE(checked(kFullRadio));
  // Full frame has no exposure clamp.
  EXPECT_TRUE(sim.calls("CalExposeRange").empty());
  EXPECT_TRUE(desktop.messages.empty());
}

// Leaving PAL/NTSC: which clicks set the flag, and which rate the next
// full or part choice leaves in the record (never written as id 14).
struct LeavePalCase {
  const char* name;
  std::string camera;
  int32_t heldFrameMode;    // what the camera reports before the clicks
  std::vector<int> clicks;  // in order; the last one is full or part
  int32_t rateAfter;        // the record's rate after the last click
};

class ModeLeavePal : public ModePageTest, public ::testing::WithParamInterface<LeavePalCase> {};

TEST_P(ModeLeavePal, TheNextFullOrPartTakesTheFlag) {
  const LeavePalCase& c = GetParam();
  // Part frames on these video cameras only where the camera says so.
  openCamera(c.camera, 9, "tag COM1:1001=1");
  cameraHolds(5, c.heldFrameMode);
  cameraHolds(14, 0);
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  for (size_t i = 0; i + 1 < c.clicks.size(); ++i) click(c.clicks[i]);
  sim.clearLog();
  click(c.clicks.back());
  const int32_t frameMode = c.clicks.back() == 1040 ? 1 : 2;
  ASSERT_FALSE(sim.writes().empty());
  EXPECT_EQ(sim.writes().front(), W(5, frameMode));
  for (const Write& w : sim.writes()) EXPECT_NE(w.first, 14) << "the rate is kept in the record only";
  EXPECT_EQ(cameraState().params.frameMode, frameMode);
  EXPECT_EQ(cameraState().params.rate, c.rateAfter);
  EXPECT_FALSE(mode()->leavingPal());
  EXPECT_TRUE(checked(c.clicks.back()));
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ModeLeavePal,
    ::testing::Values(
        // A camera already in NTSC when the program started: full alone
        // sets and takes the flag.
        LeavePalCase{"FullFromHeldNtscOnVersion2", "210781/2", 4, {kFullRadio}, 1},
        // Only version 2 counts a held PAL as leaving it.
        LeavePalCase{"FullFromHeldPalOnVersion1KeepsTheRate", "210780/1", 4, {kFullRadio}, 0},
        LeavePalCase{"PartAfterPal", "210780/1", 1, {kPalRadio, kPartRadio}, 2},
        LeavePalCase{"PartAfterAverage", "210780/4", 1, {kFrameAverageRadio, kPartRadio}, 2},
        // Part took the flag; full then reads the camera's own rate back.
        LeavePalCase{"FullAfterPartReadsTheRateBack", "210780/1", 1, {kPalRadio, kPartRadio, kFullRadio}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModePageTest, PalOn210785WritesTheFieldRateChoice) {
  start("210785");
  click(kPalRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(5, 4), W(14, 1)}));
}

TEST_F(ModePageTest, PartShortensTheExposureToTheWindow) {
  openCamera("219290");
  cameraHolds(9, 600);
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  showPage();
  click(kPartRadio);
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  ASSERT_LT(hi, 600);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(5, 2), W(9, hi)}));
  EXPECT_EQ(cameraState().params.exposalTime, hi);
  EXPECT_TRUE(checked(kPartRadio));
}

// A frame-mode write that the camera refuses: how often it is tried.
struct RetryCase {
  const char* name;
  std::string camera;
  int button;
  size_t attempts;
};

class ModeRetries : public ModePageTest, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(ModeRetries, FrameModeWritesAreTriedTwiceWhereTheyMatter) {
  const RetryCase& c = GetParam();
  start(c.camera);
  sim.control("fail 5=106");
  click(c.button);
  size_t attempts = 0;
  for (const Write& w : sim.writes()) attempts += w.first == 5 ? 1 : 0;
  EXPECT_EQ(attempts, c.attempts);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Can not write in for invalid link.");
  EXPECT_EQ(desktop.messages[0].caption, "Vistrel");
}

INSTANTIATE_TEST_SUITE_P(Buttons, ModeRetries,
                         ::testing::Values(RetryCase{"Full", "219290", 1040, 2},
                                           RetryCase{"Part", "219290", 1041, 2},
                                           RetryCase{"Pal", "210780/1", 1043, 2},
                                           RetryCase{"Average", "210780/4", 1002, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModePageTest, FailedReadBackIsReportedAndTheModeStillWritten) {
  start();
  sim.control("fail read=103");
  click(kFullRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(5, 1)}));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "can not read camera info, please check it");
}

TEST_F(ModePageTest, FailedRunModeWriteKeepsTheNewValue) {
  start("219290", 2);
  sim.control("fail 2=106");
  click(kExternalSyncRadio);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            QString::fromUtf8("由于设备连接不正常，无法写入参数，仅改变界面设置。"));
  EXPECT_EQ(cameraState().params.runMode, 3);
  EXPECT_TRUE(checked(kExternalSyncRadio));
}

TEST_F(ModePageTest, OutputWritesAndReadsTheRecordBack) {
  start();
  click(kTestImageRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(6, 2)}));
  auto reads = sim.calls("GetConfigParam");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].value("id"), -1);
  EXPECT_EQ(cameraState().params.outputMode, 2);
  EXPECT_TRUE(checked(kTestImageRadio));
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  sim.clearLog();
  // The read-back's own failure is not reported.
  sim.control("fail read=103");
  click(kCameraOutputRadio);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(6, 1)}));
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_TRUE(checked(kCameraOutputRadio));
}

// Typing into a protection edit, keystroke by keystroke.
struct ProtectEditCase {
  const char* name;
  int edit, bar;
  const char* text;
  std::vector<Write> writes;
  int barAfter;
};

class ModeProtectEdits : public ModePageTest, public ::testing::WithParamInterface<ProtectEditCase> {};

TEST_P(ModeProtectEdits, EachKeystrokeWithinTheRowMaximumWrites) {
  const ProtectEditCase& c = GetParam();
  startInRunMode("219290", 2);
  type(c.edit, QString::fromUtf8(c.text));
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(bar(c.bar)->value(), c.barAfter);
  // The edit keeps what was typed; nothing is ever reported.
  EXPECT_EQ(editText(c.edit), QString::fromUtf8(c.text));
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ModeProtectEdits,
    ::testing::Values(ProtectEditCase{"RiseThirtyOneStopsAtThree", 1062, 1153, "31", {W(31, 3)}, 3},
                      ProtectEditCase{"RiseThirtyReachesTheEnd", 1062, 1153, "30", {W(31, 3), W(31, 30)}, 30},
                      ProtectEditCase{"FallTwelve", 1038, 1032, "12", {W(32, 1), W(32, 12)}, 12},
                      ProtectEditCase{"ProtectSixFiftyOne", 1039, 1033, "651", {W(33, 6), W(33, 65)}, 65},
                      ProtectEditCase{
                          "ProtectSixFifty", 1039, 1033, "650", {W(33, 6), W(33, 65), W(33, 650)}, 650},
                      ProtectEditCase{"EmptyWritesNothing", 1062, 1153, "", {}, 10},
                      ProtectEditCase{"LettersWriteNothing", 1038, 1032, "x", {}, 10},
                      ProtectEditCase{"MinusWritesNothing", 1038, 1032, "-", {}, 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModePageTest, ProtectionEditActsOnTextThePageOrProgramSets) {
  startInRunMode("219290", 2);
  ctl<QLineEdit>(kRiseDelayEdit)->setText("25");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(31, 25)}));
  EXPECT_EQ(cameraState().ext.riseDelay, 25);
  EXPECT_EQ(bar(kRiseDelayBar)->value(), 25);
}

// A sequence of scroll requests on one protection bar.
struct ProtectScrollCase {
  const char* name;
  int bar, edit, id;
  std::vector<std::pair<int, int>> requests;
  std::vector<int32_t> values;  // written, one per request
};

class ModeProtectScroll : public ModePageTest, public ::testing::WithParamInterface<ProtectScrollCase> {};

TEST_P(ModeProtectScroll, EveryRequestWritesItsPosition) {
  const ProtectScrollCase& c = GetParam();
  startInRunMode("219290", 2);
  for (auto [code, pos] : c.requests) bar(c.bar)->request(code, pos);
  std::vector<Write> expected;
  for (int32_t v : c.values) expected.push_back(W(c.id, v));
  EXPECT_EQ(sim.writes(), expected);
  EXPECT_EQ(bar(c.bar)->value(), c.values.back());
  EXPECT_EQ(editText(c.edit), QString::number(c.values.back()));
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ModeProtectScroll,
    ::testing::Values(
        ProtectScrollCase{"LineRightLeft",
                          1153,
                          1062,
                          31,
                          {{SbLineRight, 0}, {SbLineLeft, 0}, {SbLineLeft, 0}},
                          {11, 10, 9}},
        ProtectScrollCase{
            "PageRightStopsAtTheEnd", 1032, 1038, 32, {{SbPageRight, 0}, {SbPageRight, 0}}, {30, 30}},
        ProtectScrollCase{"PageLeftStopsAtZero",
                          1033,
                          1039,
                          33,
                          {{SbPageLeft, 0}, {SbPageLeft, 0}, {SbPageLeft, 0}, {SbPageLeft, 0}},
                          {60, 20, 0, 0}},
        ProtectScrollCase{"LineLeftAtZeroStays", 1153, 1062, 31, {{SbLeft, 0}, {SbLineLeft, 0}}, {0, 0}},
        ProtectScrollCase{
            "DragWritesEachMoveAndTheEnd",
            1033,
            1039,
            33,
            {{SbThumbTrack, 120}, {SbThumbTrack, 333}, {SbThumbPosition, 333}, {SbEndScroll, 0}},
            {120, 333, 333, 333}},
        ProtectScrollCase{"Ends", 1033, 1039, 33, {{SbRight, 0}, {SbLeft, 0}}, {650, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModePageTest, LabelOfProtectTimeStartsDisabled) {
  sim.reset();
  page = std::make_unique<CDlgMode>(nullptr, nullptr);
  EXPECT_FALSE(ctl<QWidget>(kProtectTimeLabel)->isEnabled());
  EXPECT_EQ(bar(kRiseDelayBar)->maximum(), 30);
  EXPECT_EQ(bar(kFallDelayBar)->maximum(), 30);
  EXPECT_EQ(bar(kProtectTimeBar)->maximum(), 650);
  EXPECT_EQ(bar(kProtectTimeBar)->value(), 100);
  EXPECT_EQ(editText(kProtectTimeEdit), "100");
  EXPECT_EQ(editText(kFallDelayEdit), "10");
}

}  // namespace
