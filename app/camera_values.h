// camera_values.h - one description per camera value, and the one way to write it.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "abi/tyxcamera_ids.h"
#include "abi/tyxcamera_types.h"

class CameraState;

// Every window that changes a camera value (the pages, the control bar, the
// main window, the command-line tool) used to carry its own copy of the
// value's range, step and write sequence, and nobody could tell a deliberate
// difference from an accidental one. Here each value is described once; a
// window that treats a value differently on purpose says so in a WindowRule
// of that value, and every write goes through write(), which stores, applies,
// reports and notifies in one fixed order.
namespace camval {

// The record that mirrors a value. None: the value is a command or is kept
// by the camera only (nothing to store, nothing to read back).
enum class Record { Camera, Extended, Linear, None };

// The windows that write camera values. Any is the default row of a value;
// a window without a row of its own follows it.
enum class Window {
  Any,
  Tool,
  ParamPage,
  ControlBar,
  ColourPage,
  ModePage,
  LinearParamPage,
  LinearModePage,
  LinearColourPage,
  ModelPage,
};

// What becomes of a typed value that is not on the value's step.
enum class OffStep {
  Keep,    // the value has no step, or any value is taken as typed
  Lower,   // lowered to the step below it
  Refuse,  // not taken at all
};

// What a write does to the exposure afterwards. A shorter frame or a
// trigger mode moves the camera's exposure range, and the record must not
// keep an exposure the camera can no longer run.
enum class Clamp {
  None,
  ExposureFromAbove,  // an exposure above the new range is lowered to its top
  ExposureFromBelow,  // an exposure below the new range is raised to its bottom
  ByWord,             // each word of the value says (run and frame modes)
};

// Which side of the exposure range clampExposure() keeps.
enum class ClampSide { Above, Below };

// When a write reads the camera's record back, and whether a failed read
// is reported. The camera may change other values with some writes.
enum class Reread {
  None,
  BeforeReported,  // the record is refreshed first, the new value stored into it
  AfterSilent,     // read after; a failed read leaves the record as it was
  AfterReported,   // read after the camera took the value; a failed read is reported
  // Read after the write whatever its outcome, a failed read reported; the
  // record keeps the value asked for, whatever the read brought.
  AfterReportedKeep,
};

// How the value reaches the library.
enum class Apply {
  Reported,           // one write; a refusal shows the library's message
  RetriedThenReported,  // a refused first write is repeated once, then reported
  Unreported,         // one write; the window never reported a refusal
};

// How the number a user gives relates to the record. Exposure is kept in
// lines by the camera and given in microseconds by people, converted through
// the library for the open camera.
enum class Conversion { None, ExposureMicroseconds };

struct Range {
  int64_t lo = 0;
  int64_t hi = 0;
  // False when the library could not say (no camera, or no answer): then
  // nothing can be known to be valid.
  bool known = true;
};

// One word of an enumerated value: the name on the command line, the value
// the record keeps and the value sent to the camera (they differ where the
// record needs to tell apart two settings the camera codes alike).
struct Word {
  const char* name;
  int32_t stored;
  int32_t sent;
  // The value's clamp for this word, when the value's clamp is ByWord.
  Clamp clamp = Clamp::None;
  // Written once without refreshing the record first, where the value's
  // other words refresh it and retry (binning and multi-frame average).
  bool plain = false;
  // Whether the open camera offers this word (null: always).
  bool (*available)(const CameraState&) = nullptr;
};

// How a window turns a scroll request into a position.
enum class ThumbRound {
  Exact,       // the thumb's position as it is
  TowardZero,  // down to the step, negative positions towards zero
  Down,        // down to the step, towards minus infinity
};

struct BarRule {
  // 0: the value's step.
  int32_t line = 1;
  // A page when the step is 1, or when pageSteps is 0.
  int32_t page = 40;
  ThumbRound thumbPosition = ThumbRound::Exact;
  ThumbRound thumbTrack = ThumbRound::Exact;
  // Whether line moves stop at the bar's ends (else a value off the step may
  // step past an end and the window's own checks refuse it).
  bool clampLines = false;
  // Whether the final position is kept inside the bar.
  bool clampResult = true;
  // A page of that many steps when the step is above 1 (0: always page).
  int32_t pageSteps = 0;
  // A step at which the page stays `page` all the same (0: none). The
  // control bar keeps its page of 40 at the step of 4 it has for the colour
  // gains, for a first line with a step of 4 too.
  int32_t pageKeptAtStep = 0;
};

// A window's own treatment of a value, where it differs on purpose.
struct WindowRule {
  Window window = Window::Any;
  OffStep offStep = OffStep::Keep;
  // Replaces the value's range in this window, when set.
  Range (*range)(const CameraState&) = nullptr;
  BarRule bar{};
  // Why this window differs; read by people, not by the program.
  const char* why = "";
};

struct Descriptor {
  // Stable lower-case name of the command line, e.g. "gain", "exposure-us".
  const char* name;
  tyxid::Param id;
  Record record;
  int32_t TyxCameraParams::*cameraField = nullptr;
  int32_t TyxExtendedParams::*extendedField = nullptr;
  int32_t TyxLinearParams::*linearField = nullptr;
  // Shown after the value ("us", "ms", "lines"); empty for plain numbers.
  const char* unit = "";
  // Allowed values, in the unit the user gives (microseconds for the
  // exposure); a function of the type code, version, tags and other values.
  Range (*range)(const CameraState&) = nullptr;
  // The step every accepted value lies on (1: any value).
  int32_t (*step)(const CameraState&) = nullptr;
  Clamp clamp = Clamp::None;
  Reread reread = Reread::None;
  Apply apply = Apply::Reported;
  Conversion conversion = Conversion::None;
  std::span<const Word> words{};
  // Whether the open camera has this value at all.
  bool (*available)(const CameraState&) = nullptr;
  // Rows of windows that differ on purpose; the first row is the default.
  std::span<const WindowRule> windows{};
  // One line for the tool's listing.
  const char* summary = "";
  // The number sent for a stored value, where the camera numbers it
  // otherwise in some state (null: the word's sent value, else as stored).
  int32_t (*sent)(const CameraState&, int32_t stored) = nullptr;
  // What else the camera needs after this value has been written (the PAL
  // frame mode chooses its own rate); run before the notification.
  void (*after)(CameraState&, int32_t stored) = nullptr;
  // The camera reads the number as unsigned 32 bits (the circle's values):
  // a number past the signed top goes out as the large positive it is,
  // not widened into a negative.
  bool sentUnsigned = false;
};

// Every value, in a fixed order (the tool lists them in it).
std::span<const Descriptor> all();
// Lookup by the command-line name (exact, lower case) or by parameter id.
// Two descriptions share the exposure id (microseconds and lines); by id
// gives the first, "exposure-us".
const Descriptor* byName(std::string_view name);
const Descriptor* byId(int32_t id);
// The same for the program's own tables, which must only name described
// values: a missing description stops the program at once with the name or
// id, rather than as a null dereference somewhere in a page.
const Descriptor& of(int32_t id);
const Descriptor& named(std::string_view name);

// The row of a window for a value: its own, else the value's default row,
// else the plain rule (keep, the value's range, a bar of line 1, page 40).
WindowRule rule(const Descriptor& d, Window window);

// The range and step for the open camera, as the window sees them.
Range range(const Descriptor& d, const CameraState& s, Window window = Window::Any);
int32_t step(const Descriptor& d, const CameraState& s);
bool available(const Descriptor& d, const CameraState& s);

// The value the record holds (0 for values without a record).
int32_t stored(const Descriptor& d, const CameraState& s);
// Puts a value into the record; nothing for values without a record.
void store(const Descriptor& d, CameraState& s, int32_t value);

// A user's text as a value: a word of the value, or a whole number
// (blanks around it allowed, an optional sign). Nothing for anything else.
std::optional<int64_t> parse(const Descriptor& d, const QString& text);

// Whether a value may be written, and what would be stored.
struct Verdict {
  bool ok = false;
  // Why not, in words the tool prints ("gain takes 0..1023").
  QString reason;
  // The value for the record (lowered to the step, converted to lines).
  int32_t value = 0;
};
Verdict validate(const Descriptor& d, const CameraState& s, int64_t value, Window window = Window::Tool);
// What the value allows, in words: range, step, unit or the words.
QString allowed(const Descriptor& d, const CameraState& s, Window window = Window::Tool);

// The current value as a person reads it, with its unit or its word
// ("400", "1000 us", "edge-trigger").
QString text(const Descriptor& d, const CameraState& s);

// What a write does beyond storing and applying.
struct WriteOptions {
  // Called with the new top of the range when a clamp is about to lower the
  // exposure, before the camera is written (a window that shows the
  // exposure in microseconds converts it then, as it always has).
  std::function<void(int32_t)> onExposureClamped;
  // Replaces the value's way of applying, for a control of a window that
  // has always applied it otherwise (the image orientation model's edits
  // write without reporting, its bars report).
  std::optional<Apply> apply;
};

// The one writer. In order: reads the record first if the value says so;
// stores `value` (record units) into the record; applies it through the
// library (a refusal shows the library's message through the usual error
// path; the record keeps the new value either way); applies the value's
// clamp; reads back if the value says so; and tells whoever follows the
// settings, once. True when the library took the value.
bool write(const Descriptor& d, int32_t value, const WriteOptions& options = {});
// Shorthand by parameter id, for callers that hold an id from a table.
bool write(tyxid::Param id, int32_t value, const WriteOptions& options = {});

// Parses, validates and writes a user's text: the tool's "set". On
// refusal, reason says why and nothing reaches the camera.
struct SetResult {
  bool ok = false;
  QString reason;
};
SetResult set(const Descriptor& d, const QString& text);

// The one exposure clamp: keeps the record's exposure on the given side of
// the camera's present range, writing the camera when it moves. Without a
// range from the library nothing is clamped (an unanswered question must not
// become an exposure of 0 lines). True when the exposure was written.
bool clampExposure(ClampSide side, const std::function<void(int32_t)>& beforeWrite = {});

}  // namespace camval
