// sim_camera.h - the simulated camera library as tests see it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Holds its own reference to the simulated library, loaded by name as the
// program loads it, so the simulator's state survives the program unloading
// the library at a use count of zero. Gives access to the control entry
// point and parses the call log.
class SimCamera {
public:
  // A parsed log line: name, key=value pairs and the result after "->".
  struct Call {
    std::string name;
    std::map<std::string, std::string> args;
    std::string result;
    std::string line;
    int64_t value(const std::string& key) const;
    bool has(const std::string& key) const { return args.count(key) != 0; }
  };

  SimCamera();
  ~SimCamera();

  // Runs control commands; fails the test when one is not understood.
  void control(const std::string& commands);
  // "reset;fast" plus the program side reset (camera state, library use count).
  void reset();

  std::vector<Call> log() const;
  std::vector<Call> calls(const std::string& name) const;
  // SetConfigParam calls as (id, value) pairs, in order.
  std::vector<std::pair<int64_t, int64_t>> writes() const;
  void clearLog();
  bool available() const { return handle_ != nullptr; }

private:
  void* handle_ = nullptr;
  int32_t (*control_)(const char*) = nullptr;
  int32_t (*readLog_)(char*, int32_t) = nullptr;
};

// Starts the program's main window against the simulated library the way the
// program does, with the fake desktop already installed by the caller.
class CTyxVistrelDlg;
CTyxVistrelDlg* startMainWindow(int32_t language = 9);

// An (id, value) pair of a parameter write, for comparisons in tests.
using Write = std::pair<int64_t, int64_t>;
inline Write W(int64_t id, int64_t value) { return {id, value}; }
