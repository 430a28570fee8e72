// config_file.h - the simulated library's configuration file format (*.cam).
//
// A small text file, so that a user can read what a camera stored:
//
//   TYXCAM-CONFIG 1
//   product 219290
//   version 1
//   camera 42 <42 signed decimal numbers>
//   extended 32 <32 numbers>
//   linear 64 <64 numbers>
//   checksum <FNV-1a 32-bit of every byte before this line, 8 hex digits>
//
// Lines end with "\n" ("\r\n" is accepted). The parser takes any bytes and
// never reads past them: it is driven by a fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "abi/tyxcamera_types.h"

namespace tyxsim {

struct ParsedConfig {
  int32_t product = 0;
  int32_t version = 0;
  TyxCameraParams cam{};
  TyxExtendedParams ext{};
  TyxLinearParams lin{};
};

// Files larger than this are not configuration files.
constexpr size_t kMaxConfigFileSize = size_t{64} * 1024;

// Parses a whole file. On failure returns false and sets *error to 114 (not a
// configuration file of this library, or a damaged one). The product id is
// returned, not checked: comparing it with the camera is the caller's job.
bool parseConfigFile(const uint8_t* data, size_t size, ParsedConfig* out, int* error);

// The file content for a camera's present settings.
std::string formatConfigFile(const ParsedConfig& config);

uint32_t fnv1a(const uint8_t* data, size_t size);

// Writes the whole content beside the file and renames it over, so that a
// write stopped half-way never leaves half a file. False when it failed
// (nothing is left behind then).
bool writeFileAtomically(const std::string& path, const std::string& content);
// Reads at most limit + 1 bytes so an oversized file is recognised without
// reading all of it. Returns false when the file cannot be read at all.
bool readFileLimited(const std::string& path, size_t limit, std::vector<uint8_t>* out);

}  // namespace tyxsim
