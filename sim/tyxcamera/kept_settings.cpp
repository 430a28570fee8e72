// kept_settings.cpp - a simulated camera keeps its settings and memory between runs ("keep DIR").
//
// A real camera holds what it was given after the program that gave it has
// ended; the simulator, loaded afresh by every run of vistrel or tyxctl,
// would start from the factory settings each time. With a folder to keep
// them in, each camera's present settings and memory are written there when
// its handle is closed (and when the library is unloaded with a handle still
// open) and read back when the camera is placed on its port again.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "config_file.h"
#include "sim_internal.h"

namespace tyxsim {
namespace {

// "USB/232-1" is not a file name: everything but letters, digits and '-'
// becomes '-'. The default ports stay apart after it.
std::string fileStem(const std::string& port) {
  std::string out;
  for (char c : port) out += std::isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : '-';
  return out;
}

std::filesystem::path keptFile(const std::string& dir, const SimCamera& c, bool memory) {
  return std::filesystem::path(dir) / (fileStem(c.port) + (memory ? ".memory.cam" : ".cam"));
}

// The record kept in a file, or false when there is none of this camera:
// no file, a damaged one, or one of another type or version (a different
// camera has been plugged in since).
bool readKept(const std::filesystem::path& file, const SimCamera& c, ParamSet* out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.size() > kMaxConfigFileSize) return false;
  ParsedConfig config;
  int error = 0;
  if (!parseConfigFile(reinterpret_cast<const uint8_t*>(data.data()), data.size(), &config, &error)) return false;
  if (config.product != c.type || config.version != c.version) return false;
  out->cam = config.cam;
  out->ext = config.ext;
  out->lin = config.lin;
  return true;
}

// Written beside and renamed over the old file, so that a run stopped in
// the middle never leaves half a file that would lose the settings.
void writeKept(const std::filesystem::path& file, const SimCamera& c, const ParamSet& set) {
  const ParsedConfig config{c.type, c.version, set.cam, set.ext, set.lin};
  const std::string text = formatConfigFile(config);
  std::filesystem::path partial = file;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out << text;
    if (!out.flush()) return;
  }
  std::error_code ignored;
  std::filesystem::rename(partial, file, ignored);
}

}  // namespace

bool setKeepFolder(SimState& s, const std::string& dir) {
  if (dir == "-") {
    s.keepDir.clear();
    return true;
  }
  if (dir.empty() || dir.size() > 4096) return false;
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error || !std::filesystem::is_directory(dir, error)) return false;
  s.keepDir = dir;
  for (auto& [port, camera] : s.cameras) loadKept(s, *camera);
  return true;
}

void loadKept(const SimState& s, SimCamera& c) {
  if (s.keepDir.empty()) return;
  ParamSet current, memory;
  if (readKept(keptFile(s.keepDir, c, false), c, &current)) c.current = current;
  if (readKept(keptFile(s.keepDir, c, true), c, &memory)) c.memory = memory;
}

void saveKept(const SimState& s, const SimCamera& c) {
  if (s.keepDir.empty()) return;
  writeKept(keptFile(s.keepDir, c, false), c, c.current);
  writeKept(keptFile(s.keepDir, c, true), c, c.memory);
}

}  // namespace tyxsim
