// Windows Installer progress messages ("1: 2 2: 1500 3: 0 4: 1") turned into a percentage for
// the package being installed. A reset spreads what is left of 100 over its new tick total, so
// the percentage continues from where it was and never goes back.
#pragma once

#include <optional>
#include <string_view>

struct ProgressMessage {
  int type = 0;  // field 1: 0 reset, 1 action information, 2 progress report, 3 total addition
  int field2 = 0;
  int field3 = 0;
  int field4 = 0;
};

// Reads the numbered fields, stopping as soon as the message type has what it needs. No value
// when the text is not a progress message this reader understands (which gets no action).
std::optional<ProgressMessage> ParseProgressMessage(std::wstring_view text);

class InstallerProgress {
 public:
  // Before each package: the tick state starts over, the reported percentage carries on.
  void StartPackage() noexcept;

  // Applies one message; answers the new percentage when it is to be reported.
  std::optional<int> Apply(const ProgressMessage& message) noexcept;

  int Reported() const noexcept { return reported_; }

 private:
  std::optional<int> Advance(long long ticks) noexcept;

  int reported_ = 0;
  int base_ = 0;
  long long total_ = 0;
  bool forward_ = true;
  long long position_ = 0;
};
