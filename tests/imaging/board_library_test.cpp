// board_library_test.cpp - the board library binding and the simulated boards behind it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/camera_library.h"
#include "common/sim_camera.h"
#include "imaging/board_library.h"
#include "imaging/capture_rules.h"
#include "sim_board_control.h"

TEST(BoardLibraryMissing, GivesTheFailureResults) {
  BoardLibrary lib("libtyxapi32-not-installed.so");
  TyxBoardRecord* list = reinterpret_cast<TyxBoardRecord*>(0x1);
  EXPECT_EQ(lib.getImageDevice(&list), 0);
  EXPECT_EQ(list, nullptr);
  int32_t index = 0;
  EXPECT_EQ(lib.openBoard(&index), nullptr);
  EXPECT_FALSE(lib.isLoaded());
  EXPECT_FALSE(lib.loadError().empty());
  void* fake = &index;
  EXPECT_FALSE(lib.closeBoard(fake));
  EXPECT_EQ(lib.getLastError(), 1);
  EXPECT_EQ(lib.setVideoParam(fake, 19, -1), -1);
  EXPECT_EQ(lib.setCaptureParam(fake, 3, -1), -1);
  EXPECT_EQ(lib.setConvertParam(fake, 6, -1), -1);
  EXPECT_EQ(lib.getSignalParam(fake, 1), -1);
  TyxRect r{0, 0, -1, 0};
  EXPECT_EQ(lib.setTargetRect(fake, 1, &r), 0);
  EXPECT_EQ(lib.captureByBuffer(fake), 0);
  EXPECT_EQ(lib.stopCapture(fake), 0);
  TyxConvertDesc d{};
  EXPECT_EQ(lib.convertRect(fake, &d, 0), 0);
  EXPECT_EQ(lib.useCount(), 0);
}

TEST(BoardLibraryMissing, LibraryWithoutTheEntryPointsIsHarmless) {
  // A library that loads but exports none of the board functions.
  BoardLibrary lib("libm.so.6");
  ASSERT_TRUE(lib.ensureLoaded());
  EXPECT_FALSE(lib.hasEntry("tyxOpenBoard"));
  EXPECT_EQ(lib.getImageDevice(nullptr), 0);
  int32_t index = 0;
  EXPECT_EQ(lib.openBoard(&index), nullptr);
  EXPECT_EQ(lib.getSignalParam(&index, 1), -1);
  EXPECT_EQ(lib.setSeqCallback(&index, nullptr, nullptr, nullptr), 0);
}

class SimBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.bind()) << BoardLibrary::instance().loadError();
    ASSERT_EQ(sim_.control("reset"), 1);
  }
  void TearDown() override {
    if (board_) {
      EXPECT_TRUE(lib().closeBoard(board_));
    }
    sim_.control("reset");
  }
  BoardLibrary& lib() { return BoardLibrary::instance(); }
  void* open(int32_t index = 0) {
    board_ = lib().openBoard(&index);
    return board_;
  }

  SimBoardControl sim_;
  void* board_ = nullptr;
};

TEST_F(SimBoardTest, ListsAndOpensBoards) {
  ASSERT_EQ(sim_.control("boards=2"), 1);
  TyxBoardRecord* list = nullptr;
  ASSERT_EQ(lib().getImageDevice(&list), 2);
  ASSERT_NE(list, nullptr);
  EXPECT_NE(list[0].id, list[1].id);
  EXPECT_NE(std::strlen(list[1].name), 0u);
  EXPECT_LT(std::strlen(list[1].name), sizeof list[1].name);

  const int usesBefore = lib().useCount();
  ASSERT_NE(open(1), nullptr);
  EXPECT_EQ(lib().useCount(), usesBefore + 1);
  int32_t same = 1;
  EXPECT_EQ(lib().openBoard(&same), nullptr);  // already open
  int32_t beyond = 2;
  EXPECT_EQ(lib().openBoard(&beyond), nullptr);
  EXPECT_EQ(lib().getLastError(), 3);
  EXPECT_TRUE(lib().closeBoard(board_));
  board_ = nullptr;
  EXPECT_EQ(lib().useCount(), usesBefore);
  EXPECT_FALSE(lib().closeBoard(&same));  // not a board: no use taken
  EXPECT_EQ(lib().useCount(), usesBefore);
}

TEST_F(SimBoardTest, OpenFailuresCarryTheirCodes) {
  ASSERT_EQ(sim_.control("boards=0"), 1);
  EXPECT_EQ(lib().getImageDevice(nullptr), 0);
  EXPECT_EQ(open(), nullptr);
  EXPECT_EQ(lib().getLastError(), 1);
  ASSERT_EQ(sim_.control("boards=1;fail=open:2"), 1);
  EXPECT_EQ(open(), nullptr);
  EXPECT_EQ(lib().getLastError(), 2);
}

