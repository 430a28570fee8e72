// board_library.cpp - binding of the frame-grabber board library, loaded by name.
#include "imaging/board_library.h"

#include "app/library_loader.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <type_traits>
#include <utility>

const char* BoardLibrary::defaultFileName() { return kBoardLibraryFile; }

BoardLibrary::BoardLibrary(std::string fileName) : fileName_(std::move(fileName)) {}

BoardLibrary::~BoardLibrary() {
  std::lock_guard<std::mutex> lock(mutex_);
  unloadLocked();
}

BoardLibrary& BoardLibrary::instance() {
  // Never destroyed: the library must stay mapped while static objects of
  // the program that may still hold a board are torn down.
  static BoardLibrary* library = new BoardLibrary;
  return *library;
}

void* BoardLibrary::resolve(const char* name) const { return sharedLibrarySymbol(handle_, name); }

bool BoardLibrary::ensureLoaded() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle_) return true;
  // Loaded from the program's own code, so that the program's run path
  // ($ORIGIN) applies; LD_LIBRARY_PATH is searched before it, and the
  // loader falls back to the program's folder where a sanitizer hides the
  // run path.
  handle_ = loadSharedLibrary(fileName_);
  if (!handle_) {
#ifndef _WIN32
    const char* why = dlerror();
    loadError_ = why ? why : ("cannot load " + fileName_);
#else
    loadError_ = "cannot load " + fileName_;
#endif
    return false;
  }
  loadError_.clear();
  // Each entry point is looked up once; a missing one stays null and its
  // wrapper answers with the failure result.
  auto bind = [this](auto& slot, const char* name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(resolve(name));
  };
  bind(api_.getImageDevice, "tyxGetImageDevice");
  bind(api_.openBoard, "tyxOpenBoard");
  bind(api_.closeBoard, "tyxCloseBoard");
  bind(api_.getLastError, "tyxGetLastError");
  bind(api_.getBufferAddr, "tyxGetBufferAddr");
  bind(api_.setVideoParam, "tyxSetVideoParam");
  bind(api_.setCaptureParam, "tyxSetCaptureParam");
  bind(api_.setConvertParam, "tyxSetConvertParam");
  bind(api_.getSignalParam, "tyxGetSignalParam");
  bind(api_.putSignalParam, "tyxPutSignalParam");
  bind(api_.waitSignalEvent, "tyxWaitSignalEvent");
  bind(api_.setTargetRect, "tyxSetTargetRect");
  bind(api_.setSeqCallback, "tyxSetSeqCallback");
  bind(api_.captureByBuffer, "tyxCaptureByBuffer");
  bind(api_.stopCapture, "tyxStopCapture");
  bind(api_.convertRect, "tyxConvertRect");
  uses_ = 1;
  loaded_.store(true, std::memory_order_release);
  return true;
}

void BoardLibrary::unloadLocked() {
  if (!handle_) return;
  loaded_.store(false, std::memory_order_release);
  api_ = Api{};
  unloadSharedLibrary(handle_);
  handle_ = nullptr;
  uses_ = 0;
}

bool BoardLibrary::isLoaded() const { return loaded_.load(std::memory_order_acquire); }

int BoardLibrary::useCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return uses_;
}

std::string BoardLibrary::loadError() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return loadError_;
}

bool BoardLibrary::hasEntry(const char* name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return handle_ && resolve(name) != nullptr;
}

int32_t BoardLibrary::getImageDevice(TyxBoardRecord** list) {
  if (list) *list = nullptr;
  auto fn = entry(&Api::getImageDevice);
  if (!fn) return 0;
  TyxBoardRecord* records = nullptr;
  const int32_t count = fn(&records, 0);
  // A count without a list is as good as no boards: nothing could be shown.
  if (count <= 0 || !records) return 0;
  if (list) *list = records;
  return count;
}

void* BoardLibrary::openBoard(int32_t* index) {
  auto fn = entry(&Api::openBoard);
  if (!fn) return nullptr;
  void* board = fn(index);
  if (board) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++uses_;
  }
  return board;
}

bool BoardLibrary::closeBoard(void* board) {
  auto fn = entry(&Api::closeBoard);
  if (!fn || !board) return false;
  if (fn(board) == 0) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (uses_ > 0 && --uses_ == 0) unloadLocked();
  return true;
}

int32_t BoardLibrary::getLastError() {
  auto fn = entry(&Api::getLastError);
  // Without the library there is no board of the family.
  return fn ? fn() : 1;
}

void* BoardLibrary::getBufferAddr(void* board) {
  auto fn = entry(&Api::getBufferAddr);
  return fn ? fn(board, 0) : nullptr;
}

int32_t BoardLibrary::setVideoParam(void* board, uint16_t id, int32_t value) {
  auto fn = entry(&Api::setVideoParam);
  return fn ? fn(board, id, value) : -1;
}

int32_t BoardLibrary::setCaptureParam(void* board, uint16_t id, int32_t value) {
  auto fn = entry(&Api::setCaptureParam);
  return fn ? fn(board, id, value) : -1;
}

int32_t BoardLibrary::setConvertParam(void* board, uint16_t id, int32_t value) {
  auto fn = entry(&Api::setConvertParam);
  return fn ? fn(board, id, value) : -1;
}

int32_t BoardLibrary::getSignalParam(void* board, int32_t id) {
  auto fn = entry(&Api::getSignalParam);
  return fn ? fn(board, id) : -1;
}

int32_t BoardLibrary::putSignalParam(void* board, int32_t id, int32_t value) {
  auto fn = entry(&Api::putSignalParam);
  return fn ? fn(board, id, value) : 0;
}

int32_t BoardLibrary::waitSignalEvent(void* board, int32_t event, int32_t timeoutMs) {
  auto fn = entry(&Api::waitSignalEvent);
  return fn ? fn(board, event, timeoutMs) : 0;
}

int32_t BoardLibrary::setTargetRect(void* board, int32_t target, TyxRect* rect) {
  auto fn = entry(&Api::setTargetRect);
  return fn && rect ? fn(board, target, rect) : 0;
}

int32_t BoardLibrary::setSeqCallback(void* board, TyxSeqBeginCallback begin, TyxSeqFrameCallback frame,
                                     TyxSeqEndCallback end) {
  auto fn = entry(&Api::setSeqCallback);
  return fn ? fn(board, begin, frame, end) : 0;
}

int32_t BoardLibrary::captureByBuffer(void* board) {
  auto fn = entry(&Api::captureByBuffer);
  return fn ? fn(board, 1, 0, 0) : 0;
}

int32_t BoardLibrary::stopCapture(void* board) {
  auto fn = entry(&Api::stopCapture);
  return fn ? fn(board) : 0;
}

int32_t BoardLibrary::convertRect(void* board, TyxConvertDesc* dest, int32_t frameIndex) {
  auto fn = entry(&Api::convertRect);
  return fn && dest ? fn(board, dest, 0, 1, frameIndex, 1) : 0;
}
