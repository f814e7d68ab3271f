#pragma once
// The one vocabulary of owned Windows handles and COM references. Each kind
// names its handle type, the value that means "none" (files and directory
// enumerations use INVALID_HANDLE_VALUE, most other handles nullptr) and the
// call that gives it back; unique_any owns one handle of a kind and returns it
// exactly once, so no path through the Windows code can leak one. The scoped
// helpers below restore device-context state that is more than one handle.
// Header-only, with no dependency beyond the system's headers.

#include <windows.h>

#include <utility>

namespace vorpane::handles {

template <class Kind>
class unique_any {
 public:
  using Handle = typename Kind::Handle;

  unique_any() noexcept = default;
  explicit unique_any(Handle handle) noexcept : handle_(handle) {}
  ~unique_any() { reset(); }
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& other) noexcept : handle_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  Handle operator->() const noexcept { return handle_; }
  bool valid() const noexcept { return handle_ != Kind::empty(); }
  explicit operator bool() const noexcept { return valid(); }

  Handle release() noexcept { return std::exchange(handle_, Kind::empty()); }
  void reset(Handle handle = Kind::empty()) noexcept {
    const Handle previous = std::exchange(handle_, handle);
    if (previous != Kind::empty()) Kind::close(previous);
  }
  // Gives the handle back now, so that a failing return can be reported;
  // false only when there was one and giving it back failed.
  bool close() noexcept {
    const Handle previous = release();
    return previous == Kind::empty() || Kind::close(previous);
  }
  // For the out-parameter of a creating call; gives back what was held.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Kind::empty();
};

// A file opened with CreateFile.
struct FileKind {
  using Handle = HANDLE;
  static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool close(Handle handle) noexcept { return CloseHandle(handle) != 0; }
};
using FileHandle = unique_any<FileKind>;

// A kernel object (mutex, process, thread) opened by a call that reports
// failure as no handle.
struct KernelKind {
  using Handle = HANDLE;
  static Handle empty() noexcept { return nullptr; }
  static bool close(Handle handle) noexcept { return CloseHandle(handle) != 0; }
};
using KernelHandle = unique_any<KernelKind>;

// A library loaded with LoadLibrary(Ex).
struct LibraryKind {
  using Handle = HMODULE;
  static Handle empty() noexcept { return nullptr; }
  static bool close(Handle handle) noexcept { return FreeLibrary(handle) != 0; }
};
using Library = unique_any<LibraryKind>;

// A directory enumeration opened with FindFirstFile(Ex).
struct FindKind {
  using Handle = HANDLE;
  static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool close(Handle handle) noexcept { return FindClose(handle) != 0; }
};
using FindHandle = unique_any<FindKind>;

// An open registry key.
struct RegistryKeyKind {
  using Handle = HKEY;
  static Handle empty() noexcept { return nullptr; }
  static bool close(Handle handle) noexcept { return RegCloseKey(handle) == ERROR_SUCCESS; }
};
using RegistryKey = unique_any<RegistryKeyKind>;

// Memory the system allocated for the caller with LocalAlloc, such as a
// security descriptor converted from its text form.
struct LocalMemoryKind {
  using Handle = HLOCAL;
  static Handle empty() noexcept { return nullptr; }
  static bool close(Handle handle) noexcept { return LocalFree(handle) == nullptr; }
};
using LocalMemory = unique_any<LocalMemoryKind>;

// A font, brush, pen or bitmap.
template <class Object>
struct GdiKind {
  using Handle = Object;
  static Handle empty() noexcept { return nullptr; }
  static bool close(Handle handle) noexcept { return DeleteObject(handle) != 0; }
};
template <class Object>
using GdiObject = unique_any<GdiKind<Object>>;

// A memory device context made with CreateCompatibleDC.
struct MemoryDcKind {
  using Handle = HDC;
  static Handle empty() noexcept { return nullptr; }
  static bool close(Handle handle) noexcept { return DeleteDC(handle) != 0; }
};
using MemoryDc = unique_any<MemoryDcKind>;

// One counted reference to a COM interface.
template <class Interface>
struct ComKind {
  using Handle = Interface*;
  static Handle empty() noexcept { return nullptr; }
  static bool close(Handle handle) noexcept {
    handle->Release();
    return true;
  }
};
template <class Interface>
using ComPtr = unique_any<ComKind<Interface>>;

// Selects an object into a device context for one scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The device context of a WM_PAINT.
class PaintContext {
 public:
  explicit PaintContext(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintContext() { EndPaint(window_, &paint_); }
  PaintContext(const PaintContext&) = delete;
  PaintContext& operator=(const PaintContext&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's (or, for nullptr, the screen's) device context.
class WindowContext {
 public:
  explicit WindowContext(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowContext() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowContext(const WindowContext&) = delete;
  WindowContext& operator=(const WindowContext&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace vorpane::handles
