// dialog_posix.cpp - runs the "Select a serial device" dialog program and
// reads its answer.
//
// The dialog is a Qt program of its own, so the host never gets a GUI
// toolkit mapped into its process or an application object on one of its
// threads. The program lies beside the library's real file and writes the
// five chosen texts to a pipe; whatever goes wrong on the way, the shown
// defaults apply, as when the dialog is closed at once.

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <string_view>

#include "clsertyx_testing.h"
#include "device_dialog.h"
#include "library_location.h"

extern char** environ;

namespace clser {

namespace {

constexpr const char* kProgramPath = "/clsertyx/clsertyx-select";

std::atomic<bool> noDisplayNoted{false};

std::string& programOverride() {
  static std::string path;
  return path;
}

bool envSet(const char* name) {
  const char* v = getenv(name);
  return v && *v;
}

// Platforms of the dialog's toolkit on which no person can see a window.
bool headlessPlatform() {
  const char* platform = getenv("QT_QPA_PLATFORM");
  if (!platform) return false;
  const std::string_view name = std::string_view(platform).substr(0, std::string_view(platform).find(':'));
  return name == "offscreen" || name == "minimal";
}

bool displayAvailable() { return !headlessPlatform() && (envSet("DISPLAY") || envSet("WAYLAND_DISPLAY")); }

void note(const std::string& why) {
  std::fprintf(stderr,
               "clsertyx: %s; using the shown settings of \"Select a serial device\" "
               "(channel 0, 9600 baud, 8 data bits, 1 stop bit, parity None)\n",
               why.c_str());
}

std::string describeExit(int status) {
  if (WIFSIGNALED(status))
    return "the dialog program was ended by signal " + std::to_string(WTERMSIG(status));
  if (WIFEXITED(status)) return "the dialog program ended with status " + std::to_string(WEXITSTATUS(status));
  return "the dialog program ended abnormally";
}

// Reads at most kMaxDialogAnswer + 1 bytes: one more than any valid answer,
// so that a long answer is recognised without being stored whole.
std::string readAnswer(int fd) {
  std::string answer;
  char chunk[256];
  while (answer.size() <= kMaxDialogAnswer) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    const size_t room = kMaxDialogAnswer + 1 - answer.size();
    answer.append(chunk, std::min(static_cast<size_t>(n), room));
  }
  return answer;
}

}  // namespace

bool dialogSuppressedByEnvironment() {
  const char* v = getenv("CLSERTYX_NO_DIALOG");
  return v && *v && std::string_view(v) != "0";
}

void resetNoDisplayNote() { noDisplayNoted = false; }

DialogSelection askDeviceSettings(const std::string& productName) {
  if (!displayAvailable()) {
    if (!noDisplayNoted.exchange(true)) note("no display to show the dialog");
    return shownDefaults();
  }
  std::string program = programOverride();
  if (program.empty()) {
    const std::string dir = libraryDirectory();
    if (dir.empty()) {
      note("cannot tell where the library lies, so the dialog program cannot be found");
      return shownDefaults();
    }
    program = dir + kProgramPath;
  }

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    note(std::string("cannot make a pipe for the dialog program: ") + strerror(errno));
    return shownDefaults();
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // The host's own files (devices, sockets) stay out of the dialog's process.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
#endif
  // The host may block or ignore signals; the dialog starts with defaults.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::string product = productName;
  char arg0[] = "clsertyx-select";
  char arg1[] = "--product";
  char* argv[] = {arg0, arg1, product.data(), nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, &attr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    note("cannot start the dialog program " + program + ": " + strerror(spawned));
    return shownDefaults();
  }

  const std::string answer = readAnswer(fds[0]);
  // Closing our end first ends a program that keeps writing.
  close(fds[0]);
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  // A host that ignores SIGCHLD has its children reaped for it (ECHILD);
  // the answer alone then decides.
  // A program that wrote more than any answer holds is wrong however it
  // ended (it may have been ended by the closed pipe).
  if (answer.size() > kMaxDialogAnswer) {
    note("the dialog program's answer is too long");
    return shownDefaults();
  }
  const bool exitedWell = waited < 0 ? errno == ECHILD : WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!exitedWell) {
    note(waited < 0 ? std::string("cannot wait for the dialog program: ") + strerror(errno)
                    : describeExit(status));
    return shownDefaults();
  }
  auto selection = decodeDialogAnswer(answer);
  if (!selection) {
    note(answer.empty() ? "the dialog program gave no answer" : "the dialog program's answer is not usable");
    return shownDefaults();
  }
  return *selection;
}

namespace testing {
void setDialogProgram(std::string path) { programOverride() = std::move(path); }
}  // namespace testing

}  // namespace clser