TEST_F(SimBoardTest, SignalParametersFollowTheConfiguration) {
  struct Case {
    const char* config;
    int32_t present, interlace, lines, rate, trigger, colour;
  } cases[] = {
      {"", 1, 1, 625, 50, 0, 1},
      {"lines=525;rate=60;color=0;trigger=1", 1, 1, 525, 60, 1, 0},
      {"interlaced=0;lines=1000;rate=60", 1, 0, 1000, 60, 0, 1},
      {"signal=0;trigger=-1", 0, -1, -1, -1, -1, -1},
      {"signal=unsupported", -1, -1, -1, -1, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    ASSERT_EQ(sim_.control("reset"), 1);
    if (*c.config) {
      ASSERT_EQ(sim_.control(c.config), 1);
    }
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(lib().getSignalParam(board_, 1), c.present);
    EXPECT_EQ(lib().getSignalParam(board_, 2), c.interlace);
    EXPECT_EQ(lib().getSignalParam(board_, 3), c.lines);
    EXPECT_EQ(lib().getSignalParam(board_, 5), c.rate);
    EXPECT_EQ(lib().getSignalParam(board_, 7), c.trigger);
    EXPECT_EQ(lib().getSignalParam(board_, 9), c.colour);
    EXPECT_EQ(lib().getSignalParam(board_, 4), -1);  // not a parameter the board knows
    EXPECT_TRUE(lib().closeBoard(board_));
    board_ = nullptr;
  }
}

TEST_F(SimBoardTest, ParametersKeepTheirValuesAndReadWithMinusOne) {
  ASSERT_NE(open(), nullptr);
  EXPECT_GE(lib().setVideoParam(board_, 13, 2), 0);
  EXPECT_EQ(lib().setVideoParam(board_, 13, -1), 2);
  EXPECT_GE(lib().setCaptureParam(board_, 11, 1000), 0);
  EXPECT_EQ(lib().setCaptureParam(board_, 11, -1), 1000);
  EXPECT_GE(lib().setConvertParam(board_, 6, 1), 0);
  EXPECT_EQ(lib().setConvertParam(board_, 6, -1), 1);
  EXPECT_EQ(lib().setCaptureParam(board_, 3, -1), (24 << 16) | 2);  // rgb24 by default

  // An offset beyond the range of video 12 is refused and not kept.
  const int32_t range = lib().setVideoParam(board_, 12, -1);
  const int32_t before = lib().setVideoParam(board_, 19, -1);
  EXPECT_LT(lib().setVideoParam(board_, 19, (range & 0xFFFF) + 1), 0);
  EXPECT_EQ(lib().setVideoParam(board_, 19, -1), before);

  ASSERT_EQ(sim_.control("fail=capture:12:77"), 1);
  EXPECT_LT(lib().setCaptureParam(board_, 12, 525), 0);
  EXPECT_EQ(lib().getLastError(), 77);
  EXPECT_NE(sim_.log().find("SetVideoParam 13 2\n"), std::string::npos);
  EXPECT_NE(sim_.log().find("SetCaptureParam 12 525 failed\n"), std::string::npos);
}

TEST_F(SimBoardTest, TargetRectanglesReadAndSet) {
  ASSERT_EQ(sim_.control("lines=525"), 1);
  ASSERT_NE(open(), nullptr);
  TyxRect r{0, 0, -1, 0};
  ASSERT_EQ(lib().setTargetRect(board_, -1, &r), 1);
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.bottom - r.top, 480);
  TyxRect set{0, 0, 800, 900};
  EXPECT_EQ(lib().setTargetRect(board_, 1, &set), 1);
  TyxRect back{0, 0, -1, 0};
  ASSERT_EQ(lib().setTargetRect(board_, 1, &back), 1);
  EXPECT_EQ(back.right, 800);
  EXPECT_EQ(back.bottom, 900);
  TyxRect huge{0, 0, 5000, 100};
  EXPECT_EQ(lib().setTargetRect(board_, 1, &huge), 0);
  TyxRect inverted{10, 10, 5, 20};
  EXPECT_EQ(lib().setTargetRect(board_, 0, &inverted), 0);
}

