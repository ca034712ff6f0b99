// https requests check the server's certificate in full. The fixture makes a test authority and
// certificates signed by it; the authority is trusted in this Wine prefix for the length of the
// test only, so that a wrong name or an expired date is the one thing wrong with a certificate.
#include <gtest/gtest.h>

#include <windows.h>
// wincrypt.h needs the base types of windows.h first.
#include <wincrypt.h>

#include <sstream>

#include "net/CancelRequest.h"
#include "net/HttpClient.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"
#include "tests/net/NetTestSupport.h"
#include "tests/support/TestPaths.h"

namespace kest::test {
namespace {

// Trusts the test authority in the local machine's root store. The store keeps the change only
// once it is closed, so it is opened and closed for each change.
class TrustedAuthority {
 public:
  bool Add(const std::vector<BYTE>& der) {
    der_ = der;
    HCERTSTORE store = OpenRoot();
    if (store == nullptr) return false;
    const BOOL added = ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der_.data(),
                                                          static_cast<DWORD>(der_.size()),
                                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(store, 0);
    return added != FALSE;
  }

  void Remove() {
    if (der_.empty()) return;
    HCERTSTORE store = OpenRoot();
    PCCERT_CONTEXT wanted = ::CertCreateCertificateContext(X509_ASN_ENCODING, der_.data(),
                                                           static_cast<DWORD>(der_.size()));
    if (store != nullptr && wanted != nullptr) {
      if (PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                              CERT_FIND_EXISTING, wanted, nullptr))
        ::CertDeleteCertificateFromStore(found);
    }
    if (wanted != nullptr) ::CertFreeCertificateContext(wanted);
    if (store != nullptr) ::CertCloseStore(store, 0);
    der_.clear();
  }

 private:
  static HCERTSTORE OpenRoot() {
    return ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE,
                           L"Root");
  }
  std::vector<BYTE> der_;
};

std::vector<BYTE> DerFromPem(const std::string& pem) {
  DWORD size = 0;
  if (!::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                              nullptr))
    return {};
  std::vector<BYTE> der(size);
  if (!::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                              nullptr))
    return {};
  der.resize(size);
  return der;
}

class CertificateTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(OpenInternetSession());
    const auto der = DerFromPem(ReadFileBytes(BinaryPath("net-test-server/certs/ca.pem")));
    ASSERT_FALSE(der.empty());
    ASSERT_TRUE(authority_.Add(der)) << ::GetLastError();
  }

  static void TearDownTestSuite() {
    authority_.Remove();
    CloseInternetSession();
  }

  static TrustedAuthority authority_;
  const CancelRequest never_;
};

TrustedAuthority CertificateTest::authority_;

class DiscardingFile final : public IOutputFile {
 public:
  bool Seek(std::uint64_t) override { return true; }
  bool Write(const void*, std::size_t size) override {
    written += size;
    return true;
  }
  bool Flush() override { return true; }
  std::size_t written = 0;
};

struct Case {
  const char* listener;
  const char* host;
  std::uint32_t expectedError;  // 0: the request succeeds
};

TEST_F(CertificateTest, OnlyAFullyValidCertificateIsAccepted) {
  const Case cases[] = {
      {"good", "localhost", 0},
      {"wrongname", "127.0.0.1", ERROR_INTERNET_SEC_CERT_CN_INVALID},
      {"wrongname", "localhost", ERROR_INTERNET_SEC_CERT_CN_INVALID},
      {"expired", "localhost", ERROR_INTERNET_SEC_CERT_DATE_INVALID},
      {"selfsigned", "localhost", ERROR_INTERNET_INVALID_CA},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.listener) + " via " + c.host;
    const std::wstring url = NetServer().Url("/4096.bin", c.listener, c.host);

    DiscardingFile file;
    RecordingCallback callback;
    const bool fileResult = DownloadUrlToFile(never_, url, file, &callback);
    const auto reports = callback.log.All();
    ASSERT_FALSE(reports.empty()) << what;
    const DownloadStatusInfo& last = reports.back();

    std::ostringstream stream;
    const bool streamResult = DownloadUrlToStream(never_, url, stream);
    const std::int64_t size = QueryRemoteFileSize(url);

    if (c.expectedError == 0) {
      EXPECT_TRUE(fileResult) << what << ": " << last.errorCode;
      EXPECT_EQ(file.written, 4096u) << what;
      EXPECT_TRUE(streamResult) << what;
      EXPECT_EQ(stream.str().size(), 4096u) << what;
      EXPECT_EQ(size, 4096) << what;
    } else {
      EXPECT_FALSE(fileResult) << what;
      EXPECT_EQ(last.errorCode, c.expectedError) << what;
      EXPECT_EQ(last.message, RequestMessage::kCertificate) << what;
      EXPECT_EQ(file.written, 0u) << what;
      EXPECT_FALSE(streamResult) << what;
      EXPECT_TRUE(stream.str().empty()) << what;
      EXPECT_EQ(size, 0) << what;
    }
  }
}

}  // namespace
}  // namespace kest::test
