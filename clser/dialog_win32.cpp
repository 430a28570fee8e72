// dialog_win32.cpp - the "Select a serial device" dialog on Windows: a
// native dialog from the DLL's own resources (template 101), as hosts on
// that platform expect from a serial library.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "clsertyx_dialog.h"
#include "device_dialog.h"
#include "serial_settings.h"

namespace clser {

namespace {

struct DialogContext {
  std::string product;
  DialogSelection selection;
};

HMODULE selfModule() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&selfModule), &self);
  return self;
}

std::wstring widen(std::string_view s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string narrow(const wchar_t* s) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// A box's text, read back as at most kMaxLabelLength characters.
std::string boxText(HWND dialog, int id) {
  wchar_t text[kMaxLabelLength + 1] = {};
  GetDlgItemTextW(dialog, id, text, static_cast<int>(kMaxLabelLength + 1));
  return narrow(text);
}

template <typename Items>
void fillBox(HWND dialog, int id, const Items& items, std::string_view shown) {
  for (std::string_view item : items)
    SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
  SetDlgItemTextW(dialog, id, widen(shown).c_str());
}

// Appends " " and TEXT to a label, keeping the label to kMaxLabelLength.
void appendToLabel(HWND dialog, int id, const std::string& text) {
  wchar_t label[kMaxLabelLength + 1] = {};
  GetDlgItemTextW(dialog, id, label, static_cast<int>(kMaxLabelLength + 1));
  std::wstring full = std::wstring(label) + L" " + widen(text);
  if (full.size() > kMaxLabelLength) full.resize(kMaxLabelLength);
  SetDlgItemTextW(dialog, id, full.c_str());
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto* context = reinterpret_cast<const DialogContext*>(lParam);
      appendToLabel(dialog, IDC_PRODUCT, context->product);
      appendToLabel(dialog, IDC_SYSTEM, "0");
      fillBox(dialog, IDC_CHANNEL, kChannelChoices, kDefaultChannel);
      fillBox(dialog, IDC_BAUD_RATE, kBaudRateChoices, kDefaultBaudRate);
      fillBox(dialog, IDC_DATA_BITS, kDataBitsChoices, kDefaultDataBits);
      fillBox(dialog, IDC_STOP_BITS, kStopBitsChoices, kDefaultStopBits);
      fillBox(dialog, IDC_PARITY, kParityChoices, kDefaultParity);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      // OK, Esc and the close box (which the dialog manager turns into
      // IDCANCEL) all take what the boxes show; the caller has opened the
      // board and expects settings either way.
      if (id != IDOK && id != IDCANCEL) return FALSE;
      auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
      context->selection = {boxText(dialog, IDC_CHANNEL), boxText(dialog, IDC_BAUD_RATE),
                            boxText(dialog, IDC_DATA_BITS), boxText(dialog, IDC_STOP_BITS),
                            boxText(dialog, IDC_PARITY)};
      EndDialog(dialog, 1);
      return TRUE;
    }
    default: return FALSE;
  }
}

void note(const std::string& why) {
  std::fprintf(stderr,
               "clsertyx: %s; using the shown settings of \"Select a serial device\" "
               "(channel 0, 9600 baud, 8 data bits, 1 stop bit, parity None)\n",
               why.c_str());
}

}  // namespace

bool dialogSuppressedByEnvironment() {
  const char* v = std::getenv("CLSERTYX_NO_DIALOG");
  return v && *v && std::string_view(v) != "0";
}

void resetNoDisplayNote() {}

DialogSelection askDeviceSettings(const std::string& productName) {
  DialogContext context{productName, shownDefaults()};
  const INT_PTR result = DialogBoxParamW(selfModule(), MAKEINTRESOURCEW(IDD_SELECT_SERIAL_DEVICE), nullptr,
                                         dialogProc, reinterpret_cast<LPARAM>(&context));
  if (result != 1) {
    note("cannot show the dialog (error " + std::to_string(GetLastError()) + ")");
    return shownDefaults();
  }
  return context.selection;
}

}  // namespace clser
