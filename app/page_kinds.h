// page_kinds.h - the kinds of tab page and companion window of the main window.
#pragma once

#include <cstdint>

// Every kind of tab page, in the order the main window creates them.
enum class PageKind {
  Mode,
  Param,
  ColorParam,
  Circle,
  Tarvo,
  Melko,
  Video,
  UsbParam,
  ColorCorrect,
  LinearMode,
  LinearParam,
  LinearColor,
  Com,
  Count
};

enum class CompanionKind { Info, ControlBar, GrabVideo, PaintUsb, Count };
