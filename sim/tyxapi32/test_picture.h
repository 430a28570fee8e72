// test_picture.h - the moving test picture a simulated board converts into the caller's pixel area.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace boardsim {

// How the camera on the cable changes the scene; the identity when no
// simulated camera is open.
struct CameraLook {
  bool hInverse = false, vInverse = false;
  bool testBars = false;  // the camera's output mode 2
  int rGain = 128, gGain = 128, bGain = 128;
  std::array<uint8_t, 256> level{};  // the camera's gain, black level and negative
  CameraLook() {
    for (int v = 0; v < 256; ++v) level[static_cast<size_t>(v)] = static_cast<uint8_t>(v);
  }
};

// Asks the simulated camera library, if the process has it loaded, what its
// open camera sends. The library is only looked up, never loaded here, and
// held while it answers, so a program unloading it meanwhile is safe.
CameraLook cameraLook();

struct Picture {
  int width, height;  // of the destination
  int ox, oy;         // capture offset
  uint32_t time;      // frame number, drives the motion
  bool colour;
  bool signal;
  CameraLook look;
};

enum class PixelKind { Grey8, Rgb555, Rgb565, Bgr24, Bgrx32, Unsupported };

// The pixel kind of a capture format at a depth of bits per pixel.
PixelKind kindFor(int32_t captureFormat, int bits);
// Bits per pixel of a capture format.
int formatBits(int32_t captureFormat);
// Renders row y of the picture into row in the given pixel kind.
void renderRow(uint8_t* row, PixelKind kind, const Picture& p, int y);

}  // namespace boardsim
