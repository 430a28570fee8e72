// commands_grab.cpp - grab: frames of a USB image camera saved as BMP or PNG files.
#include <QFileInfo>
#include <cstring>

#include "app/camera_library.h"
#include "app/camera_state.h"
#include "imaging/bmp_writer.h"
#include "tools/tyxctl/camera_link.h"
#include "tools/tyxctl/commands.h"
#include "tools/tyxctl/tool_context.h"

namespace tyxctl {
namespace {

using tooltext::Id;

// FILE.bmp for one frame; FILE-1.bmp, FILE-2.bmp... for several, so a
// series never overwrites its own first file.
QString frameFile(const QString& output, int index, int count) {
  if (count == 1) return output;
  const int dot = output.lastIndexOf('.');
  return output.left(dot) + "-" + QString::number(index + 1) + output.mid(dot);
}

struct FrameFacts {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bits = 0;
};

FrameFacts factsOf(const void* bitmap, size_t size) {
  FrameFacts f;
  if (size < 16) return f;
  const auto* b = static_cast<const uint8_t*>(bitmap);
  std::memcpy(&f.width, b + 4, 4);
  std::memcpy(&f.height, b + 8, 4);
  std::memcpy(&f.bits, b + 14, 2);
  return f;
}

}  // namespace

int runGrab(const Context& ctx) {
  int exit = kExitOk;
  OpenCamera cam(ctx);
  if (!cam.open(&exit)) return exit;
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  if (!types::isUsbImage(s.typeCode)) {
    ctx.say(Id::NotUsbImage, {cam.port(), QString::number(s.typeCode)});
    return kExitUsage;
  }
  // The full frame the camera offers, as the image window ends up asking for
  // after its size limits; the window's start size when the camera says none.
  TyxUsbInfo info{};
  lib.getUsbInfo(s.handle, 1, &info);
  const int32_t rect[4] = {0, 0, info.maxWidth > 0 ? info.maxWidth : 2048,
                           info.maxHeight > 0 ? info.maxHeight : 1536};
  lib.setTargetRect(s.handle, rect);
  for (int i = 0; i < ctx.inv.count; ++i) {
    const QString file = frameFile(ctx.inv.output, i, ctx.inv.count);
    void* frame = nullptr;
    lib.captureFrame(s.handle, &frame, 1);
    if (frame == nullptr) {
      ctx.say(Id::NoFrame, {cam.port()});
      return kExitFile;
    }
    bmp::Error result = bmp::Error::NoFrame;
    FrameFacts facts;
    const size_t size = lib.frameSize(frame);
    if (const void* bitmap = lib.frameLock(frame)) {
      facts = factsOf(bitmap, size);
      result = file.endsWith(".png", Qt::CaseInsensitive) ? bmp::savePng(bitmap, size, file)
                                                         : bmp::saveBmp(bitmap, size, file);
      lib.frameUnlock(frame);
    }
    lib.frameFree(frame);
    if (result != bmp::Error::None) {
      ctx.say(Id::SaveFailed, {file, QString::fromUtf8(bmp::describe(result, ctx.chinese()))});
      return kExitFile;
    }
    ctx.print(QJsonObject{{"port", cam.port()},
                          {"file", QFileInfo(file).absoluteFilePath()},
                          {"width", facts.width},
                          {"height", facts.height},
                          {"bits", facts.bits}},
              {tooltext::format(Id::Saved, ctx.chinese(), {file})});
  }
  return kExitOk;
}

}  // namespace tyxctl
