// clser_fixture.h - a clean simulated board and library for every test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "clser/clsertyx.h"
#include "clser/clsertyx_testing.h"
#include "sim/tyxapi64/tyxapi64_sim.h"

// One set-serial-parameter call as the board library saw it.
struct ParamSet {
  const void* ref;
  int32_t index;
  int32_t value;
  bool operator==(const ParamSet&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ParamSet& p) {
  return os << "{" << p.ref << ", " << p.index << ", " << p.value << "}";
}

// The 64-bit reference slot of a standard-mode call, holding the caller's
// 32-bit dialog switch in its first bytes.
inline void* slotWithSwitch(int32_t value) {
  void* slot = nullptr;
  std::memcpy(&slot, &value, sizeof value);
  return slot;
}

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
 public:
  void set(const char* name, std::optional<std::string> value) {
    if (!saved_.count(name)) {
      const char* old = getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

// The library with a display and, in place of the dialog program, the fake
// one (fake_select.cpp), which by default ends at once with the shown texts.
class ClserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(tyxSim64Control("reset; immediate on"), 1);
    clsertyxTestingReset();
    sleeps().clear();
    clsertyxTestingSetSleep([](uint32_t ms) { sleeps().push_back(ms); });
    char dir[] = "/tmp/clser-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    env.set("FAKE_SELECT_LOG", dir_ + "/dialogs");
    env.set("FAKE_SELECT_MODE", std::nullopt);
    env.set("DISPLAY", ":clsertyx-test");  // never connected to: the fake shows nothing
    env.set("QT_QPA_PLATFORM", std::nullopt);
    env.set("CLSERTYX_NO_DIALOG", std::nullopt);
    clser::testing::setDialogProgram(FAKE_SELECT_PATH);
  }

  void TearDown() override {
    clser::testing::setDialogProgram({});
    clsertyxTestingSetSleep(nullptr);
    std::remove((dir_ + "/dialogs").c_str());
    std::remove((dir_ + "/answer").c_str());
    rmdir(dir_.c_str());
  }

  static std::vector<uint32_t>& sleeps() {
    static std::vector<uint32_t> s;
    return s;
  }

  static std::vector<ParamSet> paramSets() {
    std::vector<ParamSet> out;
    for (uint32_t i = 0; i < tyxSim64ParamCount(); ++i) {
      Tyx64ParamRecord r{};
      tyxSim64ParamAt(i, &r);
      out.push_back({r.ref, r.index, r.value});
    }
    return out;
  }

  // The product names the dialog program was started with, one per start.
  std::vector<std::string> dialogsStarted() const {
    std::vector<std::string> lines;
    std::ifstream in(dir_ + "/dialogs");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  int dialogsShown() const { return static_cast<int>(dialogsStarted().size()); }

  // A file the fake dialog program can be told to write as its answer.
  std::string answerFile(const std::string& bytes) const {
    std::string path = dir_ + "/answer";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // Opens board `index` in standard mode without the dialog.
  static void* openQuiet(uint32_t index = 0) {
    void* slot = slotWithSwitch(-2);
    EXPECT_EQ(clSerialInit(index, &slot), CL_ERR_NO_ERR);
    return slot;
  }

  static void writeText(void* ref, const std::string& text) {
    std::string copy = text;
    uint32_t size = static_cast<uint32_t>(copy.size());
    ASSERT_EQ(clSerialWrite(ref, copy.data(), &size, 100), CL_ERR_NO_ERR);
    ASSERT_EQ(size, copy.size());
  }

  // The ten set-serial-parameter calls with which a dialog's texts apply.
  static std::vector<ParamSet> applied(void* ref, int32_t channel, int32_t baud, int32_t dataBits,
                                       int32_t stop, int32_t parity) {
    return {{ref, 0, channel},  {ref, 0, -1},       {ref, 1, baud}, {ref, 1, baud}, {ref, 1, -1},
            {ref, 2, dataBits}, {ref, 2, dataBits}, {ref, 2, -1},   {ref, 3, stop}, {ref, 4, parity}};
  }

  ScopedEnv env;
  std::string dir_;
};
