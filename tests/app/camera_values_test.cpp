// camera_values_test.cpp - the table of camera values and the one writer, against the simulated camera.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <set>
#include <string>

#include "app/camera_values.h"
#include "common/page_test.h"

namespace {

const camval::Descriptor& value(const char* name) {
  const camval::Descriptor* d = camval::byName(name);
  EXPECT_NE(d, nullptr) << name;
  static const camval::Descriptor none{"", tyxid::kGain, camval::Record::None};
  return d != nullptr ? *d : none;
}

// The field a descriptor names must be the field the id writes in the
// shared id table, or a tool "set" would show one value and send another.
template <typename Record, size_t N>
void expectFieldOfId(const camval::Descriptor& d, const tyxid::FieldId<Record> (&table)[N],
                     int32_t Record::*field) {
  const auto* f = tyxid::findField(table, d.id);
  if (f == nullptr) return;  // ids kept elsewhere (29 in saturation) are not in that table
  EXPECT_TRUE(f->member == field) << d.name << " names another field than id " << d.id << " writes";
}

}  // namespace

TEST(CameraValuesTable, NamesAreUniqueLowerCaseAndFound) {
  std::set<std::string> names;
  const QRegularExpression form(QStringLiteral("^[a-z][a-z0-9]*(-[a-z0-9]+)*$"));
  for (const camval::Descriptor& d : camval::all()) {
    EXPECT_TRUE(names.insert(d.name).second) << "twice: " << d.name;
    EXPECT_TRUE(form.match(QString::fromUtf8(d.name)).hasMatch()) << d.name;
    EXPECT_EQ(camval::byName(d.name), &d);
    EXPECT_NE(camval::byId(d.id), nullptr) << d.name;
    EXPECT_NE(d.range, nullptr) << d.name;
  }
  for (const char* name : {"gain", "black", "brightness", "run-mode", "frame-mode", "exposure-us", "begin-line",
                           "end-line", "r-gain", "g-gain", "b-gain", "saturation", "rise-delay-us", "time1"})
    EXPECT_NE(camval::byName(name), nullptr) << name;
  EXPECT_EQ(camval::byName("Gain"), nullptr);
  EXPECT_EQ(camval::byName("no-such-value"), nullptr);
  EXPECT_EQ(camval::byId(tyxid::kExposalTime), camval::byName("exposure-us"));
  EXPECT_EQ(camval::byId(12345), nullptr);
}

TEST(CameraValuesTableDeathTest, TheProgramsOwnLookupsStopAtAnUndescribedValue) {
  // The test program runs a QApplication with threads of its own: the child
  // starts afresh rather than as a fork of them.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EQ(&camval::of(tyxid::kExposalTime), camval::byName("exposure-us"));
  EXPECT_EQ(&camval::named("gain"), camval::byName("gain"));
  EXPECT_DEATH(camval::of(12345), "no description for parameter id 12345");
  EXPECT_DEATH(camval::named("no-such-value"), "no description named \"no-such-value\"");
}

TEST(CameraValuesTable, EachValueHasExactlyTheFieldOfItsRecord) {
  for (const camval::Descriptor& d : camval::all()) {
    const int fields = (d.cameraField != nullptr) + (d.extendedField != nullptr) + (d.linearField != nullptr);
    EXPECT_EQ(fields, d.record == camval::Record::None ? 0 : 1) << d.name;
    switch (d.record) {
      case camval::Record::Camera:
        ASSERT_NE(d.cameraField, nullptr) << d.name;
        expectFieldOfId(d, tyxid::kCameraFields, d.cameraField);
        break;
      case camval::Record::Extended:
        ASSERT_NE(d.extendedField, nullptr) << d.name;
        expectFieldOfId(d, tyxid::kExtendedFields, d.extendedField);
        break;
      case camval::Record::Linear:
        ASSERT_NE(d.linearField, nullptr) << d.name;
        expectFieldOfId(d, tyxid::kLinearFields, d.linearField);
        break;
      case camval::Record::None: break;
    }
  }
}

// An area-scan colour camera with a partial window: begin 144, end 449,
// step 12, 600 lines, 62.5 us a line, free-running up to 624 lines.
class CameraValuesTest : public CameraPageTest {
 protected:
  void open(const std::string& camera = "219290") {
    openOn("COM1", camera, 9);
    if (HasFatalFailure()) return;
    readExtendedBlock();
    CameraState& s = cameraState();
    ASSERT_EQ(s.readCameraParams(), 1);
    s.copyLineGeometry();
    sim.clearLog();
    desktop.clear();
  }
};

struct ValidateCase {
  const char* label;
  const char* name;
  camval::Window window;
  int64_t value;
  bool ok;
  int32_t stored;  // when ok
};

class CameraValuesValidate : public CameraValuesTest, public ::testing::WithParamInterface<ValidateCase> {};

