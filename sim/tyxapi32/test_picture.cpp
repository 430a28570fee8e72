// test_picture.cpp - colour bars and a bouncing square, as the camera on the cable would change them.
#include "test_picture.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include <dlfcn.h>

#include "abi/tyxapi32.h"
#include "tyxcamera_sim.h"

namespace boardsim {

namespace {

struct Rgb {
  uint8_t r, g, b;
};

constexpr Rgb kBars[8] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                          {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {16, 16, 16}};




uint8_t weigh(uint8_t v, int gain) { return static_cast<uint8_t>(std::min(255, v * gain / 128)); }

Rgb pixelAt(const Picture& p, int x, int y) {
  if (!p.signal) {
    // Dark blue with faint noise-free stripes: what a board shows without input.
    return Rgb{0, 0, static_cast<uint8_t>(((x + y) & 16) ? 96 : 80)};
  }
  const CameraLook& look = p.look;
  // The camera mirrors its whole picture, the bouncing square included.
  if (look.hInverse) x = p.width - 1 - x;
  if (look.vInverse) y = p.height - 1 - y;
  const int sx = x + p.ox;
  const int sy = y + p.oy;
  Rgb c;
  if (look.testBars) {
    // The camera's own test picture: eight still grey steps, no scene.
    const uint8_t v = static_cast<uint8_t>(((static_cast<int64_t>(sx % p.width) * 8) / p.width) * 255 / 7);
    c = Rgb{v, v, v};
  } else if (sy % p.height < p.height * 2 / 3) {
    // The vertical offset moves the boundary between bars and ramp.
    const int64_t shifted = static_cast<int64_t>(sx) + static_cast<int64_t>(p.time) * 4;
    const int bar = static_cast<int>(((shifted % p.width) * 8) / p.width) & 7;
    c = kBars[bar];
  } else {
    const uint8_t v = static_cast<uint8_t>((static_cast<int64_t>(sx % p.width) * 255) / p.width);
    c = Rgb{v, v, v};
  }
  // A square bouncing left and right, so motion is visible even in B/W.
  const int side = std::max(4, p.height / 8);
  const int travel = std::max(1, p.width - side);
  const int phase = static_cast<int>((p.time * 6) % (2 * travel));
  const int bx = phase < travel ? phase : 2 * travel - phase;
  const int by = p.height / 2 - side / 2;
  if (!look.testBars && x >= bx && x < bx + side && y >= by && y < by + side) c = Rgb{255, 255, 255};
  c = Rgb{look.level[weigh(c.r, look.rGain)], look.level[weigh(c.g, look.gGain)],
          look.level[weigh(c.b, look.bGain)]};
  if (!p.colour) {
    const uint8_t l = static_cast<uint8_t>((c.r * 77 + c.g * 150 + c.b * 29) >> 8);
    c = Rgb{l, l, l};
  }
  return c;
}

}  // namespace

CameraLook cameraLook() {
  CameraLook look;
  void* library = dlopen("libtyxcamera.so", RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return look;
  TyxSimVideoSignal signal{};
  auto* query = reinterpret_cast<int32_t (*)(TyxSimVideoSignal*)>(dlsym(library, "tyxSimVideoSignal"));
  const bool answered = query != nullptr && query(&signal) == 1;
  dlclose(library);
  if (!answered) return look;
  look.hInverse = signal.hInverse != 0;
  look.vInverse = signal.vInverse != 0;
  look.testBars = signal.outputMode == 2;
  if (signal.colour != 0) {
    look.rGain = std::clamp(signal.rGain, 0, 1023);
    look.gGain = std::clamp(signal.gGain, 0, 1023);
    look.bGain = std::clamp(signal.bGain, 0, 1023);
  }
  std::copy(std::begin(signal.level), std::end(signal.level), look.level.begin());
  return look;
}

PixelKind kindFor(int32_t captureFormat, int bits) {
  const int code = captureFormat & 0xFFFF;
  if (code == TYX_FORMAT_RGB565) return bits == 16 ? PixelKind::Rgb565 : PixelKind::Unsupported;
  const bool bitFields = code == TYX_FORMAT_RGB24 || code == TYX_FORMAT_RGB32 || code == TYX_FORMAT_RGB32A;
  switch (bits) {
    case 8: return bitFields ? PixelKind::Unsupported : PixelKind::Grey8;
    case 16: return bitFields ? PixelKind::Rgb565 : PixelKind::Rgb555;
    case 24: return PixelKind::Bgr24;
    case 32: return PixelKind::Bgrx32;
    default: return PixelKind::Unsupported;
  }
}

int formatBits(int32_t captureFormat) {
  if ((captureFormat & 0xFFFF) == TYX_FORMAT_RGB565) return 16;
  return (captureFormat >> 16) & 0xFFFF;
}

void renderRow(uint8_t* row, PixelKind kind, const Picture& p, int y) {
  for (int x = 0; x < p.width; ++x) {
    const Rgb c = pixelAt(p, x, y);
    const size_t at = static_cast<size_t>(x);
    switch (kind) {
      case PixelKind::Grey8: row[x] = static_cast<uint8_t>((c.r * 77 + c.g * 150 + c.b * 29) >> 8); break;
      case PixelKind::Rgb555: {
        const uint16_t v = static_cast<uint16_t>(((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3));
        std::memcpy(row + 2 * at, &v, 2);
        break;
      }
      case PixelKind::Rgb565: {
        const uint16_t v = static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
        std::memcpy(row + 2 * at, &v, 2);
        break;
      }
      case PixelKind::Bgr24:
        row[3 * at] = c.b;
        row[3 * at + 1] = c.g;
        row[3 * at + 2] = c.r;
        break;
      case PixelKind::Bgrx32:
        row[4 * at] = c.b;
        row[4 * at + 1] = c.g;
        row[4 * at + 2] = c.r;
        row[4 * at + 3] = 0;
        break;
      case PixelKind::Unsupported: break;
    }
  }
}

}  // namespace boardsim
