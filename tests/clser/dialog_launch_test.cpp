// dialog_launch_test.cpp - clSerialInit starting the dialog program and
// applying its answer, with a stand-in program that ends in every way the
// real one can.

#include <array>
#include <string>
#include <thread>

#include "clser/dialog_answer.h"
#include "clser_fixture.h"

namespace {

using clser::DialogSelection;

class DialogLaunch : public ClserTest {
 protected:
  // Opens board `index` in standard mode with the dialog, capturing stderr.
  void* openWithDialog(uint32_t index = 0) {
    ::testing::internal::CaptureStderr();
    void* slot = slotWithSwitch(0);
    EXPECT_EQ(clSerialInit(index, &slot), CL_ERR_NO_ERR);
    err = ::testing::internal::GetCapturedStderr();
    return slot;
  }
  std::string err;
};

// ---- the apply rules for the texts the dialog hands back --------------------

struct EditCase {
  const char* name;
  const char* texts;  // channel|baud|data bits|stop bits|parity
  std::array<int32_t, 5> values;
};

class DialogTexts : public DialogLaunch, public ::testing::WithParamInterface<EditCase> {};

TEST_P(DialogTexts, ApplyByTheDialogRules) {
  env.set("FAKE_SELECT_MODE", "texts");
  env.set("FAKE_SELECT_TEXTS", GetParam().texts);
  void* ref = openWithDialog();
  EXPECT_EQ(dialogsShown(), 1);
  EXPECT_EQ(err, "");  // nothing to say when the dialog answered
  const auto& v = GetParam().values;
  EXPECT_EQ(paramSets(), applied(ref, v[0], v[1], v[2], v[3], v[4]));
  EXPECT_EQ(sleeps(), std::vector<uint32_t>{1000});
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogTexts,
    ::testing::Values(
        EditCase{"ListChoices", "1|57600|9|2|Even", {1, 57600, 9, 2, 2}},
        EditCase{"TypedRate", "0|115200|8|1|Odd", {0, 115200, 8, 1, 1}},
        // Stop bits pass as the leading number of the box, so "1.5" is 1.
        EditCase{"OneAndAHalfStop", "0|9600|8|1.5|None", {0, 9600, 8, 1, 0}},
        EditCase{"NoLeadingDigits", "x1|fast| 8|two|odd", {0, 0, 0, 0, 0}},
        EditCase{"DigitsThenText", "1st|9600bps|8N1|2 bits|Even ", {1, 9600, 8, 2, 0}},
        EditCase{"EmptyBoxes", "||||", {0, 0, 0, 0, 0}},
        EditCase{"OverflowSaturates", "99999999999|4294967295|8|1|None", {INT32_MAX, INT32_MAX, 8, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- answers that cannot be trusted --------------------------------------------

std::string answerOf(std::initializer_list<std::string> fields) {
  std::string out(clser::kDialogAnswerHeader);
  for (const std::string& f : fields) out += f + '\0';
  return out;
}

struct BadEnd {
  const char* name;
  const char* mode;
  std::string fileBytes;  // for mode "file"
  const char* says;       // part of the one stderr line
};

class DialogBadEnds : public DialogLaunch, public ::testing::WithParamInterface<BadEnd> {};

TEST_P(DialogBadEnds, ApplyTheShownDefaultsAndSayWhyOnce) {
  env.set("FAKE_SELECT_MODE", GetParam().mode);
  if (std::string(GetParam().mode) == "file") env.set("FAKE_SELECT_FILE", answerFile(GetParam().fileBytes));
  void* ref = openWithDialog();
  EXPECT_EQ(dialogsShown(), 1);
  EXPECT_EQ(paramSets(), applied(ref, 0, 9600, 8, 1, 0));
  EXPECT_NE(err.find(GetParam().says), std::string::npos) << err;
  EXPECT_NE(err.find("shown settings"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_EQ(sleeps(), std::vector<uint32_t>{1000});
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DialogBadEnds,
    ::testing::Values(
        BadEnd{"Silent", "silent", "", "gave no answer"}, BadEnd{"Aborted", "abort", "", "signal 6"},
        BadEnd{"KilledAfterAnswering", "kill", "", "signal 9"},
        BadEnd{"FailedAfterAnswering", "fail", "", "status 3"}, BadEnd{"Flooding", "flood", "", "too long"},
        BadEnd{"HeaderOnly", "file", std::string(clser::kDialogAnswerHeader), "not usable"},
        BadEnd{"FourFields", "file", answerOf({"1", "19200", "8", "1"}), "not usable"},
        BadEnd{"SixFields", "file", answerOf({"1", "19200", "8", "1", "Odd", "x"}), "not usable"},
        BadEnd{"LastFieldUnended", "file", answerOf({"1", "19200", "8", "1"}) + "Odd", "not usable"},
        BadEnd{"FieldTooLong", "file", answerOf({"1", std::string(91, '9'), "8", "1", "Odd"}), "not usable"},
        BadEnd{"WrongHeader", "file",
               "clsertyx-select 2\n" +
                   answerOf({"1", "19200", "8", "1", "Odd"}).substr(clser::kDialogAnswerHeader.size()),
               "not usable"},
        BadEnd{"Garbled", "file", std::string("\xff\xfe garbage\n\0\0\0", 14), "not usable"},
        BadEnd{"Long", "file", answerOf({"1", "19200", "8", "1", "Odd"}) + std::string(5000, 'x'),
               "too long"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogLaunch, MissingProgramAppliesTheShownDefaults) {
  clser::testing::setDialogProgram(dir_ + "/no-such-program");
  void* ref = openWithDialog();
  EXPECT_EQ(paramSets(), applied(ref, 0, 9600, 8, 1, 0));
  EXPECT_NE(err.find("cannot start the dialog program"), std::string::npos) << err;
  EXPECT_NE(err.find("no-such-program"), std::string::npos) << err;
  clSerialClose(ref);
}

TEST_F(DialogLaunch, TheProgramIsToldTheNameOfTheIndexedBoard) {
  ASSERT_EQ(tyxSim64Control("boards 6250:refused|6150:Second board"), 1);
  void* ref = openWithDialog(1);
  EXPECT_EQ(dialogsStarted(), std::vector<std::string>{"Second board"});
  clSerialClose(ref);
}

TEST_F(DialogLaunch, AWorkerThreadOfTheHostCanShowIt) {
  env.set("FAKE_SELECT_MODE", "texts");
  env.set("FAKE_SELECT_TEXTS", "1|19200|8|2|Odd");
  void* slot = slotWithSwitch(0);
  int32_t status = 0;
  std::thread([&] { status = clSerialInit(0, &slot); }).join();
  EXPECT_EQ(status, CL_ERR_NO_ERR);
  EXPECT_EQ(paramSets(), applied(slot, 1, 19200, 8, 2, 1));
  clSerialClose(slot);
}

// ---- when no dialog is shown ------------------------------------------------------

struct NoDisplayCase {
  const char* name;
  std::optional<std::string> display, wayland, platform;
};

class NoDisplay : public DialogLaunch, public ::testing::WithParamInterface<NoDisplayCase> {};

TEST_P(NoDisplay, ShownDefaultsApplyAndStderrSaysSoOnce) {
  env.set("DISPLAY", GetParam().display);
  env.set("WAYLAND_DISPLAY", GetParam().wayland);
  env.set("QT_QPA_PLATFORM", GetParam().platform);
  void* first = openWithDialog();
  const std::string firstErr = err;
  void* second = openWithDialog();
  EXPECT_EQ(dialogsShown(), 0);
  EXPECT_NE(firstErr.find("no display"), std::string::npos) << firstErr;
  EXPECT_EQ(err, "");  // said once per process
  std::vector<ParamSet> expected = applied(first, 0, 9600, 8, 1, 0);
  for (const ParamSet& p : applied(second, 0, 9600, 8, 1, 0)) expected.push_back(p);
  EXPECT_EQ(paramSets(), expected);
  clSerialClose(first);
  clSerialClose(second);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, NoDisplay,
    ::testing::Values(NoDisplayCase{"NoDisplayVariables", std::nullopt, std::nullopt, std::nullopt},
                      NoDisplayCase{"EmptyDisplay", "", "", std::nullopt},
                      NoDisplayCase{"OffscreenPlatform", ":0", std::nullopt, "offscreen"},
                      NoDisplayCase{"MinimalPlatformWithOptions", ":0", "wayland-0", "minimal:x=1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SuppressCase {
  const char* value;
  bool shown;
};

class SuppressVariable : public DialogLaunch, public ::testing::WithParamInterface<SuppressCase> {};

TEST_P(SuppressVariable, SuppressesTheDialogLikeMinusTwo) {
  env.set("CLSERTYX_NO_DIALOG", std::string(GetParam().value));
  void* ref = openWithDialog();
  EXPECT_EQ(dialogsShown(), GetParam().shown ? 1 : 0);
  if (GetParam().shown)
    EXPECT_EQ(paramSets(), applied(ref, 0, 9600, 8, 1, 0));
  else
    EXPECT_TRUE(paramSets().empty());  // as with -2: nothing is set
  EXPECT_EQ(err, "");
  EXPECT_EQ(sleeps(), std::vector<uint32_t>{1000});
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(Values, SuppressVariable,
                         ::testing::Values(SuppressCase{"", true}, SuppressCase{"0", true},
                                           SuppressCase{"1", false}, SuppressCase{"yes", false}));

TEST_F(DialogLaunch, SettingsStringModeNeverStartsTheProgram) {
  char area[64] = "channel=1,baudrate=19200";
  ASSERT_EQ(clSerialInit(0x80000000u, reinterpret_cast<void**>(area)), CL_ERR_NO_ERR);
  EXPECT_EQ(dialogsShown(), 0);
  void* ref = nullptr;
  std::memcpy(&ref, area, sizeof ref);
  clSerialClose(ref);
}

// ---- the answer format itself ------------------------------------------------------

TEST(DialogAnswer, RoundTripsAndCutsEachText) {
  const DialogSelection s{"1", "19200", "8", "1.5", "Even"};
  EXPECT_EQ(clser::decodeDialogAnswer(clser::encodeDialogAnswer(s)), s);
  const DialogSelection big{std::string(300, '1'), "a", std::string("b\0c", 3), "", "p"};
  const std::string answer = clser::encodeDialogAnswer(big);
  EXPECT_LE(answer.size(), clser::kMaxDialogAnswer);
  const auto back = clser::decodeDialogAnswer(answer);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->channel, std::string(90, '1'));
  EXPECT_EQ(back->stopBits, "");
  EXPECT_EQ(back->dataBits, "b");  // a text ends at its first NUL
}

TEST(DialogAnswer, LongestValidAnswerIsAcceptedAndOneByteMoreIsNot) {
  const std::string f(clser::kMaxAnswerField, '7');
  const std::string longest = answerOf({f, f, f, f, f});
  EXPECT_EQ(longest.size(), clser::kMaxDialogAnswer);
  EXPECT_TRUE(clser::decodeDialogAnswer(longest).has_value());
  EXPECT_FALSE(clser::decodeDialogAnswer(longest + '7').has_value());
  EXPECT_FALSE(clser::decodeDialogAnswer("").has_value());
}

}  // namespace
