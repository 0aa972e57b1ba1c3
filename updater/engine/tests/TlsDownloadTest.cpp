// Downloads over https against the HTTPS servers of tls/tls_test_server.py on
// 127.0.0.1 (started by ctest before this program): one whose certificate is
// issued by the tests' own authority, which the test adds to the Root store
// of this Wine prefix, and three that must be refused: a certificate signed
// by itself, one issued by an authority never trusted, and one of the
// trusted authority for another name.
#include "TestFiles.h"
#include "run/EngineTexts.h"
#include "transfer/InetFile.h"
#include "transfer/InternetConnection.h"
#include "WebRootFile.h"
#include "TestHttpServer.h"
#include "TlsTestServers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

namespace {

const char kCertDir[] = KORAVEL_TLS_CERT_DIR;
const char kRootDir[] = KORAVEL_TLS_ROOT_DIR;
const char kStateFile[] = KORAVEL_TLS_STATE_FILE;

// The connections a server has logged: "served <path>", "dropped" or
// "handshake-failed <reason>", one a line.
std::vector<std::string> LogLines(const std::string& server) {
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(std::string(kRootDir) + "/" + server + ".log"));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

// The lines logged after the first `before`, once there are some (the server
// logs a connection when it ends, a moment after the client gave up).
std::vector<std::string> LinesAfter(const std::string& server, size_t before) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<std::string> lines;
    do {
        lines = LogLines(server);
        if (lines.size() > before) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::vector<std::string>(lines.begin() + std::min(before, lines.size()), lines.end());
}

// A file the servers serve, removed with the object.
class TlsServedFile : public WebRootFile {
public:
    TlsServedFile(const std::string& tag, const std::string& body) : WebRootFile(kRootDir, "tls-" + tag, body) {}
};

struct Transfer {
    Transfer(const std::string& url, const std::string& localPath) {
        file.SetUrl(url);
        file.SetLocalPath(localPath);
        file.SetTimeouts(5000, 5000);
        EXPECT_TRUE(file.Start());
        file.Wait();
    }
    CInetFile file;
};

class TlsDownloadTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(TrustTestAuthority(kCertDir), ""); }

    void SetUp() override {
        ports = ReadTlsServerPorts(kStateFile);
        for (const char* name : {"trusted", "wrongname", "selfsigned", "otherca"})
            ASSERT_GT(ports[name], 0) << "no port of the " << name << " server in " << kStateFile
                                      << " (is the koravel_tls_server fixture running?)";
    }

    std::string Url(const std::string& server, const std::string& name) {
        return "https://127.0.0.1:" + std::to_string(ports[server]) + "/" + name;
    }

    std::map<std::string, int> ports;
    ScratchFolder folder;
};

TEST_F(TlsDownloadTest, AnHttpsUrlWithoutPortNamesPort443) {
    ParsedUrl url;
    ASSERT_TRUE(ParseUrl("https://127.0.0.1/files/a.bin", &url));
    EXPECT_TRUE(url.isHttps);
    EXPECT_FALSE(url.isHttp);
    EXPECT_EQ(url.port, 443);
    ASSERT_TRUE(ParseUrl("https://127.0.0.1:8443/files/a.bin", &url));
    EXPECT_EQ(url.port, 8443);
}

TEST_F(TlsDownloadTest, DownloadsFromAServerOfTheTrustedAuthority) {
    std::string body = PatternBody(50000, 1);
    TlsServedFile served("trusted", body);
    std::string local = folder.File("a.bin");
    size_t before = LogLines("trusted").size();
    Transfer transfer(Url("trusted", served.Name()), local);

    EXPECT_TRUE(transfer.file.Completed()) << transfer.file.LastErrorText();
    EXPECT_TRUE(HoldsBody(local, body));
    EXPECT_EQ(transfer.file.BytesReceived(), body.size());
    EXPECT_FALSE(PathExists(local + ".download"));
    // It came over TLS from that server.
    auto lines = LinesAfter("trusted", before);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "served /" + served.Name()), lines.end());
}

