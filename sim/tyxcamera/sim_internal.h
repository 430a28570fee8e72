// sim_internal.h - the simulated camera library's inner model, shared by its sources.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "abi/tyxcamera_types.h"

namespace tyxsim {

// Error codes of the program's string table that the library reports.
enum ErrorCode : int32_t {
  kErrNone = 0,
  kErrOpenPort = 102,
  kErrCameraInfo = 103,
  kErrSerialWrite = 104,
  kErrSerialRead = 105,
  kErrInvalidLink = 106,
  kErrSpecificCamera = 113,
  kErrConfigTag = 114,
  kErrProductId = 116,
  kErrConfigOpen = 118,
  kErrInvalidHandle = 120,
  kErrBadParam = 122,
  kErrTypeCode = 124,
};

enum class Kind { Area, LineScan };

// What the library knows about one camera model. Everything the exposure
// model, the frame generator and the parameter checks need is here, so a
// camera placed on a port by type code alone behaves like its model.
struct TypeInfo {
  int32_t type = 0;
  int32_t defaultVersion = 1;
  Kind kind = Kind::Area;
  bool colour = false;
  bool usbImage = false;    // frames can be captured through the library
  bool hasExtended = false; // an ExtendedParams block (function tag 34)
  double linePeriodUs = 50.0;
  int32_t lineCount = 600;
  int32_t lineStep = 12;
  int32_t blankLines = 25;   // lines of a frame beyond the picture
  int32_t minExposeLines = 1;
  int32_t minTriggerLines = 4; // trigger modes need a few lines to arm
  double videoRate = 0.0;    // frame rate in PAL/NTSC mode, 0 without one
  // Frame-rate list of the rate choice (id 14): each entry divides the
  // frame rate; a negative entry is a placeholder the list reports as -2.
  std::vector<double> rateDivisors{1.0, 2.0, 4.0};
  int32_t usbMaxWidth = 0, usbMaxHeight = 0;
  int32_t sensorPixels = 0;  // line-scan sensor length
  std::map<int32_t, int32_t> tags;
};

// Returns the model of a type code, or null for a type the library does not know.
const TypeInfo* findType(int32_t type);
// Every known type code, in ascending order.
std::vector<int32_t> knownTypes();

// Factory settings of a model.
TyxCameraParams factoryCameraParams(const TypeInfo& t);
TyxExtendedParams factoryExtendedParams(const TypeInfo& t);
TyxLinearParams factoryLinearParams(const TypeInfo& t);

// The three parameter blocks of a camera.
struct ParamSet {
  TyxCameraParams cam{};
  TyxExtendedParams ext{};
  TyxLinearParams lin{};
};

// One camera plugged into a port. It keeps its settings and its memory
// while handles come and go, as a powered camera does.
struct SimCamera {
  const TypeInfo* info = nullptr;
  int32_t type = 0;
  int32_t version = 1;
  std::string port;
  ParamSet current;
  ParamSet memory;
  std::map<int32_t, int32_t> tagOverrides;
  std::map<int32_t, int32_t> misc;  // written values that no block mirrors (15, 61, 65, ...)
  const char* modelText = nullptr;  // interned, stable for the library's lifetime
  bool secondPass = false;
  int32_t openAttempts = 0;
  std::string ip;                   // network cameras only
  int32_t netIndex = -1;            // 0..3 for NetPort1..4

