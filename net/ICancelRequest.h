// How a transfer running on a worker thread learns that it is to stop or to hold.
#pragma once

class ICancelRequest {
 public:
  virtual ~ICancelRequest() = default;
  virtual bool IsCancelRequested() const = 0;
  virtual bool IsPauseRequested() const = 0;
};
