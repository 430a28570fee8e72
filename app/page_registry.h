// page_registry.h - the page table of the main window, as data.
#pragma once

#include <cstdint>

class CameraPage;
class CompanionWindow;
class CTyxVistrelDlg;
class QWidget;

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

using PageFactory = CameraPage* (*)(QWidget* parent, CTyxVistrelDlg* main);
using CompanionFactory = CompanionWindow* (*)(QWidget* owner, CTyxVistrelDlg* main);

// Each page registers its factory from its own file, so the main window
// knows every page without including it.
struct PageRegistration {
  PageRegistration(PageKind kind, PageFactory factory);
};
struct CompanionRegistration {
  CompanionRegistration(CompanionKind kind, CompanionFactory factory);
};

PageFactory pageFactory(PageKind kind);
CompanionFactory companionFactory(CompanionKind kind);

#define VISTREL_REGISTER_PAGE(kind, Class)                                         \
  static const PageRegistration registration_##Class(                                \
      kind, [](QWidget* parent, CTyxVistrelDlg* main) -> CameraPage* {               \
        return new Class(parent, main);                                              \
      })

#define VISTREL_REGISTER_COMPANION(kind, Class)                                    \
  static const CompanionRegistration registration_##Class(                           \
      kind, [](QWidget* owner, CTyxVistrelDlg* main) -> CompanionWindow* {           \
        return new Class(owner, main);                                               \
      })
