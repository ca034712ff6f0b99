// What the engine's end-to-end tests share: a release served by the loopback server, an
// installer folder with its manifest, recorded message boxes and a watch on the progress.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/server/TestServer.h"

namespace kest::test {

inline constexpr wchar_t kTestProductCode[] = L"{7A1C2D3E-4F50-4617-8A9B-C0D1E2F3A4B5}";

const TestServer& EngineServer();

struct ShownBox {
  std::wstring text, caption;
  UINT style;
};

// Records every message box of the engine and answers it with the given button.
class BoxRecorder {
 public:
  explicit BoxRecorder(int answer = IDOK);
  ~BoxRecorder();
  std::vector<ShownBox> Boxes() const;

 private:
  mutable std::mutex lock_;
  std::vector<ShownBox> boxes_;
};

// Polls the shared progress record while a run goes on: the phases in the order they were
// seen, and whether the overall percentage ever went back.
class ProgressWatch {
 public:
  ProgressWatch();
  ~ProgressWatch();
  void Stop();
  std::vector<int> Phases() const;
  float LargestDrop() const;
  float LastPercent() const;

 private:
  void Poll();
  mutable std::mutex lock_;
  std::vector<int> phases_;
  float largestDrop_ = 0, last_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// One served release and one installer folder, unique to a test.
struct Release {
  std::string tag;                        // the served folder's name
  std::filesystem::path served;           // what the server serves under /<tag>/
  std::filesystem::path installerFolder;  // the installer's own folder (manifest, downloads)
  std::filesystem::path installFolder;    // the product's installation folder
  std::wstring registryKey;               // the manifest's registry key, unique too

  explicit Release(std::string_view hint);
  std::wstring Url(std::string_view file, std::string_view query = "") const;
  // Copies a built file into the served folder under a name.
  void Serve(const std::filesystem::path& source, const std::string& name) const;
  void ServeText(const std::string& name, const std::string& text) const;
  // The requests the server logged for this release.
  std::vector<LoggedRequest> Requests() const;
};

std::filesystem::path TestPackage(std::string_view name);  // built by wixl
std::filesystem::path GermanTransform();                   // made once by make_transform
std::filesystem::path MarkerProbe();

// A version document whose releases both accept an installer of version 1.0.0.0.
std::string VersionDocument(std::string_view freshMinimum = "1.0.0.0",
                            std::string_view patchProduct = "28.1.0.6",
                            std::string_view patchMinimum = "1.0.0.0");

std::wstring ReadMachineString(const std::wstring& key, const wchar_t* name);
std::wstring ReadUserString(const std::wstring& key, const wchar_t* name);
DWORD ReadDword(HKEY root, const std::wstring& key, const wchar_t* name);
bool ProductInstalled();
void UninstallTestPackages();
std::string Narrow(const std::wstring& text);

}  // namespace kest::test
