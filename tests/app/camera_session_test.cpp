// camera_session_test.cpp - the camera session without any window: opening, reading, stored settings.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/camera_library.h"
#include "app/camera_session.h"
#include "app/camera_state.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

namespace {

std::vector<std::string> callNames(const SimCamera& sim) {
  std::vector<std::string> names;
  for (const auto& c : sim.log()) names.push_back(c.name);
  return names;
}

std::vector<int> sleepLengths(const FakeDesktop& d) {
  std::vector<int> out;
  for (const auto& s : d.sleeps) out.push_back(s.ms);
  return out;
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { sim.reset(); }
  void TearDown() override {
    session.close();
    CameraLibrary::instance().resetForTests();
  }
  // Opens the port quietly and starts the log and the desktop afresh.
  void opened(const std::string& cameras, const QString& port) {
    sim.control("clear;" + cameras);
    ASSERT_TRUE(session.open(port, CameraSession::Report::Silent).ok());
    sim.clearLog();
    desktop.clear();
  }

  SimCamera sim;
  FakeDesktop desktop;
  CameraSession& session = cameraSession();
};

// What the library hears and what the state holds after a command-line
// opening, for the three kinds of record a camera can have.
struct OpenCase {
  const char* name;
  std::string port;
  std::string camera;
  std::vector<int64_t> blockReads;
  int32_t typeCode;
};

class SessionOpens : public SessionTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(SessionOpens, IdentifiesAndReadsTheRecordsTheTypeCallsFor) {
  const OpenCase& c = GetParam();
  sim.control("clear;camera " + c.port + "=" + c.camera);
  QSignalSpy changed(&session, &CameraSession::settingsChanged);
  const SessionResult result = session.open(QString::fromStdString(c.port));
  EXPECT_TRUE(result.ok()) << SessionResult::stepName(result.failed);
  const auto names = callNames(sim);
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "OpenCamera");
  EXPECT_EQ(names[1], "GetTypeCode");
  EXPECT_EQ(names[2], "GetVerCode");
  std::vector<int64_t> reads;
  for (const auto& call : sim.calls("GetConfigParam")) reads.push_back(call.value("id"));
  EXPECT_EQ(reads, c.blockReads);
  EXPECT_EQ(sim.calls("OpenCamera").at(0).value("type"), -2);
  const CameraIdentity id = session.identity();
  EXPECT_EQ(id.port.toStdString(), c.port);
  EXPECT_EQ(id.typeCode, c.typeCode);
  EXPECT_TRUE(id.linked);
  EXPECT_FALSE(id.model.isEmpty());
  EXPECT_TRUE(session.isOpen());
  EXPECT_EQ(changed.count(), 1);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_TRUE(desktop.sleeps.empty());
}

INSTANTIATE_TEST_SUITE_P(Cameras, SessionOpens,
                         ::testing::Values(OpenCase{"Area", "COM2", "219290;tag COM2:34=0", {-1}, 219290},
                                           OpenCase{"WithSecondBlock", "COM1", "219290", {-1, 34}, 219290},
                                           OpenCase{"LineScan", "CamLink1", "120770", {100}, 120770}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, AnEmptyPortFailsWithoutAskingForMore) {
  for (auto report : {CameraSession::Report::Shown, CameraSession::Report::Silent}) {
    sim.control("clear");
    sim.clearLog();
    desktop.clear();
    QSignalSpy changed(&session, &CameraSession::settingsChanged);
    const SessionResult result = session.open("COM3", report);
    EXPECT_EQ(result.failed, SessionStep::Open);
    EXPECT_NE(result.errorCode, 0);
    EXPECT_EQ(callNames(sim), (std::vector<std::string>{"OpenCamera"}));
    EXPECT_EQ(desktop.messages.size(), report == CameraSession::Report::Shown ? 1u : 0u);
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(cameraState().linkFlag, 0);
    EXPECT_EQ(cameraState().typeCode, 0);
    EXPECT_EQ(cameraState().extendedBlockTag, 0);
    // The settings shown must stop being those of a camera.
    EXPECT_EQ(changed.count(), 1);
  }
}

TEST_F(SessionTest, OpeningAnotherPortClosesTheCameraFirst) {
  opened("camera COM1=219290;camera COM2=120770", "COM1");
  ASSERT_TRUE(session.open("COM2").ok());
  const auto names = callNames(sim);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "CloseCamera");
  EXPECT_EQ(names[1], "OpenCamera");
  EXPECT_EQ(cameraState().typeCode, 120770);
}

