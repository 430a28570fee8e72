// sim_camera.cpp - loading the simulator and reading its log.
#include "common/sim_camera.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>

#include "app/camera_library.h"
#include "app/library_loader.h"
#include "app/camera_state.h"
#include "app/tyx_vistrel_dlg.h"

SimCamera::SimCamera() {
  handle_ = loadSharedLibrary("libtyxcamera.so");
  if (handle_ == nullptr) {
    ADD_FAILURE() << "cannot load the simulated camera library: " << dlerror();
    return;
  }
  control_ = reinterpret_cast<int32_t (*)(const char*)>(dlsym(handle_, "tyxSimControl"));
  readLog_ = reinterpret_cast<int32_t (*)(char*, int32_t)>(dlsym(handle_, "tyxSimReadLog"));
  if (control_ == nullptr || readLog_ == nullptr) ADD_FAILURE() << "simulator control entry points missing";
}

SimCamera::~SimCamera() {
  unloadSharedLibrary(handle_);
}

void SimCamera::control(const std::string& commands) {
  ASSERT_NE(control_, nullptr);
  ASSERT_EQ(control_(commands.c_str()), 1) << "simulator refused: " << commands;
}

void SimCamera::reset() {
  CameraLibrary::instance().resetForTests();
  cameraState().reset();
  control("reset;fast");
  clearLog();
}

int64_t SimCamera::Call::value(const std::string& key) const {
  auto it = args.find(key);
  if (it == args.end()) return INT64_MIN;
  return std::strtoll(it->second.c_str(), nullptr, 10);
}

std::vector<SimCamera::Call> SimCamera::log() const {
  std::vector<Call> out;
  if (readLog_ == nullptr) return out;
  const int32_t size = readLog_(nullptr, 0);
  std::string text(static_cast<size_t>(size) + 1, '\0');
  readLog_(text.data(), size + 1);
  text.resize(static_cast<size_t>(size));
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    Call call;
    call.line = line;
    const size_t arrow = line.rfind(" -> ");
    std::string head = arrow == std::string::npos ? line : line.substr(0, arrow);
    if (arrow != std::string::npos) call.result = line.substr(arrow + 4);
    std::istringstream words(head);
    words >> call.name;
    std::string word;
    while (words >> word) {
      const size_t eq = word.find('=');
      if (eq != std::string::npos) call.args[word.substr(0, eq)] = word.substr(eq + 1);
    }
    out.push_back(call);
  }
  return out;
}

std::vector<SimCamera::Call> SimCamera::calls(const std::string& name) const {
  std::vector<Call> out;
  for (const Call& c : log())
    if (c.name == name) out.push_back(c);
  return out;
}

std::vector<std::pair<int64_t, int64_t>> SimCamera::writes() const {
  std::vector<std::pair<int64_t, int64_t>> out;
  for (const Call& c : calls("SetConfigParam")) out.emplace_back(c.value("id"), c.value("value"));
  return out;
}

void SimCamera::clearLog() {
  if (control_ != nullptr) control_("log-clear");
}

CTyxVistrelDlg* startMainWindow(int32_t language) {
  // The language comes from the locale; tests choose it through LANG.
  qputenv("LC_ALL", language == 2 ? "zh_CN.UTF-8" : language == 9 ? "en_US.UTF-8" : "de_DE.UTF-8");
  auto* dialog = new CTyxVistrelDlg;
  dialog->initialise();
  return dialog;
}
