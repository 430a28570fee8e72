// network_usb_test.cpp - network scan and addresses, USB information and frame capture.
#include <chrono>
#include <cstring>
#include <thread>

#include "sim_library.h"

namespace {

class NetworkTest : public SimTest {};

std::string dotted(uint32_t ip) {
  unsigned char b[4];
  std::memcpy(b, &ip, 4);
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
         std::to_string(b[3]);
}

TEST_F(NetworkTest, ScanFillsOneRecordPerNetworkCamera) {
  TyxNetDeviceRecord area[4];
  std::memset(area, 0xEE, sizeof area);
  void* list = nullptr;
  ASSERT_EQ(lib.tyxCamScanDevice(area, &list), 4);
  EXPECT_NE(list, nullptr);
  const int32_t types[] = {321880, 321140, 218920, 212260};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(area[i].number1, i + 1);
    EXPECT_EQ(area[i].number2, types[i]);
    EXPECT_EQ(dotted(area[i].ip1), "192.168.1." + std::to_string(101 + i));
    EXPECT_EQ(dotted(area[i].ip2), "192.168.1.1");
    EXPECT_EQ(area[i].ip3, 5000 + i);
    EXPECT_EQ(area[i].reserved0, 0);
  }
  EXPECT_EQ(lib.tyxCamScanDevice(nullptr, nullptr), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
}

TEST_F(NetworkTest, ScanWithoutNetworkCamerasClearsTheArea) {
  control("remove NetPort1;remove NetPort2;remove NetPort3;remove NetPort4");
  TyxNetDeviceRecord area[4];
  std::memset(area, 0xEE, sizeof area);
  EXPECT_EQ(lib.tyxCamScanDevice(area, nullptr), 0);
  const TyxNetDeviceRecord zero{};
  EXPECT_EQ(std::memcmp(&area[0], &zero, sizeof zero), 0);
}

TEST_F(NetworkTest, AddressIsReadSetAndShownByTheNextScan) {
  void* cam = open("NetPort3", -1);
  char buf[20];
  std::memset(buf, 'x', sizeof buf);
  ASSERT_EQ(lib.tyxCamGetNetCameraIP(cam, buf, 0), 1);
  EXPECT_STREQ(buf, "192.168.1.103");
  ASSERT_EQ(lib.tyxCamSetCameraIP(cam, "10.0.0.7", 1), 1);
  ASSERT_EQ(lib.tyxCamGetNetCameraIP(cam, buf, 0), 1);
  EXPECT_STREQ(buf, "10.0.0.7");
  TyxNetDeviceRecord area[4];
  ASSERT_EQ(lib.tyxCamScanDevice(area, nullptr), 4);
  EXPECT_EQ(dotted(area[2].ip1), "10.0.0.7");
}

TEST_F(NetworkTest, MalformedAddressesAreRefused) {
  void* cam = open("NetPort1", -1);
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.-4", "a.b.c.d", "1..2.3",
                          "01.2.3.4", " 1.2.3.4", "1.2.3.4 ", "1.2.3.4x", "0.0.0.0",
                          "255.255.255.255", "1234.1.1.1", "192.168.001.002.3"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(lib.tyxCamSetCameraIP(cam, bad, 1), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  }
  EXPECT_EQ(lib.tyxCamSetCameraIP(cam, nullptr, 1), 0);
  char buf[20];
  ASSERT_EQ(lib.tyxCamGetNetCameraIP(cam, buf, 0), 1);
  EXPECT_STREQ(buf, "192.168.1.101");
}

TEST_F(NetworkTest, FirmwareVersionsOfNetworkCamerasOnly) {
  void* cam = open("NetPort1", -1);
  EXPECT_EQ(lib.tyxCamGetNetCameraVer(cam, 1), 0x0203);
  EXPECT_EQ(lib.tyxCamGetNetCameraVer(cam, 2), 0x0110);
  EXPECT_EQ(lib.tyxCamGetNetCameraVer(cam, 3), 0x0301);
  EXPECT_EQ(lib.tyxCamGetNetCameraVer(cam, 4), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  void* serial = open("COM1");
  EXPECT_EQ(lib.tyxCamGetNetCameraVer(serial, 1), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 106);
  char buf[20];
  EXPECT_EQ(lib.tyxCamGetNetCameraIP(serial, buf, 0), 0);
  EXPECT_EQ(lib.tyxCamSetCameraIP(serial, "10.0.0.1", 1), 0);
}

class UsbTest : public SimTest {
 protected:
  struct Header {
    int32_t size, width, height;
    int16_t planes, bits;
    int32_t compression, imageSize, xppm, yppm, used, important;
  };
  static Header header(const void* bitmap) {
    Header h;
    static_assert(sizeof(Header) == 40);
    std::memcpy(&h, bitmap, 40);
    return h;
  }
  // Pixel value of image row y (0 = top), column x, of an 8-bit frame.
  static int grey(const uint8_t* bitmap, int x, int y) {
    const Header h = header(bitmap);
    const int stride = (h.width + 3) / 4 * 4;
    return bitmap[40 + 1024 + static_cast<size_t>(h.height - 1 - y) * stride + x];
  }
  void* captureOne(void* cam) {
    void* frame = nullptr;
    EXPECT_EQ(lib.tyxCamCaptureFrame(cam, &frame, 1), 1);
    return frame;
  }
};

TEST_F(UsbTest, InformationRecordAndVersions) {
  void* cam = open("USB1");
  TyxUsbInfo info;
  std::memset(&info, 0xEE, sizeof info);
  ASSERT_EQ(lib.tyxCamGetUsbInfo(cam, 1, &info), 1);
  EXPECT_EQ(info.size, 188);
  EXPECT_EQ(info.maxWidth, 2048);
  EXPECT_EQ(info.maxHeight, 1536);
  EXPECT_EQ(info.firmwareVersion, 0x0105);
  int32_t v = 0;
  ASSERT_EQ(lib.tyxCamGetUsbInfo(cam, 2, &v), 1);
  EXPECT_EQ(v, 0x0203);
  ASSERT_EQ(lib.tyxCamGetUsbInfo(cam, 3, &v), 1);
  EXPECT_EQ(v, 0x0105);
  EXPECT_EQ(lib.tyxCamGetUsbInfo(cam, 4, &v), 0);
  EXPECT_EQ(lib.tyxCamGetUsbInfo(cam, 1, nullptr), 0);
  void* serial = open("COM1");
  EXPECT_EQ(lib.tyxCamGetUsbInfo(serial, 1, &info), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 106);
}

TEST_F(UsbTest, SingleFrameIsAPackedBitmapOfTheTargetSize) {
  struct Case {
    const char* port;
    int32_t rect[4];
    int32_t width, height, bits;
  };
  const Case cases[] = {
      {"USB1", {0, 0, 641, 480}, 641, 480, 8},       // grey, odd width: rows padded
      {"USB2", {0, 0, 5000, 5000}, 1280, 1024, 8},   // clipped to the maximum
      {"NetPort3", {0, 0, 333, 200}, 333, 200, 24},  // colour
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.port);
    void* cam = open(c.port, std::string(c.port).rfind("Net", 0) == 0 ? -1 : -2);
    ASSERT_EQ(lib.tyxCamSetTargetRect(cam, c.rect), 1);
    void* frame = captureOne(cam);
    ASSERT_NE(frame, nullptr);
    const uint8_t* bmp = static_cast<const uint8_t*>(lib.tyxCamFrameLock(frame));
    ASSERT_NE(bmp, nullptr);
    const Header h = header(bmp);
    EXPECT_EQ(h.size, 40);
    EXPECT_EQ(h.width, c.width);
    EXPECT_EQ(h.height, c.height);  // positive: bottom-up
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bits, c.bits);
    EXPECT_EQ(h.compression, 0);
    const size_t stride = (static_cast<size_t>(c.width) * c.bits + 31) / 32 * 4;
    const size_t table = c.bits == 8 ? 1024 : 0;
    EXPECT_EQ(static_cast<size_t>(h.imageSize), stride * c.height);
    EXPECT_EQ(lib.tyxCamFrameSize(frame), 40 + table + stride * c.height);
    if (c.bits == 8) {
      EXPECT_EQ(h.used, 256);
      EXPECT_EQ(bmp[40 + 4 * 200], 200);  // grey colour table
    }
    lib.tyxCamFrameUnlock(frame);
    lib.tyxCamFrameFree(frame);
  }
}

