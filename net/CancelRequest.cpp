#include "net/CancelRequest.h"

bool CancelRequest::IsCancelRequested() const {
  return cancelEvent_ != nullptr && ::WaitForSingleObject(cancelEvent_, 0) == WAIT_OBJECT_0;
}

bool CancelRequest::IsPauseRequested() const {
  return runEvent_ != nullptr && ::WaitForSingleObject(runEvent_, 0) == WAIT_TIMEOUT;
}
