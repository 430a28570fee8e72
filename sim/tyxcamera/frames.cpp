// frames.cpp - frame blocks, the test picture and the continuous-capture thread of USB cameras.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <new>
#include <set>

#include "sim_internal.h"
#include "abi/tyxcamera.h"

namespace tyxsim {

// A frame block is one malloc'd area: this header, then the packed bitmap
// (40-byte bitmap header, colour table, bottom-up rows padded to 4 bytes).
// The program only ever sees the address of the header; tyxCamFrameLock
// hands out the bitmap.
struct FrameBlock {
  static constexpr uint32_t kMagic = 0x46524D42;  // "FRMB"
  uint32_t magic = kMagic;
  // The frame lock. It is a flag under a mutex rather than a bare mutex so
  // that an unlock without a lock, or from another thread, is harmless.
  std::mutex mutex;  // guards locked
  std::condition_variable cv;
  bool locked = false;
  int32_t width = 0, height = 0;
  bool colour = false;
  size_t bitmapSize = 0;
  size_t bitmapOffset = 0;

  uint8_t* bitmap() { return reinterpret_cast<uint8_t*>(this) + bitmapOffset; }
  void lock() {
    std::unique_lock<std::mutex> l(mutex);
    cv.wait(l, [this] { return !locked; });
    locked = true;
  }
  // Waits for the lock unless stop becomes set; the program may hold the
  // frame lock while it asks the capture to stop.
  bool lockUnless(const std::atomic<bool>& stop) {
    std::unique_lock<std::mutex> l(mutex);
    while (locked) {
      if (stop.load()) return false;
      cv.wait_for(l, std::chrono::milliseconds(5));
    }
    locked = true;
    return true;
  }
  void unlock() {
    std::lock_guard<std::mutex> l(mutex);
    locked = false;
    cv.notify_all();
  }
};

namespace {

// Live frame blocks; a pointer the program passes in is used only when it is
// found here, so a stale or foreign pointer is never dereferenced.
struct FrameRegistry {
  std::mutex mutex;  // guards live
  std::set<void*> live;
};
FrameRegistry& registry() {
  static FrameRegistry* r = new FrameRegistry;
  return *r;
}

void put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
void put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

size_t rowStride(int32_t width, bool colour) {
  const size_t bits = static_cast<size_t>(width) * (colour ? 24 : 8);
  return (bits + 31) / 32 * 4;
}

FrameBlock* fromHandle(void* p) {
  if (!p) return nullptr;
  std::lock_guard<std::mutex> lock(registry().mutex);
  return registry().live.count(p) ? static_cast<FrameBlock*>(p) : nullptr;
}

}  // namespace

FrameBlock* allocateFrame(int32_t width, int32_t height, bool colour) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
  const size_t stride = rowStride(width, colour);
  const size_t table = colour ? 0 : 256 * 4;
  const size_t bitmapSize = 40 + table + stride * static_cast<size_t>(height);
  const size_t offset = (sizeof(FrameBlock) + 15) / 16 * 16;
  void* mem = std::malloc(offset + bitmapSize);
  if (!mem) return nullptr;
  FrameBlock* f = new (mem) FrameBlock;
  f->width = width;
  f->height = height;
  f->colour = colour;
  f->bitmapSize = bitmapSize;
  f->bitmapOffset = offset;
  uint8_t* h = f->bitmap();
  std::memset(h, 0, bitmapSize);
  put32(h + 0, 40);
  put32(h + 4, static_cast<uint32_t>(width));
  put32(h + 8, static_cast<uint32_t>(height));  // positive: bottom-up rows
  put16(h + 12, 1);
  put16(h + 14, colour ? 24 : 8);
  put32(h + 16, 0);  // uncompressed
  put32(h + 20, static_cast<uint32_t>(stride * static_cast<size_t>(height)));
  put32(h + 32, colour ? 0 : 256);
  for (int i = 0; i < (colour ? 0 : 256); ++i) {
    uint8_t* e = h + 40 + size_t{4} * i;
    e[0] = e[1] = e[2] = static_cast<uint8_t>(i);
    e[3] = 0;
  }
  std::lock_guard<std::mutex> lock(registry().mutex);
  registry().live.insert(f);
  return f;
}

bool isLiveFrame(void* p) { return fromHandle(p) != nullptr; }

bool frameMatches(FrameBlock* f, int32_t width, int32_t height, bool colour) {
  return f->width == width && f->height == height && f->colour == colour;
}

PictureSettings pictureSettings(const SimCamera& c) {
  const TyxCameraParams& p = c.current.cam;
  PictureSettings s{};
  s.gain = p.gain;
  s.black = p.black;
  s.hInverse = p.horizontalInverse;
  s.vInverse = p.verticalInverse;
  s.negative = p.negativeImage;
  s.rGain = p.rGain;
  s.gGain = p.gGain;
  s.bGain = p.bGain;
  s.outputMode = p.outputMode;
  s.colour = c.info->colour;
  return s;
}

// The scene: a left-to-right ramp, a top-to-bottom ramp, a checker of 64-pixel
// squares and a bright vertical line that moves with the frame number, so a
// viewer can see live frames arrive. Gain scales it (330 is unity), the black
// level lifts it, the inverses mirror it and the negative inverts it. The
// scene light has a slight colour cast (red 0.9, blue 1.1) that the white
// balance takes out.
uint8_t outputLevel(int32_t v, const PictureSettings& s) {
  int64_t out = static_cast<int64_t>(v) * s.gain / 330 + (s.black - 32) / 2;
  out = std::clamp<int64_t>(out, 0, 255);
  if (s.negative) out = 255 - out;
  return static_cast<uint8_t>(out);
}