TEST_P(CameraValuesValidate, SaysWhatIsAllowedAndWhatWouldBeStored) {
  open();
  const ValidateCase& c = GetParam();
  const camval::Verdict v = camval::validate(value(c.name), cameraState(), c.value, c.window);
  EXPECT_EQ(v.ok, c.ok) << v.reason.toStdString();
  if (c.ok) {
    EXPECT_EQ(v.value, c.stored);
    EXPECT_TRUE(v.reason.isEmpty());
  } else {
    EXPECT_TRUE(v.reason.contains(QString::fromUtf8(c.name))) << v.reason.toStdString();
  }
  // Judging writes nothing.
  EXPECT_TRUE(sim.writes().empty());
}

using W_ = camval::Window;
INSTANTIATE_TEST_SUITE_P(
    Cases, CameraValuesValidate,
    ::testing::Values(
        ValidateCase{"GainTop", "gain", W_::Tool, 1023, true, 1023},
        ValidateCase{"GainAboveTop", "gain", W_::Tool, 1024, false, 0},
        ValidateCase{"GainNegative", "gain", W_::Tool, -1, false, 0},
        ValidateCase{"BlackAboveByte", "black", W_::Tool, 256, false, 0},
        ValidateCase{"BeginOnStep", "begin-line", W_::Tool, 156, true, 156},
        // The two windows that differ on purpose: the tool and the control
        // bar refuse a first line off the step, the parameter page lowers it.
        ValidateCase{"BeginOffStepTool", "begin-line", W_::Tool, 150, false, 0},
        ValidateCase{"BeginOffStepBar", "begin-line", W_::ControlBar, 150, false, 0},
        ValidateCase{"BeginOffStepParamPage", "begin-line", W_::ParamPage, 150, true, 144},
        ValidateCase{"BeginBelowStep", "begin-line", W_::ParamPage, 11, false, 0},
        ValidateCase{"BeginAtEnd", "begin-line", W_::Tool, 449, false, 0},
        ValidateCase{"EndAfterBegin", "end-line", W_::Tool, 145, true, 145},
        ValidateCase{"EndAtBegin", "end-line", W_::Tool, 144, false, 0},
        ValidateCase{"EndLastLine", "end-line", W_::Tool, 599, true, 599},
        ValidateCase{"EndPastSensor", "end-line", W_::Tool, 600, false, 0},
        ValidateCase{"RedGainOnStep", "r-gain", W_::Tool, 252, true, 252},
        ValidateCase{"RedGainOffStepTool", "r-gain", W_::Tool, 250, false, 0},
        ValidateCase{"RedGainOffStepColourPage", "r-gain", W_::ColourPage, 255, true, 252},
        ValidateCase{"SaturationSigned", "saturation", W_::Tool, -128, true, -128},
        ValidateCase{"SaturationByteTool", "saturation", W_::Tool, 200, false, 0},
        ValidateCase{"SaturationByteBar", "saturation", W_::ControlBar, 200, true, 200},
        ValidateCase{"ExposureInMicroseconds", "exposure-us", W_::Tool, 1000, true, 16},
        ValidateCase{"ExposurePastRange", "exposure-us", W_::Tool, 10'000'000, false, 0},
        ValidateCase{"RunModeFreeRun", "run-mode", W_::Tool, 1, true, 1},
        ValidateCase{"RunModeNoSuchWord", "run-mode", W_::Tool, 7, false, 0},
        ValidateCase{"FrameModePalMissing", "frame-mode", W_::Tool, 4, false, 0},
        ValidateCase{"LineScanValueOnAreaCamera", "time1", W_::Tool, 100, false, 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CameraValuesTest, NothingIsValidWithoutACamera) {
  const camval::Verdict v = camval::validate(value("gain"), cameraState(), 10);
  EXPECT_FALSE(v.ok);
  EXPECT_FALSE(v.reason.isEmpty());
}

TEST_F(CameraValuesTest, ParsesWordsAndWholeNumbers) {
  const camval::Descriptor& run = value("run-mode");
  EXPECT_EQ(camval::parse(run, " Edge-Trigger "), 2);
  EXPECT_EQ(camval::parse(run, "3"), 3);
  EXPECT_EQ(camval::parse(value("frame-mode"), "frame-average"), 5);
  EXPECT_EQ(camval::parse(value("saturation"), " -12 "), -12);
  EXPECT_EQ(camval::parse(value("gain"), "12a"), std::nullopt);
  EXPECT_EQ(camval::parse(value("gain"), ""), std::nullopt);
  // Too large for the camera, still a number: refused for its size.
  EXPECT_EQ(camval::parse(value("gain"), "99999999999"), 99999999999LL);
}

TEST_F(CameraValuesTest, ReadableTextHasWordsAndUnits) {
  open();
  CameraState& s = cameraState();
  s.params.runMode = 2;
  EXPECT_EQ(camval::text(value("run-mode"), s), "edge-trigger");
  s.params.exposalTime = 16;
  EXPECT_EQ(camval::text(value("exposure-us"), s), QString::number(timeOf(16)) + " us");
  EXPECT_EQ(camval::text(value("exposure-lines"), s), "16 lines");
  s.params.gain = 400;
  EXPECT_EQ(camval::text(value("gain"), s), "400");
  EXPECT_TRUE(camval::allowed(value("r-gain"), s).contains("in steps of 4"));
  EXPECT_TRUE(camval::allowed(value("run-mode"), s).contains("free-run"));
}

TEST_F(CameraValuesTest, WriterStoresAppliesAndReportsARefusal) {
  open();
  CameraState& s = cameraState();
  EXPECT_TRUE(camval::write(value("gain"), 400));
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(tyxid::kGain, 400)}));
  EXPECT_EQ(s.params.gain, 400);
  EXPECT_TRUE(desktop.texts().isEmpty());

  sim.clearLog();
  sim.control("fail 1=122");
  EXPECT_FALSE(camval::write(value("gain"), 500));
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(tyxid::kGain, 500)}));
  // The record keeps what was asked for; the library's message is shown once.
  EXPECT_EQ(s.params.gain, 500);
  EXPECT_EQ(desktop.texts(), QStringList{"the input param is incorrect"});
}