namespace {

struct Area {
  std::vector<uint8_t> bytes;
  TyxConvertDesc desc{};
  Area(int16_t w, int16_t h, int16_t bits, size_t capacity, size_t guard = 64)
      : bytes(capacity + guard, 0xEE) {
    desc.width = w;
    desc.height = h;
    desc.bitsPerPixel = bits;
    desc.address = reinterpret_cast<uintptr_t>(bytes.data());
  }
  bool guardIntact(size_t capacity) const {
    for (size_t i = capacity; i < bytes.size(); ++i)
      if (bytes[i] != 0xEE) return false;
    return true;
  }
};

}  // namespace

TEST_F(SimBoardTest, ConvertRendersEveryFormatWithinTheGivenArea) {
  struct Case {
    const char* format;
    int16_t bits;
  } cases[] = {{"grey8", 8}, {"rgb565", 16}, {"rgb24", 24}, {"rgb32", 32}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    ASSERT_EQ(sim_.control((std::string("reset;format=") + c.format).c_str()), 1);
    ASSERT_NE(open(), nullptr);
    const size_t stride = (size_t(99) * c.bits + 31) / 32 * 4;
    const size_t need = stride * 50;
    Area exact(99, -50, c.bits, need);
    ASSERT_EQ(lib().convertRect(board_, &exact.desc, 0), 1);
    EXPECT_TRUE(exact.guardIntact(need));
    // The picture is not blank: several distinct bytes in a row.
    std::vector<bool> seen(256);
    int distinct = 0;
    for (size_t i = 0; i < stride; ++i)
      if (!seen[exact.bytes[i]]) seen[exact.bytes[i]] = true, ++distinct;
    EXPECT_GT(distinct, 4);

    Area wrongBits(99, -50, c.bits == 8 ? 24 : 8, need * 4);
    EXPECT_EQ(lib().convertRect(board_, &wrongBits.desc, 0), 0);
    EXPECT_TRUE(wrongBits.guardIntact(0));  // nothing written at all
    // Bytes 8 to 23 are not the caller's: a descriptor that uses any of them
    // is refused and nothing is written.
    for (size_t byte = 0; byte < sizeof exact.desc.reserved; ++byte) {
      Area used(99, -50, c.bits, need);
      used.desc.reserved[byte] = 1;
      EXPECT_EQ(lib().convertRect(board_, &used.desc, 0), 0) << "byte " << 8 + byte;
      EXPECT_TRUE(used.guardIntact(0)) << "byte " << 8 + byte;
    }
    EXPECT_TRUE(lib().closeBoard(board_));
    board_ = nullptr;
  }
}

TEST_F(SimBoardTest, ConvertHonoursRowOrderAndOffset) {
  ASSERT_NE(open(), nullptr);
  ASSERT_GE(lib().setVideoParam(board_, 19, 0), 0);
  const size_t stride = (64 * 24 + 31) / 32 * 4;
  Area topDown(64, 48, 24, stride * 48);
  Area bottomUp(64, -48, 24, stride * 48);
  ASSERT_EQ(lib().convertRect(board_, &topDown.desc, 0), 1);
  ASSERT_EQ(lib().convertRect(board_, &bottomUp.desc, 0), 1);
  for (int y = 0; y < 48; ++y)
    ASSERT_EQ(0, std::memcmp(topDown.bytes.data() + y * stride, bottomUp.bytes.data() + (47 - y) * stride, stride));
  // A horizontal offset shifts the picture left by as many pixels.
  ASSERT_GE(lib().setVideoParam(board_, 19, 8), 0);
  Area shifted(64, 48, 24, stride * 48);
  ASSERT_EQ(lib().convertRect(board_, &shifted.desc, 0), 1);
  EXPECT_EQ(0, std::memcmp(shifted.bytes.data(), topDown.bytes.data() + 8 * 3, 16 * 3));
}

TEST_F(SimBoardTest, DisplayHeaderOfTheBoardDescribesItsConversion) {
  // The program's header rule and the board's conversion agree on the size
  // of a frame: a descriptor filled from the header converts exactly.
  ASSERT_EQ(sim_.control("format=rgb565"), 1);
  ASSERT_NE(open(), nullptr);
  TyxRect r{0, 0, -1, 0};
  ASSERT_EQ(lib().setTargetRect(board_, 1, &r), 1);
  capture::BoardReadings readings;
  readings.rect = r;
  readings.capture3 = lib().setCaptureParam(board_, 3, -1);
  readings.capture10 = lib().setCaptureParam(board_, 10, -1);
  readings.convert1 = lib().setConvertParam(board_, 1, -1);
  readings.convert6 = lib().setConvertParam(board_, 6, -1);
  readings.video8 = lib().setVideoParam(board_, 8, -1);
  const capture::FrameGeometry g = capture::beginGeometry(readings);
  std::vector<uint8_t> block(capture::kFrameBlockFallbackSize, 0);
  capture::HeaderInfo info;
  ASSERT_EQ(capture::buildDisplayHeader(block.data(), capture::kPixelAreaOffset, g.width, g.height, g.bits,
                                        g.format, &info),
            capture::HeaderError::None);
  TyxConvertDesc desc;
  ASSERT_TRUE(capture::fillDescriptor(&desc, block.data(), block.size(), info));
  EXPECT_EQ(lib().convertRect(board_, &desc, 0), 1);
  EXPECT_EQ(desc.bitsPerPixel, 16);
}

