// camera_session.cpp - opening, identifying, reading and closing the one camera, and its stored settings.
#include "app/camera_session.h"

#include <cstring>

#include "app/camera_library.h"
#include "app/camera_models.h"
#include "app/desktop.h"
#include "app/net_records.h"
#include "app/strings.h"

namespace {

// The fixed ports in the order of the port list.
const char* const kFixedPorts[] = {"COM1",      "COM2",      "COM3",      "COM4", "CamLink1", "CamLink2", "USB/232-1",
                                   "USB/232-2", "USB/232-3", "USB/232-4", "USB1", "USB2",     "USB3",     "USB4"};

// Every opening, one row each. Only what differs is written here; the
// order of the reads is readOpened's.
constexpr OpenWay kWays[] = {
    // The start-up scan probes COM1-COM4 itself; its waits go with the
    // progress window that tells the user about them.
    {OpenedBy::Startup},
    {OpenedBy::Reopen, /*waitAfterCloseMs=*/500, /*waitAroundNetworkPickMs=*/1000},
    {OpenedBy::PortChange},
    // A network camera answers reads only a second after it was opened; the
    // failure is told after the reads, with the code the open left.
    {OpenedBy::Network, 0, 0, /*waitAfterOpenMs=*/1000, /*readsAddress=*/true, /*reportsAfterReading=*/true},
    {OpenedBy::Command},
};

}  // namespace

const char* SessionResult::stepName(SessionStep step) {
  switch (step) {
    case SessionStep::None: return "none";
    case SessionStep::Open: return "open";
    case SessionStep::OpenText: return "open-text";
    case SessionStep::Read: return "read";
    case SessionStep::Memorize: return "memorize";
    case SessionStep::Recall: return "recall";
    case SessionStep::Defaults: return "defaults";
    case SessionStep::SaveFile: return "save";
    case SessionStep::LoadFile: return "load";
    case SessionStep::SetAddress: return "set-ip";
  }
  return "?";
}

CameraSession& CameraSession::instance() {
  // Never destroyed: windows and programs connect to it until the very end.
  static CameraSession* session = new CameraSession;
  return *session;
}

void CameraSession::notifySettingsChanged() {
  if (holds_ > 0) {
    held_ = true;
    return;
  }
  emit settingsChanged();
}

CameraSession::Hold::Hold() { ++cameraSession().holds_; }

CameraSession::Hold::~Hold() {
  CameraSession& session = cameraSession();
  if (--session.holds_ > 0 || !session.held_) return;
  session.held_ = false;
  emit session.settingsChanged();
}

QStringList CameraSession::knownPorts() {
  QStringList ports;
  for (const char* port : kFixedPorts) ports << QString::fromUtf8(port);
  for (int n = 0; n < netrecords::kMaxRecords; ++n) ports << netrecords::portName(n);
  return ports;
}

bool CameraSession::isNetworkPort(const QString& port) { return port.startsWith("NetPort"); }

int32_t CameraSession::requestedTypeFor(const QString& port) { return isNetworkPort(port) ? -1 : -2; }

OpenWay CameraSession::wayOf(OpenedBy by) {
  for (const OpenWay& way : kWays)
    if (way.by == by) return way;
  return OpenWay{by};
}

std::string CameraSession::openText(const std::string& port, const std::string& settings) {
  std::string text = settings.empty() ? port : port + "," + settings;
  if (text.size() > static_cast<size_t>(kMaxOpenText)) return {};
  return text;
}

SessionResult CameraSession::open(const QString& port, Report report, OpenedBy by, const QString& settings) {
  CameraState& s = cameraState();
  s.setPortName(port);
  close();
  if (const int ms = wayOf(by).waitAfterCloseMs; ms > 0) Desktop::get().sleepMs(ms);
  return openChosen(port, by, settings, report);
}

