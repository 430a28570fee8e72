// board_api.cpp - resolves the board library's ordinals once.

#include "board_api.h"

namespace clser {

namespace {

template <typename Fn>
Fn entry(uint32_t ordinal) {
  return reinterpret_cast<Fn>(tyxapi64Ordinal(ordinal));
}

BoardApi resolve() {
  BoardApi api;
  api.openBoard = entry<Tyx64OpenBoardFn>(TYX64_ORD_OPEN_BOARD);
  api.closeBoard = entry<Tyx64CloseBoardFn>(TYX64_ORD_CLOSE_BOARD);
  api.lastStatus = entry<Tyx64LastStatusFn>(TYX64_ORD_LAST_STATUS);
  api.boardType = entry<Tyx64BoardTypeFn>(TYX64_ORD_BOARD_TYPE);
  api.boardTable = entry<Tyx64BoardTableFn>(TYX64_ORD_BOARD_TABLE);
  api.setSerialParam = entry<Tyx64SetSerialParamFn>(TYX64_ORD_SET_SERIAL_PARAM);
  api.serialRead = entry<Tyx64SerialReadFn>(TYX64_ORD_SERIAL_READ);
  api.serialWrite = entry<Tyx64SerialWriteFn>(TYX64_ORD_SERIAL_WRITE);
  return api;
}

}  // namespace

const BoardApi& boardApi() {
  // A function-local static is initialised exactly once, even with callers on
  // several threads.
  static const BoardApi api = resolve();
  return api;
}

}  // namespace clser
