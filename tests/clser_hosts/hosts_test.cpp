// hosts_test.cpp - the shipped serial library in the folders and
// environments real Camera Link hosts give it, driven through
// dispatch_client (a process of its own per case, as a host would be).

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kBin = CLSER_BIN_DIR;  // the build's libclsertyx.so.1 and libtyxapi64.so
const fs::path kClient = DISPATCH_CLIENT;

struct HostRun {
  int status = -1;
  std::string out, err;
  bool has(const std::string& line) const {
    return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
  }
};

class Hosts : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/clser-hosts-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    root_ = dir;
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path folder(const std::string& name) {
    fs::create_directories(root_ / name);
    return root_ / name;
  }
  // A copy of the library's real file, with no dialog program beside it.
  fs::path copyOfLibrary(const std::string& name) {
    const fs::path dir = folder(name);
    fs::copy_file(fs::canonical(kBin / "libclsertyx.so.1"), dir / "libclsertyx.so.1");
    return dir;
  }

  // Runs the client on FOLDER with a clean environment plus ENV ("NAME=value"
  // words); WRAP goes in front of the command (xvfb-run).
  HostRun run(const fs::path& dir, const std::string& env, const std::string& args = "",
              const std::string& wrap = "") {
    const fs::path out = root_ / "out", err = root_ / "err";
    // A sanitizer build's settings (leak suppressions) reach the client and
    // the dialog program it starts.
    std::string keep;
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
      if (const char* v = getenv(name)) keep += std::string(name) + "='" + v + "' ";
    const std::string command = "env -i PATH=/usr/bin:/bin TYXAPI64_SIM_IMMEDIATE=1 " + keep + env + " " +
                                wrap + " '" + kClient.string() + "' '" + dir.string() + "' " + args + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    HostRun r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ostringstream o, e;
    o << std::ifstream(out).rdbuf();
    e << std::ifstream(err).rdbuf();
    r.out = o.str();
    r.err = e.str();
    return r;
  }

  // What every host sees of the default simulated boards.
  static void expectTwoPortsOneRefused(const HostRun& r) {
    EXPECT_TRUE(r.has("library=clsertyx.so")) << r.out;
    EXPECT_TRUE(r.has("ports=2")) << r.out;
    EXPECT_TRUE(r.has("port 0 (TYX-CL6301 Camera Link): opened")) << r.out;
    EXPECT_TRUE(r.has("port 1 (TYX-6250 Analog): refused -10005")) << r.out;
    EXPECT_TRUE(r.has("qt-mapped-after-load=no")) << r.out;
    EXPECT_TRUE(r.has("qt-mapped-at-end=no")) << r.out;
  }

  fs::path root_;
};

TEST_F(Hosts, SoftLinkInAFolderOfItsOwnWithoutADisplay) {
  const fs::path dir = folder("dispatcher");
  fs::create_symlink(kBin / "libclsertyx.so.1", dir / "clsertyx.so");
  const HostRun r = run(dir, "");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  expectTwoPortsOneRefused(r);
  // Found beside the library's real file, not in the link's folder.
  EXPECT_TRUE(r.has("board-library=" + fs::canonical(kBin / "libtyxapi64.so").string())) << r.out;
  EXPECT_TRUE(r.has("ID?=TYXSIM TYX-CL6301 Camera Link CH0")) << r.out;
  EXPECT_TRUE(r.has("SER?=9600,8,1,0")) << r.out;  // the dialog's shown settings
  EXPECT_NE(r.err.find("no display"), std::string::npos) << r.err;
}

TEST_F(Hosts, SoftLinkUnderADisplayShowsTheDialogInItsOwnProcess) {
  if (std::system("command -v xvfb-run >/dev/null && command -v xdotool >/dev/null") != 0)
    GTEST_SKIP() << "xvfb-run and xdotool are needed (scripts/setup.sh installs them)";
  const fs::path dir = folder("dispatcher");
  fs::create_symlink(kBin / "libclsertyx.so.1", dir / "clsertyx.so");
  const HostRun r = run(dir, "", "--answer-dialog", "xvfb-run -a -s '-screen 0 1024x768x24'");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  expectTwoPortsOneRefused(r);
  EXPECT_TRUE(r.has("dialog-window=found")) << r.out;
  EXPECT_TRUE(r.has("dialog-in-own-process=yes")) << r.out;
  EXPECT_TRUE(r.has("qt-mapped-while-dialog-open=no")) << r.out;
  EXPECT_TRUE(r.has("dialog-answered=yes")) << r.out;
  // The texts typed into the dialog reached the board: channel 1, 19200 baud.
  EXPECT_TRUE(r.has("ID?=TYXSIM TYX-CL6301 Camera Link CH1")) << r.out << r.err;
  EXPECT_TRUE(r.has("SER?=19200,8,1,0")) << r.out << r.err;
}