TEST_F(UsbTest, TargetRectangleChecks) {
  void* cam = open("USB1");
  const int32_t empty[4] = {0, 0, 0, 480};
  const int32_t inverted[4] = {100, 100, 50, 50};
  const int32_t negative[4] = {-1, 0, 10, 10};
  for (const int32_t* r : {empty, inverted, negative}) {
    EXPECT_EQ(lib.tyxCamSetTargetRect(cam, r), 0);
    EXPECT_EQ(lib.tyxCamGetLastError(), 122);
  }
  EXPECT_EQ(lib.tyxCamSetTargetRect(cam, nullptr), 0);
}

TEST_F(UsbTest, PictureFollowsGainBlackInversesAndNegative) {
  void* cam = open("USB1");
  const int32_t rect[4] = {0, 0, 256, 128};
  ASSERT_EQ(lib.tyxCamSetTargetRect(cam, rect), 1);
  auto snapshot = [&]() {
    void* f = captureOne(cam);
    const uint8_t* bmp = static_cast<const uint8_t*>(lib.tyxCamFrameLock(f));
    std::vector<int> v = {grey(bmp, 10, 5), grey(bmp, 200, 5), grey(bmp, 10, 120)};
    lib.tyxCamFrameUnlock(f);
    lib.tyxCamFrameFree(f);
    return v;
  };
  const auto base = snapshot();
  EXPECT_LT(base[0], base[1]);  // brighter to the right
  EXPECT_LT(base[0], base[2]);  // and to the bottom

  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 660, 0), 1);
  const auto bright = snapshot();
  EXPECT_GT(bright[0], base[0]);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 1, 330, 0), 1);

  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 4, 200, 0), 1);
  EXPECT_GT(snapshot()[0], base[0]);
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 4, 32, 0), 1);

  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 27, 1, 0), 1);
  EXPECT_GT(snapshot()[0], snapshot()[1]);  // mirrored left to right
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 27, 0, 0), 1);

  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 28, 1, 0), 1);
  const auto flipped = snapshot();
  EXPECT_GT(flipped[0], flipped[2]);  // upside down
  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 28, 0, 0), 1);

  ASSERT_EQ(lib.tyxCamSetConfigParam(cam, 26, 1, 0), 1);
  const auto neg = snapshot();
  EXPECT_EQ(neg[0], 255 - base[0]);
}

