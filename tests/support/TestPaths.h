// Paths the tests need: the source tree's fixtures, the build tree, and fresh scratch folders.
// Under Wine the Unix paths from the environment are reached through drive Z:.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kest::test {

// A Unix path as the running program sees it ("Z:\..." on Windows, unchanged natively).
std::filesystem::path NativePath(std::string_view unixPath);

// The source tree, from KEST_SOURCE_DIR; a relative part may follow ("tests/fixtures/a.xml").
std::filesystem::path SourcePath(std::string_view relative = {});

// The build tree, from KEST_BINARY_DIR.
std::filesystem::path BinaryPath(std::string_view relative = {});

// A new empty folder under the build tree's "test-scratch", unique to this process and call.
std::filesystem::path ScratchFolder(std::string_view hint);

// Whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

// Writes bytes to a file, creating its folder; false on failure.
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// The command line a marker probe copied to exePath wrote, waiting up to timeoutMs for it;
// empty when none appeared.
std::wstring WaitForMarker(const std::filesystem::path& exePath, int timeoutMs = 10000);

}  // namespace kest::test
