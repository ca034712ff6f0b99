#include "engine/MessageBoxSeam.h"

#include <mutex>

namespace {

std::mutex& HandlerLock() {
  static std::mutex lock;
  return lock;
}

MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}

}  // namespace

int ShowEngineMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                         UINT style) {
  MessageBoxHandler handler;
  {
    std::lock_guard guard(HandlerLock());
    handler = Handler();
  }
  if (handler) return handler(owner, text, caption, style);
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

void SetEngineMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard guard(HandlerLock());
  Handler() = std::move(handler);
}
