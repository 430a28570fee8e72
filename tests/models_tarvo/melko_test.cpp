// melko_test.cpp - the image orientation model page against the simulated camera.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "app/tyx_vistrel_dlg.h"
#include "page_fixture.h"
#include "pages/models/melko.h"
#include "pages/models/melko_note_page.h"

namespace {

class MelkoTest : public ModelPageTest {
 protected:
  // The camera in the given run mode, then the page shown once.
  void start(int32_t runMode = 1) {
    openCamera("321140", 2);
    if (runMode != 1) {
      ASSERT_EQ(CameraLibrary::instance().setConfigParam(cameraState().handle, 2, runMode, 0), 1);
      cameraState().readCameraParams();
    }
    page = std::make_unique<CMelko>(nullptr, nullptr);
    showPage();
  }
  // The camera changes a value behind the page's back (another page, a
  // reconnection).
  void cameraWrites(int32_t id, int32_t value) {
    ASSERT_EQ(CameraLibrary::instance().setConfigParam(cameraState().handle, id, value, 0), 1) << id;
  }
  void repaintPage() {
    page->hide();
    page->show();
  }
  QString z(const char* text) const { return QString::fromUtf8(text); }
};

TEST_F(MelkoTest, ListsShowTheirItemsSorted) {
  start();
  EXPECT_EQ(items(ctl<QComboBox>(CMelko::kOrientationList)),
            (QStringList{z("倒像"), z("镜像"), z("旋转"), z("正像")}));
  EXPECT_EQ(items(ctl<QComboBox>(CMelko::kAspectList)),
            (QStringList{"16:9", z("带缩放4:3"), z("无缩放4:3")}));
  EXPECT_EQ(items(ctl<QComboBox>(CMelko::kColourModeList)),
            (QStringList{z("标准色"), z("偏红色"), z("偏蓝色"), z("无色彩模式"), z("自定义色")}));
  EXPECT_FALSE(ctl<QCheckBox>(CMelko::kGammaCheck)->isVisible());
  EXPECT_EQ(ctl<QCheckBox>(CMelko::kTextDisplayCheck)->text(), z("字符显示"));
}

TEST_F(MelkoTest, ShowingThePageResetsTheCameraAndTheChoices) {
  openCamera("321140", 2);
  sim.clearLog();
  page = std::make_unique<CMelko>(nullptr, nullptr);
  EXPECT_TRUE(sim.writes().empty()) << "building the page writes nothing";
  page->show();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(61, 4), W(69, 1)}));
  // 61 succeeded, so the whole record was read again, and id 68 read.
  const auto reads = sim.calls("GetConfigParam");
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[0].value("id"), -1);
  EXPECT_EQ(reads[1].value("id"), 68);

  // Whatever the user chose meanwhile, the next repaint starts over.
  choose(CMelko::kColourModeList, z("偏红色"));
  ctl<QRadioButton>(CMelko::kHalfScreenRadio)->click();
  ctl<QLineEdit>(CMelko::kOpenValueEdit)->setText("33");
  ctl<QLineEdit>(CMelko::kSaveValueEdit)->setText("44");
  EXPECT_EQ(bar(CMelko::kOpenValueBar)->value(), 33);
  sim.clearLog();
  repaintPage();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(61, 4), W(69, 1)}));
  EXPECT_EQ(ctl<QComboBox>(CMelko::kColourModeList)->currentText(), z("无色彩模式"));
  EXPECT_TRUE(ctl<QRadioButton>(CMelko::kFullScreenRadio)->isChecked());
  EXPECT_FALSE(ctl<QRadioButton>(CMelko::kHalfScreenRadio)->isChecked());
  EXPECT_EQ(editText(CMelko::kOpenValueEdit), "0");
  EXPECT_EQ(editText(CMelko::kSaveValueEdit), "0");
  EXPECT_EQ(bar(CMelko::kOpenValueBar)->value(), 0);
  EXPECT_EQ(bar(CMelko::kSaveValueBar)->value(), 0);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MelkoTest, RepaintShowsTheCamerasValues) {
  start(2);
  cameraWrites(62, 200);
  cameraWrites(63, 17);
  cameraWrites(64, 9);
  cameraWrites(59, 1);
  cameraWrites(68, 2500);
  repaintPage();
  EXPECT_EQ(bar(CMelko::kShiftXBar)->value(), 200);
  EXPECT_EQ(editText(CMelko::kShiftXEdit), "200");
  EXPECT_EQ(bar(CMelko::kShiftYBar)->value(), 17);
  EXPECT_EQ(editText(CMelko::kShiftYEdit), "17");
  EXPECT_EQ(bar(CMelko::kEdgeEnhanceBar)->value(), 9);
  EXPECT_EQ(editText(CMelko::kEdgeEnhanceEdit), "9");
  EXPECT_EQ(bar(CMelko::kExposureLinesBar)->value(), 2500);
  EXPECT_EQ(editText(CMelko::kExposureLinesEdit), "2500");
  EXPECT_TRUE(ctl<QCheckBox>(CMelko::kTextDisplayCheck)->isChecked());
  cameraWrites(59, 0);
  repaintPage();
  EXPECT_FALSE(ctl<QCheckBox>(CMelko::kTextDisplayCheck)->isChecked());
}

