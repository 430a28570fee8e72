// library_location_win32.cpp - the folder of clsertyx.dll on Windows.

#include <windows.h>

#include <string>

#include "library_location.h"

namespace clser {

std::string libraryDirectory() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&libraryDirectory), &self))
    return {};
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::wstring dir(path, n);
  const auto slash = dir.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  dir.resize(slash);
  const int size = WideCharToMultiByte(CP_UTF8, 0, dir.c_str(), static_cast<int>(dir.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, dir.c_str(), static_cast<int>(dir.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

}  // namespace clser
