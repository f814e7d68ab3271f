#include "platform/Win32SafeLoading.h"

#include <stdexcept>
#include <string>

#include "platform/PreloadedLibraries.h"

namespace vorpane::platform {

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// Systems before Windows 8 have SetDefaultDllDirectories and the search flags
// only with a later update; the program must start there too.
SetDefaultDllDirectoriesFunction setDefaultDllDirectories() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
}

std::string narrow(const wchar_t* text) {
  std::string result;
  for (; *text != L'\0'; ++text) result += static_cast<char>(*text);
  return result;
}

std::wstring inSystemDirectory(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + name;
}

HMODULE loadFromSystemDirectory(const wchar_t* name) {
  // Side-by-side redirection (the manifest's common controls) still applies.
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
    // A system without the search flags: the full path keeps other folders out.
    const std::wstring path = inSystemDirectory(name);
    if (!path.empty()) module = LoadLibraryW(path.c_str());
  }
  return module;
}

}  // namespace

void RestrictLibraryLoading() {
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS);
  if (const SetDefaultDllDirectoriesFunction restrict = setDefaultDllDirectories())
    restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
  else
    SetDllDirectoryW(L"");  // at least not the current directory
}

PreloadedSystemLibraries::PreloadedSystemLibraries() {
  libraries_.reserve(kPreloadedSystemLibraries.size());
  for (const char* name : kPreloadedSystemLibraries) {
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    handles::Library library(loadFromSystemDirectory(wide.c_str()));
    if (library) libraries_.push_back(std::move(library));
  }
}

SystemLibrary::SystemLibrary(const wchar_t* name) : module_(loadFromSystemDirectory(name)) {
  if (!module_)
    throw std::runtime_error("The system library " + narrow(name) + " cannot be loaded (error " +
                             std::to_string(GetLastError()) + ")");
}

FARPROC SystemLibrary::address(const char* name) const {
  FARPROC found = GetProcAddress(module_.get(), name);
  if (found == nullptr) throw std::runtime_error(std::string("The system lacks the function ") + name);
  return found;
}

}  // namespace vorpane::platform