TEST_F(MelkoTest, AFailedColourModeWriteSkipsTheReadAndStaysQuiet) {
  start();
  sim.control("fail 61=104");
  repaintPage();
  EXPECT_TRUE(sim.calls("GetConfigParam").size() == 1u);  // only id 68
  EXPECT_EQ(sim.calls("GetConfigParam")[0].value("id"), 68);
  EXPECT_TRUE(desktop.messages.empty());
}

// --- Exposure lines -----------------------------------------------------------

struct RangeCase {
  int32_t runMode;
  int maximum;
};

class MelkoExposureRange : public MelkoTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(MelkoExposureRange, BarEndsByRunMode) {
  start(GetParam().runMode);
  EXPECT_EQ(bar(CMelko::kExposureLinesBar)->minimum(), 0);
  EXPECT_EQ(bar(CMelko::kExposureLinesBar)->maximum(), GetParam().maximum);
  bar(CMelko::kExposureLinesBar)->request(SbRight, 0);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(68, GetParam().maximum)}));
  EXPECT_EQ(bar(CMelko::kExposureLinesBar)->value(), GetParam().maximum);
}

INSTANTIATE_TEST_SUITE_P(RunModes, MelkoExposureRange,
                         ::testing::Values(RangeCase{1, 1568}, RangeCase{2, 4091}, RangeCase{3, 4091},
                                           RangeCase{5, 4091}));

TEST_F(MelkoTest, ReleasingTheExposureThumbShowsWhatTheCameraTook) {
  start(2);
  bar(CMelko::kExposureLinesBar)->request(SbThumbTrack, 3000);
  EXPECT_TRUE(sim.writes().empty());
  bar(CMelko::kExposureLinesBar)->request(SbThumbPosition, 3000);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(68, 3000)}));
  EXPECT_EQ(bar(CMelko::kExposureLinesBar)->value(), 3000);
  EXPECT_EQ(editText(CMelko::kExposureLinesEdit), "3000");

  // The camera went free-running behind the page's back and holds the
  // exposure to its frame: the page shows the camera's value, not 3000.
  cameraWrites(2, 1);
  sim.clearLog();
  bar(CMelko::kExposureLinesBar)->request(SbThumbPosition, 3000);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(68, 3000)}));
  const auto reads = sim.calls("GetConfigParam");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].value("id"), 68);
  EXPECT_EQ(bar(CMelko::kExposureLinesBar)->value(), 1568);
  EXPECT_EQ(editText(CMelko::kExposureLinesEdit), "1568");
  EXPECT_EQ(cameraState().params.exposalTime, 1568);
  EXPECT_TRUE(desktop.messages.empty());
}

// --- Scroll bars --------------------------------------------------------------

