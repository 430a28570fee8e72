// camera_session.h - opening, identifying, reading and closing the one camera, and its stored settings.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "app/camera_state.h"

// The step of a session operation that went wrong.
enum class SessionStep {
  None,       // nothing failed
  Open,       // the library gave no handle for the port
  OpenText,   // the port with its settings is too long to hand to the library
  Read,       // a record could not be read
  Memorize,   // the camera did not store its settings in its memory
  Recall,     // the camera did not take back its stored settings
  Defaults,   // the factory settings were refused
  SaveFile,   // the library could not write the *.cam file
  LoadFile,   // the library could not load the *.cam file
  SetAddress  // the network camera refused the new address
};

// What a session operation reports. errorCode is the library's last error
// at the failure (0 when none was asked for).
struct SessionResult {
  SessionStep failed = SessionStep::None;
  int32_t errorCode = 0;

  bool ok() const { return failed == SessionStep::None; }
  explicit operator bool() const { return ok(); }
  // "open", "read", "memorize", ...: a word for messages and scripts.
  static const char* stepName(SessionStep step);
};

// Who the open camera is, as the last opening read it. The function tags
// are those of CameraState (0: the feature is absent).
struct CameraIdentity {
  QString port;
  int32_t typeCode = 0;
  QString model;
  int32_t versionCode = 0;
  bool linked = false;
  int32_t riseDelayTag = 0, fallDelayTag = 0, protectTimeTag = 0;
  int32_t videoPageTag = 0, brightnessRowTag = 0, whiteBalanceTag = 0, extendedBlockTag = 0;
};

// How one way of opening a camera differs from the others. Each opening of
// the program is one row of this table (see CameraSession::wayOf); the
// session carries out the row, so the order of the library calls and the
// waits of every opening are written down once.
struct OpenWay {
  OpenedBy by;
  // Milliseconds waited after the old camera is closed and before anything
  // else: the camera needs the time to let go of the port.
  int waitAfterCloseMs = 0;
  // Reopen of a network port: milliseconds waited before the scan and again
  // between the user's pick and the open call.
  int waitAroundNetworkPickMs = 0;
  // Milliseconds waited between the open call and the first read.
  int waitAfterOpenMs = 0;
  // Asks a network camera for its address right after the wait above.
  bool readsAddress = false;
  // A failed open is reported once the camera's identity and records have
  // been read (true) instead of at once (false).
  bool reportsAfterReading = false;
};

// The one camera session of the program (GUI thread, like CameraState,
// whose fields it fills). It opens a port, identifies the camera (type
// code, model text, version, function tags), reads its records and closes
// it; it runs the camera operations of the main window and the port page
// with the waits the camera needs; and it owns the rule that a failed
// operation leaves "no camera": link flag 0 and type code 0. It needs no
// window: messages and waits go through the Desktop seam, which a
// command-line program implements for a terminal. Whoever shows settings
// follows settingsChanged().
class CameraSession : public QObject {
  Q_OBJECT
 public:
  static CameraSession& instance();

  // Whether a failed open is shown as a message (the windows) or only
  // returned (a scan over ports that expects most of them to be empty).
  enum class Report { Shown, Silent };

  // The port names the program knows: COM1-COM4, the Camera Link, USB-serial
  // and USB ports of the port list, then NetPort1-NetPort4.
  static QStringList knownPorts();
  // A port name beginning with "NetPort" opens a network camera.
  static bool isNetworkPort(const QString& port);
  // The type argument an open of the port starts with: -1 for a network
  // port, -2 otherwise.
  static int32_t requestedTypeFor(const QString& port);
  // The row of an opening (Command: a plain open with no waits, reading in
  // the order of Reopen).
  static OpenWay wayOf(OpenedBy by);