TEST_F(CameraValuesTest, ShorterWindowClampsTheExposureOnce) {
  open();
  cameraHolds(tyxid::kExposalTime, 600);
  cameraHolds(tyxid::kFrameMode, 2);
  sim.clearLog();
  CameraState& s = cameraState();
  int32_t clampedTo = -1;
  camval::WriteOptions options;
  options.onExposureClamped = [&](int32_t hi) {
    clampedTo = hi;
    // Called before the camera is written, so a window may convert it first.
    EXPECT_TRUE(sim.writes().size() == 1);
  };
  camval::write(value("end-line"), 300, options);
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  ASSERT_LT(hi, 600);
  EXPECT_EQ(clampedTo, hi);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(tyxid::kEndLine, 300), W(tyxid::kExposalTime, hi)}));
  EXPECT_EQ(s.params.exposalTime, hi);
}

TEST_F(CameraValuesTest, ExposureClampKeepsTheAskedSideOnly) {
  open();
  CameraState& s = cameraState();
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  s.params.exposalTime = hi + 5;
  EXPECT_FALSE(camval::clampExposure(camval::ClampSide::Below));
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(camval::clampExposure(camval::ClampSide::Above));
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(tyxid::kExposalTime, hi)}));
  // Without a range from the library nothing is clamped.
  sim.clearLog();
  s.handle = nullptr;
  s.params.exposalTime = hi + 5;
  EXPECT_FALSE(camval::clampExposure(camval::ClampSide::Above));
  EXPECT_EQ(s.params.exposalTime, hi + 5);
}

TEST_F(CameraValuesTest, FrameAverageIsSentAsTheCameraNumbersIt) {
  open("210780/4");
  CameraState& s = cameraState();
  camval::write(value("frame-mode"), 5);
  // Held as 5, sent as 4, without the refresh and retry of the other modes.
  EXPECT_EQ(s.params.frameMode, 5);
  EXPECT_TRUE(sim.calls("GetConfigParam").empty());
  ASSERT_FALSE(sim.writes().empty());
  EXPECT_EQ(sim.writes().front(), W(tyxid::kFrameMode, 4));
}

TEST_F(CameraValuesTest, PalRefreshesRetriesAndSetsItsRate) {
  open("210780/2");
  sim.control("fail 5=122");
  camval::write(value("frame-mode"), 4);
  const auto writes = sim.writes();
  ASSERT_GE(writes.size(), 3u);
  // A refused first write is repeated once, then reported; the rate follows.
  EXPECT_EQ(writes[0], W(tyxid::kFrameMode, 4));
  EXPECT_EQ(writes[1], W(tyxid::kFrameMode, 4));
  EXPECT_EQ(writes[2], W(tyxid::kRate, 0));
  EXPECT_EQ(desktop.texts().size(), 1);
  const auto log = sim.log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().name, "GetConfigParam");
}

TEST_F(CameraValuesTest, SetRefusesBeforeTheCameraAndWritesWhatIsValid) {
  open();
  const camval::SetResult bad = camval::set(value("begin-line"), "150");
  EXPECT_FALSE(bad.ok);
  EXPECT_TRUE(bad.reason.contains("in steps of 12")) << bad.reason.toStdString();
  EXPECT_TRUE(sim.writes().empty());
  const camval::SetResult word = camval::set(value("run-mode"), "nonsense");
  EXPECT_FALSE(word.ok);
  EXPECT_TRUE(sim.writes().empty());

  const camval::SetResult good = camval::set(value("exposure-us"), "1000");
  EXPECT_TRUE(good.ok) << good.reason.toStdString();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(tyxid::kExposalTime, linesOf(1000))}));
}
