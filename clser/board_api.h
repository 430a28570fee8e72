// board_api.h - the entry points of the 64-bit board library, bound by ordinal.
#pragma once

#include "abi/tyxapi64.h"

namespace clser {

// One pointer per ordinal the library uses; null when the board library does
// not provide that ordinal. Callers check the pointers they need and report
// CL_ERR_FUNCTION_NOT_FOUND instead of calling through a null pointer.
struct BoardApi {
  // False when the board library itself could not be loaded: then there are
  // no boards, and no pointer is set.
  bool present = false;
  Tyx64OpenBoardFn openBoard = nullptr;            // 1
  Tyx64CloseBoardFn closeBoard = nullptr;          // 3
  Tyx64LastStatusFn lastStatus = nullptr;          // 4
  Tyx64BoardTypeFn boardType = nullptr;            // 9
  Tyx64BoardTableFn boardTable = nullptr;          // 66
  Tyx64SetSerialParamFn setSerialParam = nullptr;  // 122
  Tyx64SerialReadFn serialRead = nullptr;          // 123
  Tyx64SerialWriteFn serialWrite = nullptr;        // 124
};

// Loads the board library and binds its ordinals on the first call, and
// returns the same table after. The library is looked for beside the serial
// library's real file first, then on the system's library search path; when
// it is not found, one line on stderr says so and the table is empty.
const BoardApi& boardApi();

}  // namespace clser