  // Closes the open camera (if any), remembers port as the camera state's
  // port, opens it and reads the camera in the order of `by`; then sets the
  // link flag and emits settingsChanged(). settings, when not empty, is
  // appended to the port as "port,settings" (the Camera Link options).
  SessionResult open(const QString& port, Report report = Report::Shown,
                     OpenedBy by = OpenedBy::Command, const QString& settings = QString());
  // The same for an opening whose caller has already closed the old camera
  // and asked the user meanwhile (the Camera Link options, a network camera
  // picked from a scan): the state's port name stays as it is, nothing is
  // closed, no wait precedes the open.
  SessionResult openChosen(const QString& port, OpenedBy by, const QString& settings = QString(),
                           Report report = Report::Shown);
  // "port,settings", or the port alone for empty settings; empty when it
  // would not fit in the kMaxOpenText bytes the library takes.
  static std::string openText(const std::string& port, const std::string& settings);
  static constexpr int kMaxOpenText = 255;
  // One open call and nothing else: no message, no reading, the link flag
  // untouched. The start-up scan probes ports with it. Returns whether the
  // library gave a handle; the handle is kept in the camera state.
  bool probe(const QString& port);
  // Reads identity and records of the camera just opened (or the failure
  // values of no camera), in the order of `by`, using the type the last open
  // call reported.
  void identifyAndRead(OpenedBy by);
  // Closes the open camera after its captures end. Idempotent.
  void close();
  bool isOpen() const;
  // What the last opening read, without asking the camera again.
  CameraIdentity identity() const;
  // The driver version word (major << 16 | minor), asked of the library.
  int32_t driverVersion();
  // The type the last open call reported through its type argument.
  int32_t requestedType() const { return requestedType_; }
  // The address a network opening read from the camera (empty otherwise).
  const QString& openedAddress() const { return openedAddress_; }

  // The operations below each end with settingsChanged(), except saving a
  // file and setting an address, which change no setting.
  // Stores the camera's settings in its memory; waits a second first, as
  // the camera needs.
  SessionResult memorize();
  // Has the camera take back its stored settings and reads them.
  SessionResult recall();
  // Writes the factory settings and reads them back (the line-scan block for
  // a camera that has line-scan defaults).
  SessionResult restoreDefaults();
  // Saves or loads a *.cam file through the library. A loaded file is read
  // back into CameraParams.
  SessionResult saveFile(const QString& path);
  SessionResult loadFile(const QString& path);

  // Scans for network cameras into the camera state's scan area; returns
  // the number of devices the library reports, and the list handle the
  // library hands out with them (may stay null).
  int32_t scanNetwork(void** list = nullptr);
  // The records of the last scan, at most four.
  std::vector<NetDeviceRecord> networkRecords(int32_t count) const;
  // The network camera's address, empty when the library gives none.
  QString networkAddress();
  // Gives the open network camera a new address.
  SessionResult setNetworkAddress(const QString& address);

  // The failure rule: a camera that failed an operation is treated as
  // absent from then on (link flag 0, type code 0). The library's message
  // is shown first. Returns the library's error code.
  int32_t reportFailure();
  // The same without the message (the caller has shown its own).
  void forgetCamera();

  // Tells whoever shows settings that they may have changed (at once, or
  // when the last Hold ends).
  void notifySettingsChanged();

  // While one lives, settingsChanged() is held back and sent once when the
  // last one ends, if anything asked for it. A window that opens a camera
  // and then rebuilds its pages for it holds the signal over both, so no
  // page of the camera before is repainted with the new camera's settings.
  class Hold {
   public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
  };

 signals:
  // After every opening, memorize, recall, defaults and load (whether it
  // worked or not: a failure leaves no camera), and whenever a page changes
  // a setting (CameraState::repaintInfo()).
  void settingsChanged();

 private:
  CameraSession() = default;
  SessionResult readCommand(Report report);
  // Reads identity and records after an opening from a window, in that
  // opening's own order.
  void readOpened(OpenedBy by);

  int32_t requestedType_ = -2;
  QString openedAddress_;
  int holds_ = 0;
  bool held_ = false;
};

// Shorthand like cameraState().
inline CameraSession& cameraSession() { return CameraSession::instance(); }