TEST_F(UsbTest, FrameFunctionsIgnoreUnknownBlocks) {
  int dummy = 0;
  EXPECT_EQ(lib.tyxCamFrameLock(&dummy), nullptr);
  EXPECT_EQ(lib.tyxCamFrameSize(&dummy), 0u);
  lib.tyxCamFrameUnlock(&dummy);
  lib.tyxCamFrameFree(&dummy);
  EXPECT_EQ(lib.tyxCamFrameLock(nullptr), nullptr);
  void* cam = open("USB1");
  void* frame = captureOne(cam);
  lib.tyxCamFrameFree(frame);
  EXPECT_EQ(lib.tyxCamFrameLock(frame), nullptr);  // freed: no longer a block
}

TEST_F(UsbTest, ContinuousCaptureCountsFramesAtItsTrueRate) {
  void* cam = open("USB2");
  const int32_t rect[4] = {0, 0, 320, 240};
  ASSERT_EQ(lib.tyxCamSetTargetRect(cam, rect), 1);
  int32_t count = 0;
  lib.tyxCamGetCaptureRate(cam, nullptr, &count);
  EXPECT_LT(count, 0);  // nothing captured yet

  void* frame = nullptr;
  ASSERT_EQ(lib.tyxCamCaptureFrame(cam, &frame, 0), 1);
  ASSERT_NE(frame, nullptr);
  // Wait for a handful of frames, at most two seconds.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  float rate = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    rate = lib.tyxCamGetCaptureRate(cam, nullptr, &count);
    if (count >= 12) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_GE(count, 12);
  EXPECT_GT(rate, 20.0f);
  EXPECT_LT(rate, 70.0f);
  // The program reads the block under the frame lock while the thread writes.
  const void* bmp = lib.tyxCamFrameLock(frame);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(header(bmp).width, 320);
  lib.tyxCamFrameUnlock(frame);

  ASSERT_EQ(lib.tyxCamStopCapture(cam), 1);
  int32_t stopped = 0;
  EXPECT_EQ(lib.tyxCamGetCaptureRate(cam, nullptr, &stopped), 0.0f);
  int32_t later = 0;
  lib.tyxCamGetCaptureRate(cam, nullptr, &later);
  EXPECT_EQ(later, stopped);  // no frames after the stop
  lib.tyxCamFrameFree(frame);
}

TEST_F(UsbTest, CaptureStopsSafelyOnFreeCloseAndWhileTheProgramHoldsTheLock) {
  void* cam = open("USB1");
  const int32_t rect[4] = {0, 0, 64, 64};
  ASSERT_EQ(lib.tyxCamSetTargetRect(cam, rect), 1);
  void* frame = nullptr;
  ASSERT_EQ(lib.tyxCamCaptureFrame(cam, &frame, 0), 1);
  lib.tyxCamFrameFree(frame);  // the thread stops before the block goes

  frame = nullptr;
  ASSERT_EQ(lib.tyxCamCaptureFrame(cam, &frame, 0), 1);
  ASSERT_NE(lib.tyxCamFrameLock(frame), nullptr);
  ASSERT_EQ(lib.tyxCamStopCapture(cam), 1);  // must not wait for the lock forever
  lib.tyxCamFrameUnlock(frame);

  void* again = frame;
  ASSERT_EQ(lib.tyxCamCaptureFrame(cam, &again, 0), 1);
  EXPECT_EQ(again, frame);  // a fitting block is reused
  ASSERT_EQ(lib.tyxCamCloseCamera(cam), 1);  // stops the capture
  int32_t count = 0;
  cam = open("USB1");
  lib.tyxCamGetCaptureRate(cam, nullptr, &count);
  EXPECT_LT(count, 0);
  lib.tyxCamFrameFree(frame);
}

TEST_F(UsbTest, CaptureNeedsAUsbCameraAndAFrameAddress) {
  void* serial = open("COM1");
  void* frame = nullptr;
  EXPECT_EQ(lib.tyxCamCaptureFrame(serial, &frame, 1), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 106);
  EXPECT_EQ(frame, nullptr);
  void* cam = open("USB1");
  EXPECT_EQ(lib.tyxCamCaptureFrame(cam, nullptr, 1), 0);
  EXPECT_EQ(lib.tyxCamCaptureFrame(cam, &frame, 3), 0);
  EXPECT_EQ(lib.tyxCamGetLastError(), 122);
}

}  // namespace
