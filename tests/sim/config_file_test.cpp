// config_file_test.cpp - saving and loading configuration files, and refusing bad ones.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "sim_library.h"

namespace fs = std::filesystem;

namespace {

class ConfigFileTest : public SimTest {
 protected:
  fs::path dir;

  void SetUp() override {
    SimTest::SetUp();
    dir = fs::temp_directory_path() /
          ("tyxcam-config-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string path(const char* name) const { return (dir / name).string(); }

  static std::string slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  static void spit(const std::string& p, const std::string& content) {
    std::ofstream out(p, std::ios::binary);
    out << content;
  }

  // A good file of COM1 with a recognisable gain.
  std::string goodFile(void* cam) {
    EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 1, 777, 0), 1);
    const std::string p = path("good.cam");
    EXPECT_EQ(lib.tyxCamSaveConfigFile(cam, p.c_str()), 1);
    EXPECT_EQ(lib.tyxCamSetConfigParam(cam, 1, 330, 0), 1);
    return slurp(p);
  }

  void expectLoadFails(void* cam, const std::string& content, int32_t error) {
    const std::string p = path("bad.cam");
    spit(p, content);
    const TyxCameraParams before = readParams(cam);
    EXPECT_EQ(lib.tyxCamLoadConfigFile(cam, p.c_str()), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), error);
    const TyxCameraParams after = readParams(cam);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof after), 0) << "a refused file changed the camera";
  }
};

TEST_F(ConfigFileTest, SaveAndLoadRoundTripAllBlocks) {
  void* cam = open("COM1");
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 600, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 13, -20, 0), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 33, 400, 0), 1);
  const TyxCameraParams saved = readParams(cam);
  const std::string p = path("settings.cam");
  ASSERT_EQ(lib.tyxCamSaveConfigFile(cam, p.c_str()), 1);
  EXPECT_EQ(slurp(p).rfind("TYXCAM-CONFIG 1\n", 0), 0u);
  EXPECT_FALSE(fs::exists(p + ".part"));

  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, -2, reinterpret_cast<intptr_t>(&saved), 2), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 33, 1, 0), 1);
  ASSERT_EQ(readParams(cam).gain, 330);
  ASSERT_EQ(lib.tyxCamLoadConfigFile(cam, p.c_str()), 1);
  const TyxCameraParams loaded = readParams(cam);
  EXPECT_EQ(std::memcmp(&loaded, &saved, sizeof saved), 0);
  EXPECT_EQ(readExtended(cam).protectTime, 400);
}

TEST_F(ConfigFileTest, LineScanRoundTrip) {
  void* cam = open("CamLink2");
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 107, 30000, 0), 1);
  const std::string p = path("line.cam");
  ASSERT_EQ(lib.tyxCamSaveConfigFile(cam, p.c_str()), 1);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 107, 2118, 0), 1);
  ASSERT_EQ(lib.tyxCamLoadConfigFile(cam, p.c_str()), 1);
  EXPECT_EQ(readLinear(cam).time2, 30000);
}

TEST_F(ConfigFileTest, SavingReplacesAnOldFileWhole) {
  void* cam = open("COM1");
  const std::string p = path("old.cam");
  spit(p, std::string(100000, 'x'));
  ASSERT_EQ(lib.tyxCamSaveConfigFile(cam, p.c_str()), 1);
  EXPECT_EQ(lib.tyxCamLoadConfigFile(cam, p.c_str()), 1);
}

TEST_F(ConfigFileTest, SaveIntoAMissingFolderFailsAndLeavesNothing) {
  void* cam = open("COM1");
  const std::string p = path("missing/dir/x.cam");
  EXPECT_EQ(lib.tyxCamSaveConfigFile(cam, p.c_str()), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 118);
  EXPECT_EQ(lib.tyxCamSaveConfigFile(cam, ""), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 118);
  EXPECT_EQ(lib.tyxCamSaveConfigFile(cam, nullptr), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
}

TEST_F(ConfigFileTest, FileThatCannotBeOpenedIs118) {
  void* cam = open("COM1");
  EXPECT_EQ(lib.tyxCamLoadConfigFile(cam, path("absent.cam").c_str()), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 118);
  EXPECT_EQ(lib.tyxCamLoadConfigFile(cam, dir.string().c_str()), 0);  // a folder
  EXPECT_EQ(lib.tyxCamGetLastError(), 118);
  const std::string longPath(5000, 'a');
  EXPECT_EQ(lib.tyxCamLoadConfigFile(cam, longPath.c_str()), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 118);
}

TEST_F(ConfigFileTest, FileOfAnotherProductIs116) {
  void* other = open("COM3");
  const std::string p = path("com3.cam");
  ASSERT_EQ(lib.tyxCamSaveConfigFile(other, p.c_str()), 1);
  void* cam = open("COM1");
  const std::string content = slurp(p);
  expectLoadFails(cam, content, 116);
}

TEST_F(ConfigFileTest, DamagedTruncatedAndHostileFilesAre114) {
  void* cam = open("COM1");
  const std::string good = goodFile(cam);
  ASSERT_GT(good.size(), 100u);
  std::string wrongTag = good;
  wrongTag[0] = 'X';
  std::string flipped = good;
  flipped[good.find("camera ") + 12] ^= 1;  // one digit changed: checksum no longer fits
  std::string hugeCount = good;
  hugeCount.replace(hugeCount.find("camera 42"), 9, "camera 999999999");
  std::string outOfRange = good;
  outOfRange.replace(outOfRange.find(" 777 "), 5, " 5000 ");
  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"empty", ""},
      {"wrong tag", wrongTag},
      {"tag only", "TYXCAM-CONFIG 1\n"},
      {"cut in half", good.substr(0, good.size() / 2)},
      {"last byte missing", good.substr(0, good.size() - 1)},
      {"damaged digit", flipped},
      {"huge field count", hugeCount},
      {"trailing garbage", good + "more\n"},
      {"binary garbage", std::string("\x00\xff\x10\n\n\x7f", 6)},
      {"oversized", "TYXCAM-CONFIG 1\n" + std::string(200000, '9')},
      {"number overflow", "TYXCAM-CONFIG 1\nproduct 99999999999999999999\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    expectLoadFails(cam, c.content, 114);
  }
  // A checksum that fits but a value the camera refuses is a damaged file too.
  {
    SCOPED_TRACE("value out of range");
    std::string body = outOfRange.substr(0, outOfRange.find("checksum "));
    uint32_t h = 2166136261u;
    for (unsigned char ch : body) h = (h ^ ch) * 16777619u;
    char sum[32];
    std::snprintf(sum, sizeof sum, "checksum %08x\n", h);
    expectLoadFails(cam, body + sum, 114);
  }
}

TEST_F(ConfigFileTest, CorpusSeedsLoadOrFailCleanly) {
  const char* src = std::getenv("VISTREL_SOURCE_DIR");
  const fs::path root = src ? fs::path(src) : fs::path(__FILE__).parent_path().parent_path().parent_path();
  const fs::path corpus = root / "tests/corpus/config_file";
  ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
  void* cam = open("COM1");
  int loaded = 0, refused = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    SCOPED_TRACE(entry.path().string());
    if (lib.tyxCamLoadConfigFile(cam, entry.path().c_str()) == 1) {
      ++loaded;
    } else {
      ++refused;
      const int32_t e = lib.tyxCamGetLastError();
      EXPECT_TRUE(e == 114 || e == 116 || e == 118) << e;
    }
  }
  EXPECT_GE(loaded, 1);
  EXPECT_GE(refused, 1);
}

}  // namespace