TEST_F(SessionTest, ANetworkPortOpensWithTheNetworkTypeArgument) {
  const SessionResult result = session.open("NetPort2");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(sim.calls("OpenCamera").at(0).value("type"), -1);
  EXPECT_EQ(cameraState().typeCode, 321140);
  EXPECT_TRUE(CameraSession::isNetworkPort("NetPort2"));
  EXPECT_FALSE(CameraSession::isNetworkPort("COM1"));
}

TEST_F(SessionTest, AFailedReadIsReturned) {
  sim.control("clear;camera COM1=219290;fail read=104");
  const SessionResult result = session.open("COM1");
  EXPECT_EQ(result.failed, SessionStep::Read);
  EXPECT_EQ(result.errorCode, 104);
  EXPECT_EQ(desktop.texts(), QStringList({"Can not write the serial port."}));
}

TEST_F(SessionTest, AnOpenTextTooLongIsRefusedBeforeTheLibrary) {
  const QString settings(CameraSession::kMaxOpenText, 'x');
  const SessionResult result = session.open("CamLink1", CameraSession::Report::Shown, OpenedBy::Command, settings);
  EXPECT_EQ(result.failed, SessionStep::OpenText);
  EXPECT_TRUE(sim.calls("OpenCamera").empty());
  EXPECT_EQ(desktop.texts(), QStringList({"The open string is too long."}));
  EXPECT_EQ(cameraState().linkFlag, 0);
  EXPECT_EQ(CameraSession::openText("CamLink1", "9600"), "CamLink1,9600");
  EXPECT_EQ(CameraSession::openText("COM1", ""), "COM1");
}

// The waits and the report time of each opening's row, as the user meets
// them: Reopen lets the old camera go for half a second; a network camera
// is asked for its address a second after the open, and a failure is told
// only after the reads.
TEST_F(SessionTest, EachOpeningKeepsItsWaits) {
  session.open("COM1", CameraSession::Report::Shown, OpenedBy::Reopen);
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{500}));
  session.close();
  desktop.clear();
  sim.clearLog();
  ASSERT_TRUE(session.openChosen("NetPort3", OpenedBy::Network).ok());
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{1000}));
  const auto names = callNames(sim);
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[1], "GetNetCameraIP");
  EXPECT_EQ(names[2], "GetConfigParam");
  EXPECT_FALSE(session.openedAddress().isEmpty());

  sim.control("clear");
  desktop.clear();
  session.close();
  desktop.onSleep = [this](int) { EXPECT_TRUE(desktop.messages.empty()) << "told before the wait"; };
  EXPECT_EQ(session.openChosen("NetPort1", OpenedBy::Network).failed, SessionStep::Open);
  EXPECT_EQ(desktop.texts(), QStringList({"can not read camera info, please check it"}));
}

TEST_F(SessionTest, ProbingOpensWithoutReadingOrTelling) {
  sim.control("clear;camera COM4=219290");
  EXPECT_FALSE(session.probe("COM1"));
  EXPECT_TRUE(session.probe("COM4"));
  EXPECT_EQ(callNames(sim), (std::vector<std::string>{"OpenCamera", "OpenCamera"}));
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(session.requestedType(), 219290);
}