  int32_t tag(int32_t n) const;
};

struct FrameBlock;

// What one handle refers to. Handles are never freed while the library is
// loaded (they are retired instead), so a stale handle can be recognised
// without touching freed memory.
struct Session {
  std::string port;
  std::shared_ptr<SimCamera> camera;
  bool open = true;
  int32_t vanishCode = 0;  // non-zero: the camera disappeared
  // USB capture.
  int32_t targetWidth = 0, targetHeight = 0;
  int64_t framesCaptured = -1;  // -1 until the first frame
  FrameBlock* captureBlock = nullptr;
  std::thread captureThread;
  bool captureStop = false;           // guarded by captureMutex
  std::atomic<bool> captureStopping{false};  // lets a thread waiting for the frame lock give up
  std::mutex captureMutex;            // guards captureStop and the rate samples
  std::condition_variable captureCv;  // wakes the capture thread early on stop
  std::vector<double> frameTimes;     // seconds, last second of frames
};

// The library's shared state. `mutex` guards everything in it: the camera
// set, the sessions, the faults and the settings. The GUI thread holds it
// during each call; the capture thread holds it only to copy the settings
// it draws with, and never while it holds a frame lock.
struct SimState {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<SimCamera>> cameras;
  std::vector<std::unique_ptr<Session>> sessions;  // open and retired
  std::map<int32_t, int32_t> paramFaults;
  int32_t allParamFault = 0;
  int32_t readFault = 0;
  std::map<std::string, int32_t> opFaults;  // memorize, recall, save, load, open
  int32_t driverVersion = 0x0002000A;
  int32_t delayMs = 0;
  bool fast = false;
  int32_t gammaMode = 2;
  int32_t gammaValue = 45;
  // Where the cameras keep their settings between runs ("keep DIR"); empty:
  // every run starts from the factory settings.
  std::string keepDir;
};

SimState& state();

// Last error, as tyxCamGetLastError returns it.
void setError(int32_t code);
int32_t lastError();

// Interns a text so that the pointer handed out stays valid.
const char* intern(const std::string& text);

// Default port set and control commands.
void resetState(SimState& s);
bool runCommands(const std::string& commands);
void closeSessionLocked(Session* s, std::unique_lock<std::mutex>& lock);

// Settings kept between runs (kept_settings.cpp). setKeepFolder creates the
// folder and loads what the placed cameras kept there ("-" stops keeping);
// loadKept gives a camera just placed what it kept; saveKept writes a
// camera's present settings and memory.
bool setKeepFolder(SimState& s, const std::string& dir);
void loadKept(const SimState& s, SimCamera& c);
void saveKept(const SimState& s, const SimCamera& c);
void simulatedDelay();

// Call log. Each ABI call builds one line and appends it when done.
class CallLog {
 public:
  explicit CallLog(const char* name);
  ~CallLog();
  CallLog(const CallLog&) = delete;
  CallLog& operator=(const CallLog&) = delete;
  CallLog& key(const char* k, const std::string& v);
  CallLog& key(const char* k, long long v);
  CallLog& port(const Session* s, const void* handle);
  int32_t result(int32_t r);
  double result(double r);
  void* resultPtr(void* p);

 private:
  std::string line_;
  std::string result_ = "?";
};
void appendLog(const std::string& line);
std::string readLog();
void clearLog();
bool setLogFile(const std::string& path);

// Parameter checks shared by single writes and loaded files: 0 when the value
// is acceptable for the camera, else the error code.
int32_t checkCameraParamsBlock(const TypeInfo& t, const TyxCameraParams& p);
int32_t checkExtendedBlock(const TyxExtendedParams& p);
int32_t checkLinearBlock(const TypeInfo& t, const TyxLinearParams& p);
struct ParsedConfig;
// The checks of a configuration file's records for a camera, as single
// writes check them: 0, or the error of the first value the camera refuses.
int32_t checkConfigBlocks(const SimCamera& c, const ParsedConfig& pc);

// Exposure model (see exposure.cpp).
struct ExposureRange {
  int32_t minLines, maxLines;
};
double frameLines(const SimCamera& c);             // lines of one frame in the present mode
double currentFrameRate(const SimCamera& c);
double listFrameRate(const SimCamera& c, int32_t index);  // 0 past the end, -2 for a placeholder
ExposureRange exposureRange(const SimCamera& c);
bool hasShortExposure(const SimCamera& c);

// Frames (see frames.cpp).
struct PictureSettings {
  int32_t gain, black, hInverse, vInverse, negative;
  int32_t rGain, gGain, bGain;
  int32_t outputMode;
  bool colour;
};
PictureSettings pictureSettings(const SimCamera& c);
// The output byte of scene level v (0..511): gain (330 is unity), black
// level, negative. The USB frames and the video signal for the board share it.
uint8_t outputLevel(int32_t v, const PictureSettings& s);
FrameBlock* allocateFrame(int32_t width, int32_t height, bool colour);
bool isLiveFrame(void* p);
bool frameMatches(FrameBlock* f, int32_t width, int32_t height, bool colour);
void renderFrame(FrameBlock* f, const PictureSettings& s, int64_t frameNo);
void startCapture(Session* s, FrameBlock* f);
// Stops the capture thread of a session; the caller must not hold state().mutex.
void stopCaptureThread(Session* s);
Session* sessionCapturingInto(FrameBlock* f);

}  // namespace tyxsim
