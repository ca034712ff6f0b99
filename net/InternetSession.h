// The process's one Internet session, the lock around writes of downloaded data, and the
// referer every request carries.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <mutex>
#include <string>
#include <string_view>

// The web address sent as "Referer" with every request; change it here and only here.
inline constexpr std::wstring_view kDefaultReferer = L"https://www.example.com/pictova-kest/";

// Opens the session (agent "Pictova Web Installer Client", the system's proxy settings) unless
// one is already open. Start-up calls it, and the status page again before it installs.
// True when a session is open afterwards.
bool OpenInternetSession();

// How long connecting, sending a request, or waiting for the next data may take before the
// request fails; also how long a cancel may wait for a stalled server to answer.
inline constexpr DWORD kDefaultTransferTimeoutMs = 30000;
void SetTransferTimeout(DWORD milliseconds);
// Gives a connection or request handle the current limits (some WinINet implementations do
// not pass the session's on).
void ApplyTransferTimeouts(HINTERNET handle);

// Closes the session; the next OpenInternetSession makes a new one. Called once at exit.
void CloseInternetSession();

// The current session, or null when none is open.
HINTERNET CurrentInternetSession();

// Held around each seek-write-flush of a downloaded block.
std::mutex& TransferLock();

// The referer sent with every request while it is non-empty; kDefaultReferer at first.
void SetReferer(std::wstring_view referer);
std::wstring CurrentReferer();