void renderFrame(FrameBlock* f, const PictureSettings& s, int64_t frameNo) {
  const int32_t w = f->width, h = f->height;
  const size_t stride = rowStride(w, f->colour);
  uint8_t* pixels = f->bitmap() + 40 + (f->colour ? 0 : 1024);

  // Level lookup: scene level 0..511 -> output byte.
  uint8_t lut[512];
  for (int v = 0; v < 512; ++v) lut[v] = outputLevel(v, s);
  std::vector<int32_t> colTerm(static_cast<size_t>(w));
  std::vector<uint8_t> colParity(static_cast<size_t>(w));
  const int32_t moving = static_cast<int32_t>((frameNo * 4) % std::max(1, w));
  for (int32_t x = 0; x < w; ++x) {
    const int32_t sx = s.hInverse ? w - 1 - x : x;
    int32_t term = s.outputMode == 2 ? (sx * 8 / std::max(1, w)) * 36  // test image: 8 bars
                                     : 30 + static_cast<int32_t>(int64_t{150} * sx / std::max(1, w));
    if (s.outputMode != 2 && sx == moving) term += 200;
    colTerm[x] = term;
    colParity[x] = static_cast<uint8_t>((sx / 64) & 1);
  }
  const int rf = s.colour ? (s.rGain * 9) / 10 : 128;
  const int gf = s.colour ? s.gGain : 128;
  const int bf = s.colour ? (s.bGain * 11) / 10 : 128;
  for (int32_t y = 0; y < h; ++y) {
    const int32_t sy = s.vInverse ? h - 1 - y : y;
    const int32_t rowTerm = s.outputMode == 2 ? 0 : static_cast<int32_t>(int64_t{60} * sy / std::max(1, h));
    const uint8_t rowParity = static_cast<uint8_t>((sy / 64) & 1);
    // Bitmap rows run bottom-up: image row y is stored at h - 1 - y.
    uint8_t* row = pixels + stride * static_cast<size_t>(h - 1 - y);
    for (int32_t x = 0; x < w; ++x) {
      int32_t v = colTerm[x] + rowTerm + ((colParity[x] ^ rowParity) ? 40 : 0);
      v = std::min(v, 511);
      if (!f->colour) {
        row[x] = lut[v];
      } else {
        uint8_t* px = row + 3 * static_cast<size_t>(x);
        px[0] = lut[std::min(511, v * bf / 128)];  // blue
        px[1] = lut[std::min(511, v * gf / 128)];  // green
        px[2] = lut[std::min(511, v * rf / 128)];  // red
      }
    }
  }
}

Session* sessionCapturingInto(FrameBlock* f) {
  for (auto& s : state().sessions)
    if (s->captureThread.joinable() && s->captureBlock == f) return s.get();
  return nullptr;
}

void startCapture(Session* s, FrameBlock* f) {
  {
    std::lock_guard<std::mutex> l(s->captureMutex);
    s->captureStop = false;
    s->captureStopping = false;
    s->frameTimes.clear();
  }
  s->captureBlock = f;
  std::shared_ptr<SimCamera> camera = s->camera;
  s->captureThread = std::thread([s, f, camera] {
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::microseconds(16667);  // 60 frames per second
    const auto start = clock::now();
    auto next = start;
    int64_t frameNo = 0;
    for (;;) {
      PictureSettings ps;
      {
        std::lock_guard<std::mutex> l(state().mutex);
        ps = pictureSettings(*camera);
      }
      if (!f->lockUnless(s->captureStopping)) break;
      renderFrame(f, ps, frameNo++);
      f->unlock();
      const auto now = clock::now();
      std::unique_lock<std::mutex> l(s->captureMutex);
      s->framesCaptured = s->framesCaptured < 0 ? 1 : s->framesCaptured + 1;
      const double t = std::chrono::duration<double>(now - start).count();
      s->frameTimes.push_back(t);
      // Keep one second of arrival times for the rate.
      auto old = std::find_if(s->frameTimes.begin(), s->frameTimes.end(),
                              [t](double x) { return x >= t - 1.0; });
      s->frameTimes.erase(s->frameTimes.begin(), old);
      next += period;
      if (next < now) next = now;  // fell behind: do not try to catch up in a burst
      if (s->captureCv.wait_until(l, next, [s] { return s->captureStop; })) break;
    }
  });
}

void stopCaptureThread(Session* s) {
  {
    std::lock_guard<std::mutex> l(s->captureMutex);
    s->captureStop = true;
    s->captureStopping = true;
  }
  s->captureCv.notify_all();
  if (s->captureThread.joinable()) s->captureThread.join();
  std::lock_guard<std::mutex> l(s->captureMutex);
  s->frameTimes.clear();
}

}  // namespace tyxsim

using namespace tyxsim;

extern "C" TYXCAM_API void* tyxCamFrameLock(void* frame) {
  FrameBlock* f = fromHandle(frame);
  if (!f) return nullptr;
  f->lock();
  return f->bitmap();
}

extern "C" TYXCAM_API void tyxCamFrameUnlock(void* frame) {
  if (FrameBlock* f = fromHandle(frame)) f->unlock();
}

extern "C" TYXCAM_API size_t tyxCamFrameSize(void* frame) {
  FrameBlock* f = fromHandle(frame);
  return f ? f->bitmapSize : 0;
}

extern "C" TYXCAM_API void tyxCamFrameFree(void* frame) {
  FrameBlock* f = fromHandle(frame);
  if (!f) return;
  // A capture thread still drawing into the block must stop first.
  Session* writer = nullptr;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    writer = sessionCapturingInto(f);
  }
  if (writer) {
    stopCaptureThread(writer);
    std::lock_guard<std::mutex> lock(state().mutex);
    writer->captureBlock = nullptr;
  }
  {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().live.erase(f);
  }
  f->~FrameBlock();
  std::free(f);
}
