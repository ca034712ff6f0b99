// The tests' side of kest_test_server.py: where a running server listens, its URLs and the
// requests it has logged. Read from the state file the server writes once it listens.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kest::test {

struct LoggedRequest {
  std::string listener;  // "http" or the name of a --tls listener
  std::string method;
  std::string target;  // path and query as sent
  std::map<std::string, std::string> headers;
};

class TestServer {
 public:
  // The server recorded in a state file (a Unix path, as the server wrote it); none when the
  // file is missing or names no http port.
  static std::optional<TestServer> FromStateFile(std::string_view unixStatePath);

  int Port(std::string_view listener = "http") const;

  // "http://127.0.0.1:PORT" + pathAndQuery; a --tls listener gives "https://HOST:PORT...".
  std::wstring Url(std::string_view pathAndQuery, std::string_view listener = "http",
                   std::string_view host = "127.0.0.1") const;

  // Every logged request whose target contains the text, oldest first.
  std::vector<LoggedRequest> RequestsContaining(std::string_view text) const;

 private:
  std::map<std::string, std::string, std::less<>> state_;
  std::filesystem::path log_;
};

// The server a ctest fixture started, from its state file under the build tree
// ("net-test-server/state"); the test fails at once when it is not running.
const TestServer& RunningServer(std::string_view stateFileInBuildTree);

// A query value that no other request of this or any concurrent test run carries.
std::string UniqueTag(std::string_view hint);

}  // namespace kest::test
