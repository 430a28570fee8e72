// board_library.h - binding of the frame-grabber board library, loaded by name.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "abi/tyxapi32.h"

// Loads the board library by name on first use and resolves its entry points
// once into a table. Nothing else in the program calls the library. A call
// made while the library cannot be loaded, or whose entry point is missing,
// returns the library's failure result at once: no boards, no open board,
// -1 for a parameter, 0 for everything else.
//
// Uses are counted: the first load and every board opened add one, every
// successful close takes one, and the library is unloaded when none is left.
//
// Thread use: the wrappers are called from the GUI thread and from the
// library's own capture thread (inside the sequence callbacks). The table is
// filled before any board is open and cleared only after the last board is
// closed, when the library has finished its capture threads, so the capture
// thread only ever sees a complete table.
class BoardLibrary {
 public:
  // The file name the program loads: the dynamic loader searches
  // LD_LIBRARY_PATH first, then the program's own run path.
  static const char* defaultFileName();

  explicit BoardLibrary(std::string fileName = defaultFileName());
  ~BoardLibrary();
  BoardLibrary(const BoardLibrary&) = delete;
  BoardLibrary& operator=(const BoardLibrary&) = delete;

  // The one binding the program uses.
  static BoardLibrary& instance();

  // Loads the library unless it is loaded; true when it is loaded afterwards.
  bool ensureLoaded();
  bool isLoaded() const;
  int useCount() const;
  // Why the last load failed, for diagnostics.
  std::string loadError() const;
  // True when the named entry point was resolved.
  bool hasEntry(const char* name) const;

  // Fills *list with the library's board records; the count of boards.
  int32_t getImageDevice(TyxBoardRecord** list);
  void* openBoard(int32_t* index);
  bool closeBoard(void* board);
  int32_t getLastError();
  void* getBufferAddr(void* board);
  int32_t setVideoParam(void* board, uint16_t id, int32_t value);
  int32_t setCaptureParam(void* board, uint16_t id, int32_t value);
  int32_t setConvertParam(void* board, uint16_t id, int32_t value);
  int32_t getSignalParam(void* board, int32_t id);
  int32_t putSignalParam(void* board, int32_t id, int32_t value);
  int32_t waitSignalEvent(void* board, int32_t event, int32_t timeoutMs);
  int32_t setTargetRect(void* board, int32_t target, TyxRect* rect);
  int32_t setSeqCallback(void* board, TyxSeqBeginCallback begin, TyxSeqFrameCallback frame,
                         TyxSeqEndCallback end);
  int32_t captureByBuffer(void* board);
  int32_t stopCapture(void* board);
  int32_t convertRect(void* board, TyxConvertDesc* dest, int32_t frameIndex);

 private:
  struct Api {
    int32_t(TYXAPI32_CALL* getImageDevice)(TyxBoardRecord**, int32_t) = nullptr;
    void*(TYXAPI32_CALL* openBoard)(int32_t*) = nullptr;
    int32_t(TYXAPI32_CALL* closeBoard)(void*) = nullptr;
    int32_t(TYXAPI32_CALL* getLastError)() = nullptr;
    void*(TYXAPI32_CALL* getBufferAddr)(void*, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* setVideoParam)(void*, uint16_t, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* setCaptureParam)(void*, uint16_t, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* setConvertParam)(void*, uint16_t, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* getSignalParam)(void*, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* putSignalParam)(void*, int32_t, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* waitSignalEvent)(void*, int32_t, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* setTargetRect)(void*, int32_t, TyxRect*) = nullptr;
    int32_t(TYXAPI32_CALL* setSeqCallback)(void*, TyxSeqBeginCallback, TyxSeqFrameCallback,
                                           TyxSeqEndCallback) = nullptr;
    int32_t(TYXAPI32_CALL* captureByBuffer)(void*, int32_t, int32_t, int32_t) = nullptr;
    int32_t(TYXAPI32_CALL* stopCapture)(void*) = nullptr;
    int32_t(TYXAPI32_CALL* convertRect)(void*, TyxConvertDesc*, int32_t, int32_t, int32_t,
                                        int32_t) = nullptr;
  };

  void* resolve(const char* name) const;
  void unloadLocked();
  // The entry point, loading the library first when it is not loaded; null
  // when the library or the entry point is missing.
  template <typename Fn>
  Fn entry(Fn Api::*member) {
    if (!loaded_.load(std::memory_order_acquire)) ensureLoaded();
    return api_.*member;
  }

  const std::string fileName_;
  // Guards handle_, uses_ and loadError_, and the filling and clearing of
  // api_ (see the class comment for why the calls read api_ without it).
  mutable std::mutex mutex_;
  void* handle_ = nullptr;
  std::atomic<bool> loaded_{false};
  int uses_ = 0;
  std::string loadError_;
  Api api_;
};