SessionResult CameraSession::openChosen(const QString& port, OpenedBy by, const QString& settings,
                                        Report report) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  Desktop& desktop = Desktop::get();
  const OpenWay way = wayOf(by);
  SessionResult result;
  const std::string text = openText(port.toStdString(), settings.toStdString());
  requestedType_ = requestedTypeFor(port);
  if (text.empty()) {
    // Cannot happen with the program's ports and the options dialog's
    // limit; refused rather than cut, so a camera is never opened with
    // settings other than those chosen.
    s.handle = nullptr;
    result.failed = SessionStep::OpenText;
    if (report == Report::Shown)
      desktop.message(s.messageParent, s.text("The open string is too long.", "打开字符串过长。"), "Vistrel");
  } else {
    s.handle = lib.openCamera(&requestedType_, text.c_str());
    if (s.handle == nullptr) {
      result.failed = SessionStep::Open;
      result.errorCode = lib.getLastError();
    }
  }
  s.linkFlag = s.handle != nullptr ? 1 : 0;
  auto tell = [&] {
    if (report == Report::Shown && result.failed == SessionStep::Open)
      desktop.message(s.messageParent, strings::cameraErrorMessage(result.errorCode, s.chinese()), "Vistrel");
  };
  if (!way.reportsAfterReading) tell();
  if (way.waitAfterOpenMs > 0) desktop.sleepMs(way.waitAfterOpenMs);
  openedAddress_.clear();
  if (way.readsAddress) openedAddress_ = networkAddress();
  if (by == OpenedBy::Command) {
    const SessionResult read = readCommand(report);
    if (result.ok()) result = read;
  } else {
    identifyAndRead(by);
  }
  if (way.reportsAfterReading) tell();
  notifySettingsChanged();
  return result;
}

bool CameraSession::probe(const QString& port) {
  CameraState& s = cameraState();
  const QByteArray text = port.toUtf8();
  requestedType_ = requestedTypeFor(port);
  s.handle = CameraLibrary::instance().openCamera(&requestedType_, text.constData());
  return s.handle != nullptr;
}

void CameraSession::identifyAndRead(OpenedBy by) {
  if (by == OpenedBy::Command) {
    readCommand(Report::Shown);
    return;
  }
  readOpened(by);
}

// The four openings read the same things in the order each has always used,
// and the library's log shows that order:
//   - start-up: type code, model, version, tags; then the records, the
//     line-scan block chosen by the type the opening reported; only a failed
//     line-scan read is reported (line geometry is copied by the caller);
//   - Reopen: type code, model, version, tags; then the records chosen by the
//     type code, with line geometry; both kinds of failed read are reported;
//   - port change: tags first; then the records chosen by the type the
//     opening reported, with line geometry (only a failed line-scan read is
//     reported); type code, model and version last;
//   - network open: CameraParams first, unchecked; then type code, model,
//     version, tags and line geometry.
// Every one of them reads the second block when tag 34 is 1: a camera
// opened later than start-up would otherwise keep the block of the camera
// before it, show those values and write them back with Default Param. A
// failed read of it is reported where the opening reports a failed read of
// CameraParams (Reopen) and passes silently where that one does. The
// waits around an opening (500 and 1000 ms for Reopen, 1000 ms after a
// network open) belong to the callers and stay there.
void CameraSession::readOpened(OpenedBy by) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const int32_t requestedType = requestedType_;
  auto identify = [&](bool withTags) {
    const char* model = nullptr;
    s.typeCode = lib.getTypeCode(s.handle, &model);
    s.modelText = model != nullptr ? QString::fromUtf8(model) : QString("ERR ID");
    s.versionCode = lib.getVerCode(s.handle, 0);
    if (withTags) s.readFunctionTags();
  };
  auto readLinear = [&] {
    if (s.readLinearParams() == 0) s.showCameraError();
  };
  switch (by) {
    case OpenedBy::Startup:
      identify(true);
      if (types::isLineScan(requestedType)) {
        readLinear();
      } else {
        s.readCameraParams();
        s.readExtendedParams();
      }
      break;
    case OpenedBy::Reopen:
      identify(true);
      if (types::isLineScan(s.typeCode)) {
        readLinear();
      } else {
        const int32_t result = s.readCameraParams();
        s.copyLineGeometry();
        if (result == 0) s.showCameraError();
      }
      if (!s.readExtendedParams()) s.showCameraError();
      break;
    case OpenedBy::PortChange:
      s.readFunctionTags();
      if (types::isLineScan(requestedType)) {
        readLinear();
      } else {
        s.readCameraParams();
        s.copyLineGeometry();
      }
      s.readExtendedParams();
      identify(false);
      break;
    case OpenedBy::Network:
      s.readCameraParams();
      identify(true);
      s.readExtendedParams();
      s.copyLineGeometry();
      break;
    case OpenedBy::Command:
      // The session reads for the command line itself (CameraSession::readCommand),
      // because there a failed read must come back as a result, not a message.
      break;
  }
}

