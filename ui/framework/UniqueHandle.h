// One move-only owner for every kind of platform handle. The traits say what "no handle" is and
// how to close one; closing keeps the thread's last error so a failure code read after a scope
// ends is still the one of the failed call.
#pragma once

#include <windows.h>
#include <wininet.h>
#include <msi.h>

#include <utility>

namespace fw {

template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() noexcept = default;
  explicit Unique(Handle h) noexcept : handle_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(other.Release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~Unique() { Reset(); }

  Handle Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  void Reset(Handle h = Traits::Invalid()) noexcept {
    if (handle_ != Traits::Invalid()) {
      const DWORD lastError = ::GetLastError();
      Traits::Close(handle_);
      ::SetLastError(lastError);
    }
    handle_ = h;
  }

  // For out-parameters: frees the current handle and hands out the slot.
  Handle* Put() noexcept {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // events, semaphores, processes, threads
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct FileHandleTraits {  // CreateFileW answers INVALID_HANDLE_VALUE on failure
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::InternetCloseHandle(h); }
};

struct MsiHandleTraits {
  using Handle = MSIHANDLE;
  static Handle Invalid() noexcept { return 0; }
  static void Close(Handle h) noexcept { ::MsiCloseHandle(h); }
};

template <typename T>
struct GdiObjectTraits {  // pens, brushes, fonts, bitmaps, regions
  using Handle = T;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};

struct MemoryDcTraits {  // CreateCompatibleDC: deleted
  using Handle = HDC;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteDC(h); }
};

using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueFile = Unique<FileHandleTraits>;
using UniqueFind = Unique<FindHandleTraits>;
using UniqueKey = Unique<RegKeyTraits>;
using UniqueInternet = Unique<InternetHandleTraits>;
using UniqueMsi = Unique<MsiHandleTraits>;
using UniqueFont = Unique<GdiObjectTraits<HFONT>>;
using UniqueBrush = Unique<GdiObjectTraits<HBRUSH>>;
using UniquePen = Unique<GdiObjectTraits<HPEN>>;
using UniqueBitmap = Unique<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = Unique<GdiObjectTraits<HRGN>>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;

// GetDC/GetWindowDC: released to the window they came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window, bool wholeWindow = false) noexcept
      : window_(window), dc_(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// SelectObject for a scope: the previous object is selected back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A COM interface pointer that releases its reference.
template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* Get() const noexcept { return ptr_; }
  T* operator->() const noexcept { return ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }
  T** Put() noexcept {
    Reset();
    return &ptr_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
  void Reset() noexcept {
    if (ptr_) std::exchange(ptr_, nullptr)->Release();
  }

 private:
  T* ptr_ = nullptr;
};

}  // namespace fw
