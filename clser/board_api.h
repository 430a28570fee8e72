// board_api.h - the entry points of the 64-bit board library, bound by ordinal.
#pragma once

#include "tyxapi64.h"

namespace clser {

// One pointer per ordinal the library uses; null when the board library does
// not provide that ordinal. Callers check the pointers they need and report
// CL_ERR_FUNCTION_NOT_FOUND instead of calling through a null pointer.
struct BoardApi {
  Tyx64OpenBoardFn openBoard = nullptr;           // 1
  Tyx64CloseBoardFn closeBoard = nullptr;         // 3
  Tyx64LastStatusFn lastStatus = nullptr;         // 4
  Tyx64BoardTypeFn boardType = nullptr;           // 9
  Tyx64BoardTableFn boardTable = nullptr;         // 66
  Tyx64SetSerialParamFn setSerialParam = nullptr; // 122
  Tyx64SerialReadFn serialRead = nullptr;         // 123
  Tyx64SerialWriteFn serialWrite = nullptr;       // 124
};

// Resolves the ordinals on the first call and returns the same table after.
const BoardApi& boardApi();

}  // namespace clser