// The board's picture is what the camera on its cable sends: the settings a
// user makes on the pages show in the live video.
TEST_F(SimBoardTest, PictureFollowsTheOpenCamerasSettings) {
  SimCamera camera;
  camera.reset();
  ASSERT_NE(open(), nullptr);
  ASSERT_EQ(sim_.control("format=rgb24"), 1);
  ASSERT_GE(lib().setVideoParam(board_, 19, 0), 0);  // no capture offset
  constexpr int kW = 64, kH = 48;
  const size_t stride = (kW * 24 + 31) / 32 * 4;
  const auto frame = [&] {
    Area a(kW, kH, 24, stride * kH);
    EXPECT_EQ(lib().convertRect(board_, &a.desc, 0), 1);
    a.bytes.resize(stride * kH);
    return a.bytes;
  };
  const auto at = [&](const std::vector<uint8_t>& f, int x, int y, int channel) {
    return int{f[static_cast<size_t>(y) * stride + 3 * static_cast<size_t>(x) + channel]};
  };
  const std::vector<uint8_t> plain = frame();  // no camera open

  CameraLibrary& cams = CameraLibrary::instance();
  camera.control("clear;camera COM1=219290");
  int32_t type = -2;
  void* cam = cams.openCamera(&type, "COM1");
  ASSERT_NE(cam, nullptr);
  // At its default settings the camera passes the scene unchanged.
  EXPECT_EQ(frame(), plain);

  ASSERT_EQ(cams.setConfigParam(cam, 26, 1, 0), 1);  // negative image
  std::vector<uint8_t> f = frame();
  for (int x : {0, 17, 40, 63}) EXPECT_EQ(at(f, x, 5, 1), 255 - at(plain, x, 5, 1)) << x;
  ASSERT_EQ(cams.setConfigParam(cam, 26, 0, 0), 1);

  ASSERT_EQ(cams.setConfigParam(cam, 27, 1, 0), 1);  // left-right inverse
  f = frame();
  for (int x : {0, 17, 40, 63}) EXPECT_EQ(at(f, x, 40, 2), at(plain, kW - 1 - x, 40, 2)) << x;
  ASSERT_EQ(cams.setConfigParam(cam, 27, 0, 0), 1);

  // Half the gain halves the ramp's levels; black level 232 lifts it by 100.
  ASSERT_EQ(cams.setConfigParam(cam, 1, 165, 0), 1);
  f = frame();
  EXPECT_EQ(at(f, 50, 40, 1), at(plain, 50, 40, 1) * 165 / 330);
  ASSERT_EQ(cams.setConfigParam(cam, 1, 330, 0), 1);
  ASSERT_EQ(cams.setConfigParam(cam, 4, 232, 0), 1);
  f = frame();
  EXPECT_EQ(at(f, 10, 40, 1), std::min(255, at(plain, 10, 40, 1) + 100));
  ASSERT_EQ(cams.setConfigParam(cam, 4, 32, 0), 1);

  // A colour camera's red gain of 0 takes the red out.
  ASSERT_EQ(cams.setConfigParam(cam, 10, 0, 0), 1);
  f = frame();
  for (int x : {0, 30, 63}) EXPECT_EQ(at(f, x, 5, 2), 0) << x;  // BGR: red last
  ASSERT_EQ(cams.setConfigParam(cam, 10, 128, 0), 1);

  // Output mode 2: the camera's own still test bars instead of the scene.
  ASSERT_EQ(cams.setConfigParam(cam, 6, 2, 0), 1);
  f = frame();
  EXPECT_NE(f, plain);
  EXPECT_EQ(at(f, 0, 5, 0), 0);
  EXPECT_EQ(at(f, kW - 1, 5, 0), 255);
  EXPECT_EQ(at(f, 3, 5, 0), at(f, 3, 40, 0));  // the same from top to bottom

  // A closed camera sends nothing: the board shows its plain picture again.
  ASSERT_NE(cams.closeCamera(cam), 0);
  EXPECT_EQ(frame(), plain);
  camera.reset();
}