struct ScrollCase {
  int barId;
  int editId;
  int code;
  int pos;
  Write write;
};

class MelkoScroll : public MelkoTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(MelkoScroll, WritesThePosition) {
  const ScrollCase& c = GetParam();
  start(2);
  bar(c.barId)->request(c.code, c.pos);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{c.write}));
  EXPECT_EQ(bar(c.barId)->value(), c.write.second);
  EXPECT_EQ(editText(c.editId), QString::number(c.write.second));
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Requests, MelkoScroll,
                         ::testing::Values(ScrollCase{1241, 1242, SbLineRight, 0, W(66, 1)},
                                           ScrollCase{1241, 1242, SbLineLeft, 0, W(66, 0)},  // already at 0
                                           ScrollCase{1232, 1062, SbPageRight, 0, W(65, 40)},
                                           ScrollCase{1232, 1062, SbRight, 0, W(65, 255)},
                                           ScrollCase{1235, 1063, SbRight, 0, W(62, 215)},
                                           ScrollCase{1235, 1063, SbThumbPosition, 100, W(62, 100)},
                                           ScrollCase{1116, 1064, SbThumbPosition, 255, W(63, 255)},
                                           ScrollCase{1237, 1239, SbPageRight, 0, W(64, 15)},
                                           ScrollCase{1237, 1239, SbRight, 0, W(64, 15)},
                                           ScrollCase{1236, 1238, SbLeft, 0, W(68, 0)}));

TEST_F(MelkoTest, DraggingAndEndOfScrollingWriteNothing) {
  start();
  for (int id : {CMelko::kSaveValueBar, CMelko::kOpenValueBar, CMelko::kShiftXBar, CMelko::kShiftYBar,
                 CMelko::kExposureLinesBar, CMelko::kEdgeEnhanceBar}) {
    const int before = bar(id)->value();
    bar(id)->request(SbThumbTrack, 10);
    bar(id)->request(SbEndScroll, 10);
    EXPECT_EQ(bar(id)->value(), before) << id;
  }
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(MelkoTest, AFailedBarWriteIsReported) {
  start();
  sim.control("fail 62=104");
  bar(CMelko::kShiftXBar)->request(SbLineRight, 0);
  EXPECT_EQ(desktop.texts(), QStringList{z("无法写端口")});
  EXPECT_EQ(bar(CMelko::kShiftXBar)->value(), 1);
  EXPECT_EQ(cameraState().params.xShift, 1);
}

// --- Edits --------------------------------------------------------------------

struct EditCase {
  const char* before;  // typed first, when the edit already holds the text
  int editId;
  const char* text;
  std::vector<Write> writes;
  const char* message;  // null: none
};

class MelkoEdit : public MelkoTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(MelkoEdit, WritesOrWarns) {
  const EditCase& c = GetParam();
  start(2);
  if (c.before != nullptr) {
    ctl<QLineEdit>(c.editId)->setText(z(c.before));
    sim.clearLog();
    desktop.clear();
  }
  ctl<QLineEdit>(c.editId)->setText(z(c.text));
  EXPECT_EQ(sim.writes(), c.writes);
  if (c.message == nullptr) {
    EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join("|").toStdString();
  } else {
    EXPECT_EQ(desktop.texts(), QStringList{z(c.message)});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, MelkoEdit,
    ::testing::Values(
        // A save value of 0 is not written; an open value of 0 is.
        EditCase{"7", 1242, "0", {}, nullptr}, EditCase{nullptr, 1242, "12", {W(66, 12)}, nullptr},
        EditCase{"7", 1062, "0", {W(65, 0)}, nullptr}, EditCase{nullptr, 1062, "255", {W(65, 255)}, nullptr},
        EditCase{nullptr, 1063, "215", {W(62, 215)}, nullptr},
        EditCase{nullptr, 1238, "4091", {W(68, 4091)}, nullptr},
        EditCase{nullptr, 1239, "15", {W(64, 15)}, nullptr},
        // The Y shift edit has no range check; the camera refuses silently.
        EditCase{nullptr, 1064, "300", {W(63, 300)}, nullptr},
        EditCase{nullptr, 1242, "256", {}, "请输入 0 到 255 之间的整数。"},
        EditCase{nullptr, 1062, "-1", {}, "请输入 0 到 255 之间的整数。"},
        EditCase{nullptr, 1063, "216", {}, "请输入 0 到 215 之间的整数。"},
        EditCase{nullptr, 1238, "4092", {}, "请输入 0 到 4091 之间的整数。"},
        EditCase{nullptr, 1239, "16", {}, "请输入 0 到 15 之间的整数。"},
        EditCase{nullptr, 1064, "y", {}, "请输入整数。"}, EditCase{nullptr, 1239, "", {}, "请输入整数。"}));

TEST_F(MelkoTest, EditsMoveTheirBarsAndReportNoFailure) {
  start(2);
  sim.control("fail *=104");
  ctl<QLineEdit>(CMelko::kShiftXEdit)->setText("120");
  ctl<QLineEdit>(CMelko::kExposureLinesEdit)->setText("3000");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(62, 120), W(68, 3000)}));
  EXPECT_EQ(bar(CMelko::kShiftXBar)->value(), 120);
  EXPECT_EQ(bar(CMelko::kExposureLinesBar)->value(), 3000);
  EXPECT_TRUE(desktop.messages.empty());
}

