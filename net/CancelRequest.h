// The cancel-and-pause token over two events that its creator owns: a cancel event (signalled =
// stop) and a run event (not signalled = hold). An absent event means "never", so a token made
// without events can be neither cancelled nor paused.
#pragma once

#include <windows.h>

#include "net/ICancelRequest.h"

class CancelRequest final : public ICancelRequest {
 public:
  CancelRequest() noexcept = default;
  CancelRequest(HANDLE cancelEvent, HANDLE runEvent) noexcept
      : cancelEvent_(cancelEvent), runEvent_(runEvent) {}

  bool IsCancelRequested() const override;
  bool IsPauseRequested() const override;

 private:
  HANDLE cancelEvent_ = nullptr;  // borrowed
  HANDLE runEvent_ = nullptr;     // borrowed
};
