#include "tests/support/TestPaths.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <process.h>
#define KEST_GETPID _getpid
#else
#include <unistd.h>
#define KEST_GETPID getpid
#endif

namespace kest::test {

namespace {

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::filesystem::path Join(const std::filesystem::path& base, std::string_view relative) {
  if (relative.empty()) return base;
  std::filesystem::path result = base;
  result /= std::filesystem::path(std::string(relative)).make_preferred();
  return result;
}

}  // namespace

std::filesystem::path NativePath(std::string_view unixPath) {
#ifdef _WIN32
  if (!unixPath.empty() && unixPath.front() == '/') {
    std::string converted = "Z:" + std::string(unixPath);
    for (char& c : converted)
      if (c == '/') c = '\\';
    return std::filesystem::path(converted);
  }
#endif
  return std::filesystem::path(std::string(unixPath));
}

std::filesystem::path SourcePath(std::string_view relative) {
  return Join(NativePath(EnvOrEmpty("KEST_SOURCE_DIR")), relative);
}

std::filesystem::path BinaryPath(std::string_view relative) {
  return Join(NativePath(EnvOrEmpty("KEST_BINARY_DIR")), relative);
}

std::filesystem::path ScratchFolder(std::string_view hint) {
  static std::atomic<int> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::ostringstream name;
  name << hint << '-' << KEST_GETPID() << '-' << ticks << '-' << counter++;
  std::filesystem::path base = BinaryPath("test-scratch");
  if (base.empty() || EnvOrEmpty("KEST_BINARY_DIR").empty())
    base = std::filesystem::temp_directory_path() / "kest-test-scratch";
  std::filesystem::path folder = base / name.str();
  std::filesystem::create_directories(folder);
  return folder;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code ignored;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::wstring WaitForMarker(const std::filesystem::path& exePath, int timeoutMs) {
  const std::filesystem::path marker =
      exePath.native() + std::filesystem::path(".cmdline").native();
  std::string previous;
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    std::string bytes = ReadFileBytes(marker);
    // Done once the file is there and has stopped changing.
    if (!bytes.empty() && bytes == previous) {
      std::wstring text;
      for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
      return text;
    }
    previous = std::move(bytes);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return {};
}

}  // namespace kest::test