// --- Lists ----------------------------------------------------------------------

struct OrientationCase {
  int32_t horizontal;
  int32_t vertical;
  const char* shown;
};

class MelkoOrientation : public MelkoTest, public ::testing::WithParamInterface<OrientationCase> {};

TEST_P(MelkoOrientation, ShownFromTheInverses) {
  start();
  cameraWrites(27, GetParam().horizontal);
  cameraWrites(28, GetParam().vertical);
  repaintPage();
  EXPECT_EQ(ctl<QComboBox>(CMelko::kOrientationList)->currentText(), z(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Pairs, MelkoOrientation,
                         ::testing::Values(OrientationCase{0, 1, "倒像"}, OrientationCase{1, 0, "镜像"},
                                           OrientationCase{1, 1, "旋转"}, OrientationCase{0, 0, "正像"}));

TEST_F(MelkoTest, APairTheListCannotShowCountsAsUpsideDown) {
  start();
  // The record is not read again when the colour mode write fails, so the
  // page shows the record as it stands.
  sim.control("fail 61=104");
  cameraState().params.horizontalInverse = 2;
  cameraState().params.verticalInverse = 0;
  repaintPage();
  EXPECT_EQ(ctl<QComboBox>(CMelko::kOrientationList)->currentText(), z("倒像"));
}

struct ChoiceCase {
  int comboId;
  const char* text;
  std::vector<Write> writes;
};

class MelkoChoice : public MelkoTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(MelkoChoice, WritesTheListsValue) {
  start();
  sim.control("fail *=104");  // none of the list writes reports a failure
  choose(GetParam().comboId, z(GetParam().text));
  EXPECT_EQ(sim.writes(), GetParam().writes);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MelkoChoice,
    ::testing::Values(ChoiceCase{1243, "倒像", {W(27, 0), W(28, 1)}},
                      ChoiceCase{1243, "镜像", {W(27, 1), W(28, 0)}},
                      ChoiceCase{1243, "旋转", {W(27, 1), W(28, 1)}},
                      ChoiceCase{1243, "正像", {W(27, 0), W(28, 0)}}, ChoiceCase{1240, "16:9", {W(5, 1)}},
                      ChoiceCase{1240, "带缩放4:3", {W(5, 0)}}, ChoiceCase{1240, "无缩放4:3", {W(5, 2)}},
                      ChoiceCase{1244, "标准色", {W(61, 0)}}, ChoiceCase{1244, "偏红色", {W(61, 2)}},
                      ChoiceCase{1244, "偏蓝色", {W(61, 1)}}, ChoiceCase{1244, "无色彩模式", {W(61, 4)}},
                      ChoiceCase{1244, "自定义色", {W(61, 3)}}));

TEST_F(MelkoTest, AColourModeChoiceReadsTheRecordAgain) {
  start();
  choose(CMelko::kColourModeList, z("偏蓝色"));
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(61, 1)}));
  const auto reads = sim.calls("GetConfigParam");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].value("id"), -1);
}

