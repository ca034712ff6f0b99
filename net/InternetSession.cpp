#include "net/InternetSession.h"

#include <atomic>

#include "ui/framework/DebugOutput.h"

namespace {

constexpr wchar_t kUserAgent[] = L"Pictova Web Installer Client";

std::atomic<DWORD>& TimeoutMilliseconds() {
  static std::atomic<DWORD> timeout{kDefaultTransferTimeoutMs};
  return timeout;
}

void ApplyTimeouts(HINTERNET session, DWORD milliseconds) {
  for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT})
    ::InternetSetOptionW(session, option, &milliseconds, sizeof(milliseconds));
}

std::mutex& SessionLock() {
  static std::mutex lock;
  return lock;
}

std::atomic<HINTERNET>& Session() {
  static std::atomic<HINTERNET> session{nullptr};
  return session;
}

std::mutex& RefererLock() {
  static std::mutex lock;
  return lock;
}

std::wstring& Referer() {
  static std::wstring referer(kDefaultReferer);
  return referer;
}

}  // namespace

bool OpenInternetSession() {
  const std::lock_guard guard(SessionLock());
  if (Session().load() != nullptr) return true;
  HINTERNET session =
      ::InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (session == nullptr) {
    fw::DebugOutputF(L"InternetOpen failed: %lu\r\n", ::GetLastError());
    return false;
  }
  // Without limits a server that stops sending would hold the run (and a cancel) for good.
  ApplyTimeouts(session, TimeoutMilliseconds());
  Session().store(session);
  return true;
}

void ApplyTransferTimeouts(HINTERNET handle) {
  ApplyTimeouts(handle, TimeoutMilliseconds());
}

void SetTransferTimeout(DWORD milliseconds) {
  const std::lock_guard guard(SessionLock());
  TimeoutMilliseconds() = milliseconds;
  if (HINTERNET session = Session().load()) ApplyTimeouts(session, milliseconds);
}

void CloseInternetSession() {
  const std::lock_guard guard(SessionLock());
  if (HINTERNET session = Session().exchange(nullptr)) ::InternetCloseHandle(session);
}

HINTERNET CurrentInternetSession() {
  return Session().load();
}

// One lock for the whole process life: a transfer still writing while the session is being
// closed at exit must not find its lock destroyed under it.
std::mutex& TransferLock() {
  static std::mutex lock;
  return lock;
}

void SetReferer(std::wstring_view referer) {
  const std::lock_guard guard(RefererLock());
  Referer().assign(referer);
}

std::wstring CurrentReferer() {
  const std::lock_guard guard(RefererLock());
  return Referer();
}
