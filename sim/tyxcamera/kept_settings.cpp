// kept_settings.cpp - a simulated camera keeps its settings and memory between runs ("keep DIR").
//
// A real camera holds what it was given after the program that gave it has
// ended; the simulator, loaded afresh by every run of vistrel or tyxctl,
// would start from the factory settings each time. With a folder to keep
// them in, each camera's present settings and memory are written there when
// its handle is closed (and when the library is unloaded with a handle still
// open) and read back when the camera is placed on its port again, in the
// configuration file format and with its checks.
#include <filesystem>
#include <system_error>
#include <vector>

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
// no file, a damaged one, one of another type or version (a different
// camera has been plugged in since), or values the camera would refuse, as
// a loaded configuration file is checked.
bool readKept(const std::filesystem::path& file, const SimCamera& c, ParamSet* out) {
  std::vector<uint8_t> data;
  if (!readFileLimited(file.string(), kMaxConfigFileSize, &data)) return false;
  ParsedConfig config;
  int error = 0;
  if (!parseConfigFile(data.data(), data.size(), &config, &error)) return false;
  if (config.product != c.type || config.version != c.version || checkConfigBlocks(c, config) != 0) return false;
  out->cam = config.cam;
  out->ext = config.ext;
  out->lin = config.lin;
  return true;
}

void writeKept(const std::filesystem::path& file, const SimCamera& c, const ParamSet& set) {
  const ParsedConfig config{c.type, c.version, set.cam, set.ext, set.lin};
  (void)writeFileAtomically(file.string(), formatConfigFile(config));
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
