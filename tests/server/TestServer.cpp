#include "tests/server/TestServer.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/TestPaths.h"

namespace kest::test {

std::optional<TestServer> TestServer::FromStateFile(std::string_view unixStatePath) {
  std::ifstream in(NativePath(unixStatePath));
  if (!in) return std::nullopt;
  TestServer server;
  std::string line;
  while (std::getline(in, line)) {
    const auto equals = line.find('=');
    if (equals != std::string::npos)
      server.state_[line.substr(0, equals)] = line.substr(equals + 1);
  }
  if (server.Port() == 0) return std::nullopt;
  server.log_ = NativePath(server.state_["log"]);
  return server;
}

int TestServer::Port(std::string_view listener) const {
  const auto found = state_.find(listener);
  return found == state_.end() ? 0 : std::atoi(found->second.c_str());
}

std::wstring TestServer::Url(std::string_view pathAndQuery, std::string_view listener,
                             std::string_view host) const {
  const std::string scheme = listener == "http" ? "http" : "https";
  const std::string url = scheme + "://" + std::string(host) + ":" +
                          std::to_string(Port(listener)) + std::string(pathAndQuery);
  return std::wstring(url.begin(), url.end());
}

std::vector<LoggedRequest> TestServer::RequestsContaining(std::string_view text) const {
  std::vector<LoggedRequest> requests;
  std::ifstream in(log_);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    if (fields.size() < 4 || fields[3].find(text) == std::string::npos) continue;
    LoggedRequest request{fields[1], fields[2], fields[3], {}};
    for (std::size_t i = 4; i < fields.size(); ++i) {
      const auto colon = fields[i].find(": ");
      if (colon != std::string::npos)
        request.headers[fields[i].substr(0, colon)] = fields[i].substr(colon + 2);
    }
    requests.push_back(std::move(request));
  }
  return requests;
}

const TestServer& RunningServer(std::string_view stateFileInBuildTree) {
  static std::mutex lock;
  static std::map<std::string, std::optional<TestServer>, std::less<>> servers;
  const std::lock_guard guard(lock);
  auto found = servers.find(stateFileInBuildTree);
  if (found == servers.end()) {
    const char* binary = std::getenv("KEST_BINARY_DIR");
    const std::string state =
        std::string(binary ? binary : "") + "/" + std::string(stateFileInBuildTree);
    found =
        servers.emplace(std::string(stateFileInBuildTree), TestServer::FromStateFile(state)).first;
  }
  if (!found->second) {
    ADD_FAILURE() << "the test server of " << stateFileInBuildTree
                  << " is not running (ctest starts it with its fixture)";
    std::abort();
  }
  return *found->second;
}

std::string UniqueTag(std::string_view hint) {
  static std::atomic<int> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::string(hint) + "-" + std::to_string(ticks) + "-" + std::to_string(counter++);
}

}  // namespace kest::test