// A command-line opening reads like Reopen (identity, tags, the records the
// type code calls for, the second block, line geometry) but leaves a port
// without a camera alone instead of asking it, and tells the caller which
// read failed.
SessionResult CameraSession::readCommand(Report report) {
  CameraState& s = cameraState();
  SessionResult result;
  if (s.handle == nullptr) {
    s.typeCode = s.versionCode = 0;
    s.unusedTag = s.riseDelayTag = s.fallDelayTag = s.protectTimeTag = 0;
    s.videoPageTag = s.brightnessRowTag = s.whiteBalanceTag = s.extendedBlockTag = 0;
    s.modelText.clear();
    return result;
  }
  CameraLibrary& lib = CameraLibrary::instance();
  const char* model = nullptr;
  s.typeCode = lib.getTypeCode(s.handle, &model);
  s.modelText = model != nullptr ? QString::fromUtf8(model) : QString("ERR ID");
  s.versionCode = lib.getVerCode(s.handle, 0);
  s.readFunctionTags();
  bool ok = s.fullRead() != 0;
  if (!types::isLineScan(s.typeCode)) s.copyLineGeometry();
  ok = s.readExtendedParams() && ok;
  if (!ok) {
    result.failed = SessionStep::Read;
    if (report == Report::Shown)
      result.errorCode = s.showCameraError();
    else
      result.errorCode = lib.getLastError();
  }
  return result;
}

void CameraSession::close() { cameraState().closeCamera(); }

bool CameraSession::isOpen() const { return cameraState().handle != nullptr; }

CameraIdentity CameraSession::identity() const {
  const CameraState& s = cameraState();
  return {s.port(),           s.typeCode,         s.modelText,          s.versionCode,
          s.linkFlag != 0,    s.riseDelayTag,     s.fallDelayTag,       s.protectTimeTag,
          s.videoPageTag,     s.brightnessRowTag, s.whiteBalanceTag,    s.extendedBlockTag};
}

int32_t CameraSession::driverVersion() { return CameraLibrary::instance().getDriverVer(nullptr, 0); }

int32_t CameraSession::reportFailure() {
  const int32_t code = cameraState().showCameraError();
  forgetCamera();
  return code;
}

void CameraSession::forgetCamera() {
  CameraState& s = cameraState();
  s.linkFlag = 0;
  s.typeCode = 0;
}

namespace {

// A stored-settings operation runs under the wait cursor; afterwards the
// windows are told, whether it worked or not (a failure leaves no camera).
template <class Body>
SessionResult storedSettingsOperation(Body body) {
  SessionResult result;
  {
    WaitCursor wait;
    result = body();
  }
  cameraSession().notifySettingsChanged();
  return result;
}

}  // namespace

SessionResult CameraSession::memorize() {
  return storedSettingsOperation([this] {
    // The camera takes a second to settle the values just written before it
    // can store them.
    Desktop::get().sleepMs(1000);
    if (CameraLibrary::instance().memorizeParam(cameraState().handle) != 0) return SessionResult{};
    return SessionResult{SessionStep::Memorize, reportFailure()};
  });
}

