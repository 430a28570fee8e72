// clser_fixture.h - a clean simulated board and library for every test.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "clser/clsertyx.h"
#include "clser/clsertyx_testing.h"
#include "tyxapi64_sim.h"

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

class ClserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(tyxSim64Control("reset; immediate on"), 1);
    clsertyxTestingReset();
    sleeps().clear();
    clsertyxTestingSetSleep([](uint32_t ms) { sleeps().push_back(ms); });
    dialogsShown = 0;
    clser::testing::setDialogRunner([this](QDialog&) {
      ++dialogsShown;
      return 1;  // the library ends the dialog as a close would
    });
  }

  void TearDown() override {
    clser::testing::setDialogRunner({});
    clsertyxTestingSetSleep(nullptr);
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

  int dialogsShown = 0;
};
