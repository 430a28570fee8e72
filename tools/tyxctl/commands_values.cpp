// commands_values.cpp - info, get and set: the camera's values by name, through the shared descriptions.
#include <QJsonArray>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "app/camera_values.h"
#include "tools/tyxctl/camera_link.h"
#include "tools/tyxctl/commands.h"
#include "tools/tyxctl/tool_context.h"

namespace tyxctl {
namespace {

using tooltext::Id;

QString nameOf(const camval::Descriptor& d) { return QString::fromUtf8(d.name); }

QString allNames() {
  QStringList names;
  for (const camval::Descriptor& d : camval::all()) names << nameOf(d);
  return names.join(", ");
}

// What the camera holds for one value, in both forms: the number in the
// unit a user gives (microseconds for an exposure), its word where it has
// one, and the text "set" would take back.
void printValue(const Context& ctx, const camval::Descriptor& d) {
  const CameraState& s = cameraState();
  const QString text = camval::text(d, s);
  QJsonValue value = camval::stored(d, s);
  if (d.record == camval::Record::None)
    value = QJsonValue();
  else if (d.conversion == camval::Conversion::ExposureMicroseconds)
    value = CameraLibrary::instance().calExposeTime(s.handle, camval::stored(d, s));
  QJsonValue word;
  for (const camval::Word& w : d.words)
    if (w.stored == camval::stored(d, s) && d.record != camval::Record::None) word = QString::fromUtf8(w.name);
  ctx.print(QJsonObject{{"name", nameOf(d)},
                        {"value", value},
                        {"word", word},
                        {"unit", QString::fromUtf8(d.unit)},
                        {"text", text}},
            {nameOf(d) + "=" + text});
}

// The names on the command line, each a known value; false after saying which is not.
bool namesOf(const Context& ctx, const QStringList& words, std::vector<const camval::Descriptor*>* out) {
  for (const QString& w : words) {
    const camval::Descriptor* d = camval::byName(w.toStdString());
    if (d == nullptr) {
      ctx.say(Id::UnknownName, {w, allNames()});
      return false;
    }
    out->push_back(d);
  }
  return true;
}

bool onThisCamera(const Context& ctx, const OpenCamera& cam, const camval::Descriptor& d) {
  if (camval::available(d, cameraState())) return true;
  ctx.say(Id::NotOnThisCamera, {nameOf(d), cam.port(), QString::number(cameraState().typeCode)});
  return false;
}

// The function tags read at every opening, in their reading order.
std::vector<std::pair<int, int32_t>> tagsOf(const CameraState& s) {
  return {{36, s.unusedTag},      {31, s.riseDelayTag},     {32, s.fallDelayTag},    {33, s.protectTimeTag},
          {27, s.videoPageTag},   {37, s.brightnessRowTag}, {38, s.whiteBalanceTag}, {34, s.extendedBlockTag}};
}

QString tagsText(const CameraState& s) {
  QStringList parts;
  for (const auto& [tag, value] : tagsOf(s)) parts << QString("%1=%2").arg(tag).arg(value);
  return parts.join(' ');
}

QJsonObject tagsJson(const CameraState& s) {
  QJsonObject o;
  for (const auto& [tag, value] : tagsOf(s)) o[QString::number(tag)] = value;
  return o;
}

struct Assignment {
  const camval::Descriptor* d;
  QString text;
  int64_t value;
};

}  // namespace

int runInfo(const Context& ctx) {
  int exit = kExitOk;
  OpenCamera cam(ctx);
  if (!cam.open(&exit)) return exit;
  const CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const bool lineScan = types::isLineScan(s.typeCode);
  // The frame rate the camera runs at now, as the library computes it.
  const double rate = lineScan ? 0.0 : lib.calFrameRate(s.handle, -1);
  const QString sep = ctx.chinese() ? QString::fromUtf8("：") : QString(": ");
  QStringList identity{ctx.text(Id::LabelPort) + sep + cam.port(),
                       ctx.text(Id::LabelType) + sep + QString::number(s.typeCode),
                       ctx.text(Id::LabelModel) + sep + s.modelText,
                       ctx.text(Id::LabelVersion) + sep + QString::number(s.versionCode),
                       ctx.text(Id::LabelTags) + sep + tagsText(s)};
  if (!lineScan) identity << ctx.text(Id::LabelFrameRate) + sep + QString::number(rate, 'g', 6) + " fps";
  QJsonObject json{{"port", cam.port()},   {"type", s.typeCode}, {"model", s.modelText},
                   {"version", s.versionCode}, {"tags", tagsJson(s)}};
  json["fps"] = lineScan ? QJsonValue() : QJsonValue(rate);
  ctx.print(json, identity);
  for (const camval::Descriptor& d : camval::all())
    if (d.record != camval::Record::None && camval::available(d, s)) printValue(ctx, d);
  return kExitOk;
}

int runGet(const Context& ctx) {
  std::vector<const camval::Descriptor*> wanted;
  if (!namesOf(ctx, ctx.inv.args, &wanted)) return kExitUsage;
  int exit = kExitOk;
  OpenCamera cam(ctx);
  if (!cam.open(&exit)) return exit;
  for (const camval::Descriptor* d : wanted)
    if (!onThisCamera(ctx, cam, *d)) return kExitUsage;
  for (const camval::Descriptor* d : wanted) printValue(ctx, *d);
  return kExitOk;
}

int runSet(const Context& ctx) {
  // Everything that can be known without the camera is checked before it
  // is opened: the form, the names and the words.
  std::vector<Assignment> assignments;
  for (const QString& arg : ctx.inv.args) {
    const int eq = arg.indexOf('=');
    if (eq <= 0) {
      ctx.say(Id::NotAssignment, {arg});
      return kExitUsage;
    }
    std::vector<const camval::Descriptor*> one;
    if (!namesOf(ctx, {arg.left(eq)}, &one)) return kExitUsage;
    const camval::Descriptor* d = one.front();
    const QString text = arg.mid(eq + 1);
    const std::optional<int64_t> value = camval::parse(*d, text);
    if (!value) {
      if (d->words.empty()) {
        ctx.say(Id::NotANumber, {nameOf(*d), text});
      } else {
        QStringList words;
        for (const camval::Word& w : d->words) words << QString::fromUtf8(w.name);
        ctx.say(Id::BadWord, {nameOf(*d), text, words.join(", ")});
      }
      return kExitUsage;
    }
    assignments.push_back({d, text, *value});
  }

  int exit = kExitOk;
  OpenCamera cam(ctx);
  if (!cam.open(&exit)) return exit;

  // Then every value against this camera, in order, on a copy of its state
  // that takes each checked value as the writes would: a later value sees
  // the limits the earlier ones set (an end line above a new begin line).
  // An exposure after a value that moves the camera's exposure range is
  // checked when its turn comes, as only the camera knows that range.
  CameraState trial = cameraState();
  bool rangeMoved = false;
  for (const Assignment& a : assignments) {
    if (!onThisCamera(ctx, cam, *a.d)) return kExitUsage;
    const bool deferred = rangeMoved && a.d->conversion == camval::Conversion::ExposureMicroseconds;
    if (!deferred) {
      const camval::Verdict v = camval::validate(*a.d, trial, a.value, camval::Window::Tool);
      if (!v.ok) {
        ctx.say(Id::ValueRefused, {nameOf(*a.d), a.text, v.reason});
        return kExitUsage;
      }
      camval::store(*a.d, trial, v.value);
    }
    if (a.d->clamp != camval::Clamp::None) rangeMoved = true;
  }

  // The writes, each checked once more against what the camera now holds.
  std::vector<const camval::Descriptor*> written;
  for (const Assignment& a : assignments) {
    const camval::Verdict v = camval::validate(*a.d, cameraState(), a.value, camval::Window::Tool);
    if (!v.ok) {
      for (const camval::Descriptor* d : written) printValue(ctx, *d);
      ctx.say(Id::ValueRefusedAfter, {nameOf(*a.d), a.text, v.reason});
      return kExitUsage;
    }
    // A value whose window never reported a refusal is reported here: a
    // script must learn that the camera did not take it. What reaches the
    // library is the same single write.
    camval::WriteOptions options;
    if (a.d->apply == camval::Apply::Unreported) options.apply = camval::Apply::Reported;
    if (!camval::write(*a.d, v.value, options)) {
      for (const camval::Descriptor* d : written) printValue(ctx, *d);
      return kExitRefused;
    }
    written.push_back(a.d);
  }
  for (const camval::Descriptor* d : written) printValue(ctx, *d);
  return kExitOk;
}

}  // namespace tyxctl