SessionResult CameraSession::recall() {
  return storedSettingsOperation([this] {
    CameraState& s = cameraState();
    SessionResult result;
    if (CameraLibrary::instance().recallParam(s.handle) == 0)
      result.failed = SessionStep::Recall;
    else if (s.fullRead() == 0)
      result.failed = SessionStep::Read;
    if (!result.ok()) result.errorCode = reportFailure();
    return result;
  });
}

SessionResult CameraSession::restoreDefaults() {
  return storedSettingsOperation([this] {
    CameraState& s = cameraState();
    CameraLibrary& lib = CameraLibrary::instance();
    SessionResult result;
    // Each refused step is told on its own, and the next step is still
    // tried: a camera that refuses one block may take the others.
    auto failed = [&](SessionStep step) {
      const int32_t code = reportFailure();
      if (result.ok()) result = {step, code};
    };
    if (lib.functionTag(s.handle, tyxid::kTagLineScanDefaults) != 0) {
      if (lib.setConfigParam(s.handle, tyxid::kLinearBlockWrite, reinterpret_cast<intptr_t>(&s.linear), 2) != 1)
        failed(SessionStep::Defaults);
      if (lib.getConfigParam(s.handle, tyxid::kLinearBlockRead, &s.linear, 0) != 1) failed(SessionStep::Read);
    } else {
      const int32_t type = s.typeCode;
      if (lib.setConfigParam(s.handle, tyxid::kCameraBlockWrite, reinterpret_cast<intptr_t>(&s.params), 2) != 1)
        failed(SessionStep::Defaults);
      if (type != model::kMelko && type != model::kTarvo && s.extendedBlockTag == 1) {
        if (lib.setConfigParam(s.handle, tyxid::kExtendedBlockWrite, reinterpret_cast<intptr_t>(&s.ext), 2) != 1)
          failed(SessionStep::Defaults);
      }
      lib.getConfigParam(s.handle, tyxid::kCameraBlockRead, &s.params, 0);
    }
    s.defaultsRestored = 1;
    return result;
  });
}

SessionResult CameraSession::saveFile(const QString& path) {
  CameraState& s = cameraState();
  const QByteArray utf8 = path.toUtf8();
  if (CameraLibrary::instance().saveConfigFile(s.handle, utf8.constData()) != 0) return {};
  return {SessionStep::SaveFile, s.showCameraError()};
}

SessionResult CameraSession::loadFile(const QString& path) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  Desktop& desktop = Desktop::get();
  const QByteArray utf8 = path.toUtf8();
  desktop.setWaitCursor(true);
  if (lib.loadConfigFile(s.handle, utf8.constData()) != 0) {
    SessionResult result;
    if (s.readCameraParams() == 0) result = {SessionStep::Read, s.showCameraError()};
    desktop.setWaitCursor(false);
    notifySettingsChanged();
    return result;
  }
  const SessionResult result{SessionStep::LoadFile, lib.getLastError()};
  s.showCameraError();
  desktop.setWaitCursor(false);
  // 103: the library has lost the camera, so later decisions treat it as
  // absent. Other refusals (a file of another type, say) leave it usable.
  if (result.errorCode == 103) forgetCamera();
  notifySettingsChanged();
  return result;
}

int32_t CameraSession::scanNetwork(void** list) {
  void* unused = nullptr;
  return CameraLibrary::instance().scanDevice(cameraState().netArea, list != nullptr ? list : &unused);
}

std::vector<NetDeviceRecord> CameraSession::networkRecords(int32_t count) const {
  return netrecords::readRecords(cameraState().netArea, netrecords::kAreaBytes, count);
}

QString CameraSession::networkAddress() {
  char address[20] = {};
  if (CameraLibrary::instance().getNetCameraIP(cameraState().handle, address, 0) == 0) return {};
  return netrecords::bufferText(address, sizeof address);
}

SessionResult CameraSession::setNetworkAddress(const QString& address) {
  WaitCursor wait;
  const QByteArray ip = address.toUtf8();
  // The library keeps no error for a refused address; the caller words it.
  if (CameraLibrary::instance().setCameraIP(cameraState().handle, ip.constData(), 1) != 0) return {};
  return {SessionStep::SetAddress, 0};
}