TEST_F(SessionTest, MemorizeWaitsASecondFirst) {
  opened("camera COM1=219290", "COM1");
  desktop.onSleep = [this](int) { EXPECT_TRUE(sim.calls("MemorizeParam").empty()); };
  EXPECT_TRUE(session.memorize().ok());
  EXPECT_EQ(sleepLengths(desktop), (std::vector<int>{1000}));
  EXPECT_EQ(sim.calls("MemorizeParam").size(), 1u);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

// Every stored-settings operation that fails leaves "no camera" behind and
// tells the library's message once per refused step.
struct FailCase {
  const char* name;
  SessionResult (*run)(CameraSession&);
  const char* fault;
  SessionStep step;
};

class SessionFailures : public SessionTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(SessionFailures, LeaveLinkFlagAndTypeCodeZero) {
  const FailCase& c = GetParam();
  opened("camera COM1=219290", "COM1");
  sim.control(c.fault);
  QSignalSpy changed(&session, &CameraSession::settingsChanged);
  const SessionResult result = c.run(session);
  EXPECT_EQ(result.failed, c.step);
  EXPECT_NE(result.errorCode, 0);
  EXPECT_FALSE(desktop.messages.empty());
  EXPECT_EQ(cameraState().linkFlag, 0);
  EXPECT_EQ(cameraState().typeCode, 0);
  // The windows must stop showing the camera's settings.
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SessionFailures,
    ::testing::Values(
        FailCase{"Memorize", [](CameraSession& s) { return s.memorize(); }, "fail memorize=104",
                 SessionStep::Memorize},
        FailCase{"Recall", [](CameraSession& s) { return s.recall(); }, "fail recall=104", SessionStep::Recall},
        FailCase{"RecallRead", [](CameraSession& s) { return s.recall(); }, "fail read=104", SessionStep::Read},
        FailCase{"Defaults", [](CameraSession& s) { return s.restoreDefaults(); }, "vanish 120",
                 SessionStep::Defaults},
        FailCase{"LoadVanished", [](CameraSession& s) { return s.loadFile("/nonexistent/x.cam"); }, "vanish 103",
                 SessionStep::LoadFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, RecallAndDefaultsReadTheRecordsBack) {
  opened("camera COM1=219290", "COM1");
  QSignalSpy changed(&session, &CameraSession::settingsChanged);
  EXPECT_TRUE(session.recall().ok());
  EXPECT_EQ(callNames(sim), (std::vector<std::string>{"RecallParam", "GetConfigParam"}));
  sim.clearLog();
  EXPECT_TRUE(session.restoreDefaults().ok());
  std::vector<std::pair<std::string, int64_t>> calls;
  for (const auto& c : sim.log())
    calls.emplace_back(c.name, c.has("id") ? c.value("id") : (c.has("tag") ? c.value("tag") : 0));
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0].first, "FunctionTag");
  EXPECT_EQ(calls[1], std::make_pair(std::string("SetConfigParam"), int64_t{-2}));
  EXPECT_EQ(calls.back(), std::make_pair(std::string("GetConfigParam"), int64_t{-1}));
  EXPECT_EQ(cameraState().defaultsRestored, 1);
  EXPECT_EQ(changed.count(), 2);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SessionTest, SavedFileLoadsBackAndARefusedFileKeepsTheCamera) {
  opened("camera COM1=219290", "COM1");
  QTemporaryDir dir;
  const QString path = dir.filePath("a.cam");
  ASSERT_TRUE(session.saveFile(path).ok());
  QSignalSpy changed(&session, &CameraSession::settingsChanged);
  EXPECT_TRUE(session.loadFile(path).ok());
  EXPECT_EQ(changed.count(), 1);
  const auto reads = sim.calls("GetConfigParam");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].value("id"), -1);

  // A file the library cannot read is refused with its message; the camera
  // is still there.
  const SessionResult missing = session.loadFile(dir.filePath("missing.cam"));
  EXPECT_EQ(missing.failed, SessionStep::LoadFile);
  EXPECT_EQ(missing.errorCode, 118);
  EXPECT_EQ(cameraState().typeCode, 219290);
  EXPECT_EQ(cameraState().linkFlag, 1);
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(session.saveFile(dir.filePath("no/such/dir/b.cam")).failed, SessionStep::SaveFile);
  EXPECT_EQ(cameraState().typeCode, 219290);
}

TEST_F(SessionTest, APageChangeIsASettingsChangeAndAHoldSendsItOnceAtTheEnd) {
  QSignalSpy changed(&session, &CameraSession::settingsChanged);
  cameraState().repaintInfo();
  EXPECT_EQ(changed.count(), 1);
  {
    CameraSession::Hold outer;
    {
      CameraSession::Hold inner;
      cameraState().repaintInfo();
      session.open("COM1", CameraSession::Report::Silent);
    }
    EXPECT_EQ(changed.count(), 1);
  }
  EXPECT_EQ(changed.count(), 2);
  { CameraSession::Hold nothingAsked; }
  EXPECT_EQ(changed.count(), 2);
}

TEST_F(SessionTest, KnownPortsAreThoseOfThePortListAndTheNetwork) {
  const QStringList ports = CameraSession::knownPorts();
  ASSERT_EQ(ports.size(), 18);
  EXPECT_EQ(ports.first(), "COM1");
  EXPECT_EQ(ports[4], "CamLink1");
  EXPECT_EQ(ports[13], "USB4");
  EXPECT_EQ(ports.last(), "NetPort4");
}

}  // namespace
