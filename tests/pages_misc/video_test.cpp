// video_test.cpp - the video state page against the simulated video cameras.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <array>
#include <vector>

#include "imaging/dlg_video.h"
#include "page_fixture.h"

using enum CDlgVideo::CtlId;

namespace {

class VideoTest : public PageFixture {
 protected:
  CDlgVideo* start(const std::string& camera = "212630/4", const std::string& extra = "",
                   int32_t language = 9) {
    open(camera, language, extra);
    return makePage<CDlgVideo>();
  }
  QCheckBox* check(int id) { return page()->control<QCheckBox>(id); }
  QComboBox* recursion() { return page()->control<QComboBox>(kRecursionList); }
  CDlgVideo* page() { return static_cast<CDlgVideo*>(page_.get()); }
  std::array<bool, 4> enabled() {
    return {check(kHorizontalInverseCheck)->isEnabled(), check(kVerticalInverseCheck)->isEnabled(),
            check(kNegativeImageCheck)->isEnabled(), recursion()->isEnabled()};
  }
};

// Which controls a camera gets: 1125 by version 4 or tag 27; 1126-1128 by
// the circle-and-video models with version 4, or by tags 28, 26, 25.
struct EnableCase {
  const char* camera;
  const char* extra;
  std::array<bool, 4> enabled;
};

class VideoEnable : public VideoTest, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(VideoEnable, ByTypeVersionAndTags) {
  start(GetParam().camera, GetParam().extra);
  EXPECT_EQ(enabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(Cameras, VideoEnable,
                         ::testing::Values(
                             // No tag of 212630 is set: the type and version alone enable all four.
                             EnableCase{"212630/4", "", {true, true, true, true}},
                             EnableCase{"216330/4", "", {true, true, true, true}},
                             EnableCase{"212630/3", "", {false, false, false, false}},
                             // Tags 25, 27 and 28 are set on 210781, 26 is not.
                             EnableCase{"210781/2", "", {true, true, false, true}},
                             EnableCase{"210781/2", "tag COM1:26=1", {true, true, true, true}},
                             EnableCase{
                                 "210781/2", "tag COM1:27=0;tag COM1:28=0", {false, false, false, true}},
                             // Version 4 alone enables only the mirror switch.
                             EnableCase{"210780/4", "", {true, false, false, false}},
                             EnableCase{"217070/1", "tag COM1:27=1", {true, false, false, false}}));

TEST_F(VideoTest, TheCircleModelAsksNoTags) {
  start();
  reshow();
  EXPECT_TRUE(sim.calls("FunctionTag").empty());
}

TEST_F(VideoTest, OtherCamerasAreAskedForTheirTagsAtEachShowing) {
  start("210781/2");
  sim.clearLog();
  sim.control("tag COM1:26=1");
  reshow();
  std::vector<int64_t> tags;
  for (const auto& call : sim.calls("FunctionTag")) tags.push_back(call.value("tag"));
  EXPECT_EQ(tags, (std::vector<int64_t>{28, 26, 25}));
  EXPECT_TRUE(check(kNegativeImageCheck)->isEnabled());
}

// Each switch inverts its member, mirrors it in the record and writes it.
struct SwitchCase {
  int checkId;
  int32_t paramId;
  int32_t CameraParams::*field;
};

class VideoSwitch : public VideoTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(VideoSwitch, TogglesAndWrites) {
  const SwitchCase& c = GetParam();
  start();
  check(c.checkId)->click();
  EXPECT_TRUE(check(c.checkId)->isChecked());
  EXPECT_EQ(cameraState().params.*c.field, 1);
  check(c.checkId)->click();
  EXPECT_FALSE(check(c.checkId)->isChecked());
  EXPECT_EQ(cameraState().params.*c.field, 0);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(c.paramId, 1), W(c.paramId, 0)}));
  EXPECT_EQ(desktop.waitCursorShown, 2);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Switches, VideoSwitch,
    ::testing::Values(SwitchCase{kHorizontalInverseCheck, 27, &CameraParams::horizontalInverse},
                      SwitchCase{kVerticalInverseCheck, 28, &CameraParams::verticalInverse},
                      SwitchCase{kNegativeImageCheck, 26, &CameraParams::negativeImage}));

TEST_F(VideoTest, FailedSwitchWriteKeepsTheNewValue) {
  start();
  sim.control("fail 27=106");
  check(kHorizontalInverseCheck)->click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Can not write in for invalid link.");
  EXPECT_EQ(cameraState().params.horizontalInverse, 1);
  EXPECT_TRUE(check(kHorizontalInverseCheck)->isChecked());
}

TEST_F(VideoTest, RecursionChoiceWritesTheIndex) {
  start();
  ASSERT_EQ(recursion()->count(), 16);
  EXPECT_EQ(recursion()->itemText(15), "15");
  recursion()->setCurrentIndex(7);
  recursion()->setCurrentIndex(15);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(25, 7), W(25, 15)}));
  EXPECT_EQ(cameraState().params.recursionParam, 15);
  // No selection writes nothing.
  sim.clearLog();
  recursion()->setCurrentIndex(-1);
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(VideoTest, FailedRecursionWriteKeepsTheNewValue) {
  start();
  sim.control("fail 25=106");
  recursion()->setCurrentIndex(4);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Can not write in for invalid link.");
  EXPECT_EQ(cameraState().params.recursionParam, 4);
  EXPECT_EQ(recursion()->currentIndex(), 4);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(VideoTest, PaintShowsTheRecordAfterAFullRead) {
  start();
  CameraState& s = cameraState();
  ASSERT_EQ(CameraLibrary::instance().setConfigParam(s.handle, 26, 1, 0), 1);
  ASSERT_EQ(CameraLibrary::instance().setConfigParam(s.handle, 25, 9, 0), 1);
  ASSERT_EQ(s.readCameraParams(0), 1);
  sim.clearLog();
  reshow();
  EXPECT_TRUE(check(kNegativeImageCheck)->isChecked());
  EXPECT_FALSE(check(kHorizontalInverseCheck)->isChecked());
  EXPECT_EQ(recursion()->currentIndex(), 9);
  // Showing the record writes nothing back.
  EXPECT_TRUE(sim.writes().empty());
  // An impossible recursion value selects nothing.
  s.params.recursionParam = 40;
  reshow();
  EXPECT_EQ(recursion()->currentIndex(), -1);
  EXPECT_TRUE(sim.writes().empty());
}

// The English texts are the camera maker's, spelling and trailing spaces
// included; they must not be tidied.
struct LabelCase {
  int32_t language;
  std::array<const char*, 3> checks;
  QStringList groups;
};

class VideoLabels : public VideoTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(VideoLabels, ChecksAndGroups) {
  start("212630/4", "", GetParam().language);
  const int ids[] = {kHorizontalInverseCheck, kVerticalInverseCheck, kNegativeImageCheck};
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(check(ids[i])->text(), QString::fromUtf8(GetParam().checks[i])) << ids[i];
  QStringList groups;
  for (const QGroupBox* g : page()->findChildren<QGroupBox*>()) groups << g->title();
  groups.sort();
  QStringList expected = GetParam().groups;
  expected.sort();
  EXPECT_EQ(groups, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, VideoLabels,
    ::testing::Values(LabelCase{2,
                                {"左右反转", "上下反转", "负像"},
                                {QString::fromUtf8("视频状态"), QString::fromUtf8("递归参数")}},
                      LabelCase{9,
                                {"horizontal inverse", "virtical inverse", "negative image "},
                                {"video param", "recursion param "}}));

}  // namespace