TEST_F(Hosts, WithoutTheBoardLibraryTheLibraryLoadsAndListsNoPorts) {
  const fs::path dir = copyOfLibrary("alone");
  fs::create_symlink("libclsertyx.so.1", dir / "clsertyx.so");
  const HostRun r = run(dir, "");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(r.has("library=clsertyx.so")) << r.out;
  EXPECT_TRUE(r.has("ports-status=0")) << r.out;
  EXPECT_TRUE(r.has("ports=0")) << r.out;
  EXPECT_NE(r.err.find("board library not found"), std::string::npos) << r.err;
}

TEST_F(Hosts, TheBoardLibraryOnTheSearchPathIsFoundToo) {
  const fs::path dir = copyOfLibrary("alone");
  fs::create_symlink("libclsertyx.so.1", dir / "clsertyx.so");
  const HostRun r = run(dir, "LD_LIBRARY_PATH='" + kBin.string() + "'");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  expectTwoPortsOneRefused(r);
  EXPECT_TRUE(r.has("board-library=" + fs::canonical(kBin / "libtyxapi64.so").string())) << r.out;
  EXPECT_EQ(r.err.find("board library"), std::string::npos) << r.err;  // nothing to say on success
}

TEST_F(Hosts, TheBoardLibraryBesideTheRealFileComesBeforeTheSearchPath) {
  const fs::path real = copyOfLibrary("real");
  fs::copy_file(kBin / "libtyxapi64.so", real / "libtyxapi64.so");
  const fs::path links = folder("links");
  fs::create_symlink(real / "libclsertyx.so.1", links / "clsertyx.so");
  const HostRun r = run(links, "LD_LIBRARY_PATH='" + kBin.string() + "'");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  expectTwoPortsOneRefused(r);
  EXPECT_TRUE(r.has("board-library=" + fs::canonical(real / "libtyxapi64.so").string())) << r.out;
}

TEST_F(Hosts, AMissingDialogProgramAppliesTheShownSettings) {
  const fs::path real = copyOfLibrary("real");  // no clsertyx/clsertyx-select beside it
  fs::copy_file(kBin / "libtyxapi64.so", real / "libtyxapi64.so");
  fs::create_symlink("libclsertyx.so.1", real / "clsertyx.so");
  const HostRun r = run(real, "DISPLAY=:97");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  expectTwoPortsOneRefused(r);
  EXPECT_TRUE(r.has("SER?=9600,8,1,0")) << r.out;
  EXPECT_NE(r.err.find("cannot start the dialog program " + fs::canonical(real).string() +
                       "/clsertyx/clsertyx-select"),
            std::string::npos)
      << r.err;
}

TEST_F(Hosts, ADialogProgramThatCannotReachItsDisplayAppliesTheShownSettings) {
  const fs::path dir = folder("dispatcher");
  fs::create_symlink(kBin / "libclsertyx.so.1", dir / "clsertyx.so");
  // A display that does not exist: the real dialog program starts and fails.
  const HostRun r = run(dir, "DISPLAY=:97");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  expectTwoPortsOneRefused(r);
  EXPECT_TRUE(r.has("SER?=9600,8,1,0")) << r.out;
  EXPECT_NE(r.err.find("clsertyx: the dialog program "), std::string::npos) << r.err;
}

TEST_F(Hosts, TheEnvironmentVariableSuppressesTheDialogOnADisplay) {
  const fs::path dir = folder("dispatcher");
  fs::create_symlink(kBin / "libclsertyx.so.1", dir / "clsertyx.so");
  const HostRun r = run(dir, "DISPLAY=:97 CLSERTYX_NO_DIALOG=1");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  expectTwoPortsOneRefused(r);
  EXPECT_EQ(r.err.find("clsertyx:"), std::string::npos) << r.err;  // no dialog was tried
}

}  // namespace