TEST_F(TlsDownloadTest, RefusesServersWithoutATrustedCertificateAndLeavesNoFile) {
    for (const char* server : {"selfsigned", "otherca", "wrongname"}) {
        TlsServedFile served(server, PatternBody(20000, 2));
        std::string local = folder.File(std::string(server) + ".bin");
        size_t before = LogLines(server).size();
        Transfer transfer(Url(server, served.Name()), local);

        EXPECT_FALSE(transfer.file.Completed()) << server;
        EXPECT_FALSE(PathExists(local)) << server;
        EXPECT_FALSE(PathExists(local + ".download")) << server;
        EXPECT_EQ(transfer.file.LastErrorText(), InetFailureText(0)) << server;
        // The server was there and the client reached it, but asked nothing.
        auto lines = LinesAfter(server, before);
        EXPECT_FALSE(lines.empty()) << server << ": no connection arrived";
        for (const auto& line : lines) EXPECT_EQ(line.rfind("served", 0), std::string::npos) << server << ": " << line;
    }
}

// The platform's own reason for each refusal: the certificate, not the network.
TEST_F(TlsDownloadTest, TheRefusalIsForTheCertificate) {
    const struct {
        const char* server;
        DWORD error;
    } cases[] = {
        {"selfsigned", ERROR_INTERNET_INVALID_CA},
        {"otherca", ERROR_INTERNET_INVALID_CA},
        {"wrongname", ERROR_INTERNET_SEC_CERT_CN_INVALID},
    };
    // An issuer that is nowhere to be found: Windows says so; Wine's chain
    // stops at the certificate and reports that its revocation could not
    // be checked. Either is a refusal of the certificate.
    auto accepted = [](const char* server, DWORD expected, DWORD error) {
        return error == expected ||
               (std::string(server) == "otherca" && error == ERROR_INTERNET_SEC_CERT_REV_FAILED);
    };
    for (const auto& c : cases) {
        TlsServedFile served(c.server, "body");
        DWORD error = 0;
        try {
            HttpGet http("Koravel test", 5000, 5000);
            http.Connect("127.0.0.1", static_cast<INTERNET_PORT>(ports[c.server]));
            DWORD status = http.Send("/" + served.Name(), "Accept: */*\r\n", true);
            ADD_FAILURE() << c.server << " answered " << status;
        } catch (const InternetFailure& failure) {
            error = failure.error;
        }
        EXPECT_TRUE(accepted(c.server, c.error, error)) << c.server << ": error " << error << ", expected " << c.error;
    }
}

// A plain http address may lead to an https one; the certificate is checked
// there as on a first address.
TEST_F(TlsDownloadTest, RedirectsFromHttpToHttpsAreCheckedAlike) {
    std::string body = PatternBody(30000, 3);
    TlsServedFile trusted("redirected", body);
    TlsServedFile untrusted("redirected", body);
    TestHttpServer plain;
    plain.ServeRedirect("/to-trusted", 302, Url("trusted", trusted.Name()));
    plain.ServeRedirect("/to-selfsigned", 302, Url("selfsigned", untrusted.Name()));

    std::string good = folder.File("good.bin");
    Transfer toTrusted(plain.Url("/to-trusted"), good);
    EXPECT_TRUE(toTrusted.file.Completed()) << toTrusted.file.LastErrorText();
    EXPECT_TRUE(HoldsBody(good, body));

    std::string bad = folder.File("bad.bin");
    WriteWholeFile(bad, "older copy");
    Transfer toSelfSigned(plain.Url("/to-selfsigned"), bad);
    EXPECT_FALSE(toSelfSigned.file.Completed());
    EXPECT_EQ(ReadWholeFile(bad), "older copy");
    EXPECT_FALSE(PathExists(bad + ".download"));
}

}  // namespace
