// The request flags of the two kinds of request. Every request bypasses the cache and never
// shows any user interface. An https request checks the server's certificate in full: an
// installer that runs elevated must not accept a certificate whose name or dates are wrong.
#pragma once

#include <windows.h>
#include <wininet.h>

struct RequestFlags {
  DWORD https;
  DWORD plain;
};

// File downloads keep the connection for the next request.
inline constexpr RequestFlags kFileRequestFlags{
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
        INTERNET_FLAG_SECURE | INTERNET_FLAG_NO_UI,
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
        INTERNET_FLAG_NO_UI};

// Size queries and stream downloads.
inline constexpr RequestFlags kQueryRequestFlags{
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_SECURE | INTERNET_FLAG_NO_UI,
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI};
