// Downloads through an office proxy, as many client machines make them: the
// proxy is named in Windows' Internet settings of the current user, which the
// transfer honours through its preconfigured access. The proxy is tinyproxy
// from the system's packages on 127.0.0.1 (servers/proxy-test-server, started
// by ctest before this program); this program runs in a Wine prefix of its
// own, so that the setting reaches no other test. Plain requests go to the
// proxy as absolute URLs; https goes through a CONNECT tunnel, and the
// certificate is still checked against the origin server's name.
#include "TestFiles.h"
#include "TestHttpServer.h"
#include "TlsTestServers.h"
#include "WebRootFile.h"
#include "transfer/InetFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <vector>

namespace {

const char kProxyStateFile[] = KORAVEL_PROXY_STATE_FILE;
const char kProxyLog[] = KORAVEL_PROXY_LOG;
const char kCertDir[] = KORAVEL_TLS_CERT_DIR;
const char kTlsRootDir[] = KORAVEL_TLS_ROOT_DIR;
const char kTlsStateFile[] = KORAVEL_TLS_STATE_FILE;

const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

int ProxyPort() {
    std::istringstream lines(ReadWholeFile(kProxyStateFile));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("port=", 0) == 0) return std::atoi(line.c_str() + 5);
    return 0;
}

// The requests the proxy has logged ("GET http://..." or "CONNECT host:port"),
// in order.
std::vector<std::string> ProxyRequests() {
    const std::string marker = "): ";
    std::vector<std::string> requests;
    std::istringstream lines(ReadWholeFile(kProxyLog));
    for (std::string line; std::getline(lines, line);) {
        size_t request = line.find("Request (file descriptor ");
        if (request == std::string::npos) continue;
        size_t text = line.find(marker, request);
        if (text != std::string::npos) requests.push_back(line.substr(text + marker.size()));
    }
    return requests;
}

// Whether the proxy logged `request` after its first `before` requests; the
// log is written as the proxy works, so it is read again for a moment.
bool ProxyLogged(const std::string& request, size_t before) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    do {
        std::vector<std::string> requests = ProxyRequests();
        for (size_t i = before; i < requests.size(); ++i)
            if (requests[i].rfind(request, 0) == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

// The proxy named in the current user's Internet settings for the object's
// lifetime, as the control panel writes it; the earlier values come back after.
class ProxySetting {
public:
    explicit ProxySetting(const std::string& server) {
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                  &key_, nullptr),
                  ERROR_SUCCESS);
        hadEnable_ = Read("ProxyEnable", &enable_);
        hadServer_ = Read("ProxyServer", &server_);
        DWORD on = 1;
        EXPECT_EQ(RegSetValueExA(key_, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key_, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                                 static_cast<DWORD>(server.size() + 1)),
                  ERROR_SUCCESS);
    }
    ~ProxySetting() {
        Restore("ProxyEnable", hadEnable_, enable_);
        Restore("ProxyServer", hadServer_, server_);
        RegCloseKey(key_);
    }
    ProxySetting(const ProxySetting&) = delete;
    ProxySetting& operator=(const ProxySetting&) = delete;

private:
    struct Value {
        DWORD type = 0;
        std::vector<BYTE> bytes;
    };
    bool Read(const char* name, Value* value) {
        DWORD size = 0;
        if (RegQueryValueExA(key_, name, nullptr, &value->type, nullptr, &size) != ERROR_SUCCESS) return false;
        value->bytes.resize(size);
        return RegQueryValueExA(key_, name, nullptr, &value->type, value->bytes.data(), &size) == ERROR_SUCCESS;
    }
    void Restore(const char* name, bool had, const Value& value) {
        if (had)
            RegSetValueExA(key_, name, 0, value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size()));
        else
            RegDeleteValueA(key_, name);
    }

    HKEY key_ = nullptr;
    bool hadEnable_ = false, hadServer_ = false;
    Value enable_, server_;
};

bool Download(const std::string& url, const std::string& localPath) {
    CInetFile file;
    file.SetUrl(url);
    file.SetLocalPath(localPath);
    file.SetTimeouts(5000, 5000);
    if (!file.Start()) return false;
    file.Wait();
    EXPECT_TRUE(file.Completed()) << url << ": " << file.LastErrorText();
    return file.Completed();
}

class ProxyDownloadTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(TrustTestAuthority(kCertDir), ""); }

    void SetUp() override {
        proxyPort = ProxyPort();
        ASSERT_GT(proxyPort, 0) << "no proxy port in " << kProxyStateFile
                                << " (is the koravel_proxy_server fixture running?)";
        tlsPort = ReadTlsServerPorts(kTlsStateFile)["trusted"];
        ASSERT_GT(tlsPort, 0) << "no https server in " << kTlsStateFile;
    }

    std::string ProxyAddress() const { return "127.0.0.1:" + std::to_string(proxyPort); }

    int proxyPort = 0;
    int tlsPort = 0;
    ScratchFolder folder;
};

TEST_F(ProxyDownloadTest, AnHttpDownloadAsksTheProxyForTheWholeUrl) {
    TestHttpServer server;
    std::string body = PatternBody(70000, 11);
    server.Serve("/proxied/a.bin", body);
    std::string local = folder.File("a.bin");
    size_t before = ProxyRequests().size();
    {
        ProxySetting proxy(ProxyAddress());
        ASSERT_TRUE(Download(server.Url("/proxied/a.bin"), local));
    }
    EXPECT_TRUE(HoldsBody(local, body));
    EXPECT_EQ(server.RequestCount("/proxied/a.bin"), 1);
    EXPECT_TRUE(ProxyLogged("GET " + server.Url("/proxied/a.bin") + " ", before))
        << "the request did not go through the proxy";
}

TEST_F(ProxyDownloadTest, AnHttpsDownloadTunnelsThroughTheProxyAndChecksTheServer) {
    std::string body = PatternBody(40000, 12);
    WebRootFile served(kTlsRootDir, "proxied", body);
    std::string local = folder.File("b.bin");
    size_t before = ProxyRequests().size();
    {
        ProxySetting proxy(ProxyAddress());
        ASSERT_TRUE(Download("https://127.0.0.1:" + std::to_string(tlsPort) + "/" + served.Name(), local));
    }
    EXPECT_TRUE(HoldsBody(local, body));
    EXPECT_TRUE(ProxyLogged("CONNECT 127.0.0.1:" + std::to_string(tlsPort) + " ", before))
        << "the https request did not go through the proxy";
}

// Without the setting the same download goes straight to the server, so the
// log lines above come from the setting and nothing else.
TEST_F(ProxyDownloadTest, WithoutTheSettingTheServerIsAskedDirectly) {
    TestHttpServer server;
    server.Serve("/direct/c.bin", "direct");
    size_t before = ProxyRequests().size();
    ASSERT_TRUE(Download(server.Url("/direct/c.bin"), folder.File("c.bin")));
    EXPECT_EQ(server.RequestCount("/direct/c.bin"), 1);
    EXPECT_FALSE(ProxyLogged("GET " + server.Url("/direct/c.bin"), before));
}

}  // namespace