TEST_F(MelkoTest, NoSelectionWritesTheFallbacks) {
  start();
  for (int id : {CMelko::kOrientationList, CMelko::kAspectList, CMelko::kColourModeList}) {
    ctl<QComboBox>(id)->setCurrentIndex(-1);
    emit ctl<QComboBox>(id)->activated(-1);
  }
  // Orientation upright, aspect unscaled 4:3, colour mode nothing.
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(27, 0), W(28, 0), W(5, 2)}));
}

struct AspectCase {
  int32_t frameMode;
  const char* shown;
};

class MelkoAspect : public MelkoTest, public ::testing::WithParamInterface<AspectCase> {};

TEST_P(MelkoAspect, ShownFromTheFrameMode) {
  start();
  cameraWrites(5, GetParam().frameMode);
  repaintPage();
  EXPECT_EQ(ctl<QComboBox>(CMelko::kAspectList)->currentText(), z(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Modes, MelkoAspect,
                         ::testing::Values(AspectCase{0, "带缩放4:3"}, AspectCase{1, "16:9"},
                                           AspectCase{2, "无缩放4:3"}));

TEST_F(MelkoTest, AnOtherFrameModeLeavesTheAspectAsItWas) {
  start();
  cameraWrites(5, 2);
  repaintPage();
  cameraWrites(5, 4);
  repaintPage();
  EXPECT_EQ(ctl<QComboBox>(CMelko::kAspectList)->currentText(), z("无缩放4:3"));
}

// --- Clicks ----------------------------------------------------------------------

TEST_F(MelkoTest, TextDisplayAndScreenClicksWrite) {
  start();
  ctl<QCheckBox>(CMelko::kTextDisplayCheck)->click();
  ctl<QRadioButton>(CMelko::kHalfScreenRadio)->click();
  ctl<QRadioButton>(CMelko::kFullScreenRadio)->click();
  ctl<QCheckBox>(CMelko::kTextDisplayCheck)->click();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(59, 1), W(69, 0), W(69, 1), W(59, 0)}));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MelkoTest, FailedClicksAreReported) {
  start();
  sim.control("fail 59=104;fail 69=104");
  ctl<QCheckBox>(CMelko::kTextDisplayCheck)->click();
  ctl<QRadioButton>(CMelko::kHalfScreenRadio)->click();
  EXPECT_EQ(desktop.texts(), (QStringList{z("无法写端口"), z("无法写端口")}));
  EXPECT_EQ(cameraState().params.textDisplay, 1);
}

// --- Which page the Melko tab gets ------------------------------------------

TEST(MelkoFactory, ChineseGetsThePageEnglishGetsTheNote) {
  FakeDesktop desktop;
  auto factory = [](QWidget* parent, CTyxVistrelDlg* main) {
    return CTyxVistrelDlg::newPage(PageKind::Melko, parent, main);
  };
  cameraState().reset();
  cameraState().language = 2;
  std::unique_ptr<CameraPage> chinese(factory(nullptr, nullptr));
  EXPECT_NE(qobject_cast<CMelko*>(chinese.get()), nullptr);
  for (int32_t language : {9, 0}) {
    cameraState().language = language;
    std::unique_ptr<CameraPage> other(factory(nullptr, nullptr));
    EXPECT_EQ(qobject_cast<CMelko*>(other.get()), nullptr) << language;
    ASSERT_NE(qobject_cast<CMelkoNotePage*>(other.get()), nullptr) << language;
    auto* label = other->control<QLabel>(CMelkoNotePage::kNoteLabel);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().contains("Chinese interface"));
  }
  cameraState().reset();
}

}  // namespace
