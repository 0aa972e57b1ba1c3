// Downloads against nginx from the system's packages, started on 127.0.0.1
// by ctest before this program (nginx/nginx-test-server). /files/ serves the
// files at full speed; /slow/ slows a whole-file answer to a byte a second
// after its first 128 KiB, so that the client's low-speed limit cuts the
// transfer there, as a failing line would, while a range request (the
// resume) goes at full speed. Every request nginx answered is read back from
// its access log.
#include "ClientFolder.h"
#include "DeltaFixtures.h"
#include "OfferedForms.h"
#include "transfer/InetFile.h"
#include "WebRootFile.h"
#include "TestFiles.h"
#include "run/UpdateEngine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

const char kRootDir[] = KORAVEL_NGINX_ROOT_DIR;
const char kStateFile[] = KORAVEL_NGINX_STATE_FILE;
const char kAccessLog[] = KORAVEL_NGINX_ACCESS_LOG;

const size_t kFileSize = 256 * 1024;
// Where /slow/ starts to crawl, in body bytes.
const size_t kSlowAfter = 128 * 1024;
// A crawl of a byte a second is cut within a second or two.
const LowSpeedLimit kCutCrawl = {4096, 1000};
const DWORD kTimeoutMs = 2000;

int ReadPort() {
    std::istringstream lines(ReadWholeFile(kStateFile));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("port=", 0) == 0) return std::atoi(line.c_str() + 5);
    }
    return 0;
}

// One request as nginx logged it; empty texts where it logged "-".
struct Logged {
    std::string uri;
    int status = 0;
    size_t bytes = 0;  // of the body
    std::string range;
    std::string ifRange;
    std::string granted;  // Content-Range
};

// A logged value: "-" for none, quotes escaped as \x22.
std::string LoggedValue(std::string text) {
    if (text == "-") return std::string();
    for (size_t at; (at = text.find("\\x22")) != std::string::npos;) text.replace(at, 4, "\"");
    return text;
}

// "<uri> <status> <bytes> range=<..> if-range=<..> granted=<..>" (see nginx-test-server).
std::vector<Logged> LoggedRequests(const std::string& uri) {
    std::vector<Logged> requests;
    std::istringstream lines(ReadWholeFile(kAccessLog));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        Logged logged;
        fields >> logged.uri >> logged.status >> logged.bytes;
        const size_t range = line.find(" range="), ifRange = line.find(" if-range="), granted = line.find(" granted=");
        if (logged.uri != uri || range == std::string::npos || ifRange == std::string::npos ||
            granted == std::string::npos) {
            continue;
        }
        logged.range = LoggedValue(line.substr(range + 7, ifRange - range - 7));
        logged.ifRange = LoggedValue(line.substr(ifRange + 10, granted - ifRange - 10));
        logged.granted = LoggedValue(line.substr(granted + 9));
        requests.push_back(logged);
    }
    return requests;
}

// The requests of `uri`, once nginx has logged `count` of them: it logs a
// request when it ends, which for a cut one is a moment after the client left.
std::vector<Logged> WaitForRequests(const std::string& uri, size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    std::vector<Logged> requests = LoggedRequests(uri);
    while (requests.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        requests = LoggedRequests(uri);
    }
    return requests;
}

// One transfer as the engine runs an item's: keeping and resuming its partial file.
struct Transfer {
    Transfer(const std::string& url, const std::string& localPath) {
        file.SetResume(true, true);
        file.SetUrl(url);
        file.SetLocalPath(localPath);
        file.SetTimeouts(kTimeoutMs, kTimeoutMs);
        file.SetLowSpeedLimit(kCutCrawl);
        EXPECT_TRUE(file.Start());
        file.Wait();
    }
    CInetFile file;
};

// What a cut transfer left: the partial file's size and the validator beside it.
struct Leftover {
    size_t size;
    std::string validator;
};

Leftover LeftoverOf(const std::string& localPath) {
    return Leftover{ReadWholeFile(localPath + ".download").size(), ReadWholeFile(localPath + ".download.validator")};
}

class NginxDownloadTest : public testing::Test {
protected:
    void SetUp() override {
        port_ = ReadPort();
        ASSERT_GT(port_, 0) << "no port in " << kStateFile << " (is the koravel_nginx_server fixture running?)";
    }

    // "http://127.0.0.1:<port>/<location>/<name>"
    std::string Url(const std::string& location, const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(port_) + Uri(location, name);
    }
    static std::string Uri(const std::string& location, const std::string& name) {
        return "/" + location + "/" + name;
    }

    // Cuts a transfer of /slow/<name> into `localPath` and checks what it left.
    Leftover Cut(const WebRootFile& served, const std::string& localPath) {
        Transfer cut(Url("slow", served.Name()), localPath);
        EXPECT_FALSE(cut.file.Completed());
        EXPECT_FALSE(PathExists(localPath));
        const Leftover left = LeftoverOf(localPath);
        // The chunk being filled when the crawl was cut is not written.
        EXPECT_GE(left.size, kSlowAfter / 2);
        EXPECT_LE(left.size, kSlowAfter);
        EXPECT_EQ(left.validator.substr(0, 1), "\"") << "an ETag, as nginx gives it";
        return left;
    }

    // Runs the engine's planning and downloads in `client`, as the shell does.
    void RunEngine(const ClientFolder& client) {
        UpdateEngine engine;
        engine.SetLowSpeedLimit(kCutCrawl.minimumBytes, kCutCrawl.periodMs);
        RunEngineIn(client, engine, kDownloadSteps, nullptr, kTimeoutMs);
    }

    ManifestEntry Item(const std::string& location, const WebRootFile& served, const std::string& body) const {
        return ManifestEntry{{"FileName", served.Name()},
                             {"URL", Url(location, served.Name())},
                             {"Length", std::to_string(body.size())},
                             {"MD5", Md5Text(body)}};
    }

    int port_ = 0;
    ScratchFolder folder_;
};

TEST_F(NginxDownloadTest, AWholeDownloadIsOneAnswer) {
    const std::string body = PatternBody(kFileSize, 1);
    WebRootFile served(kRootDir, "nginx-whole", body);
    const std::string local = folder_.File("whole.bin");
    Transfer whole(Url("files", served.Name()), local);
    EXPECT_TRUE(whole.file.Completed());
    EXPECT_TRUE(HoldsBody(local, body));
    EXPECT_FALSE(PathExists(local + ".download"));
    EXPECT_FALSE(PathExists(local + ".download.validator"));
    const std::vector<Logged> requests = WaitForRequests(Uri("files", served.Name()), 1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].status, 200);
    EXPECT_EQ(requests[0].bytes, body.size());
    EXPECT_EQ(requests[0].range, "");
}

// A transfer cut at half asks for the rest with nginx's ETag: nginx answers
// 206 with the rest if the file is the same, and 200 with the whole new file
// if it was replaced in between.
TEST_F(NginxDownloadTest, ACutTransferIsResumedOrFetchedWholeWhenTheFileWasReplaced) {
    const struct {
        const char* what;
        bool replaced;
    } cases[] = {{"same file", false}, {"replaced", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string body = PatternBody(kFileSize, 2);
        const std::string replacement = PatternBody(kFileSize + 1000, 3);
        WebRootFile served(kRootDir, "nginx-cut", body);
        const std::string local = folder_.File(std::string("cut-") + (c.replaced ? "replaced" : "same") + ".bin");
        const Leftover left = Cut(served, local);
        if (c.replaced) served.Replace(replacement);

        Transfer rest(Url("slow", served.Name()), local);
        EXPECT_TRUE(rest.file.Completed());
        EXPECT_TRUE(HoldsBody(local, c.replaced ? replacement : body));
        EXPECT_EQ(rest.file.ResumedFrom(), c.replaced ? 0u : left.size);
        EXPECT_FALSE(PathExists(local + ".download"));
        EXPECT_FALSE(PathExists(local + ".download.validator"));

        const std::vector<Logged> requests = WaitForRequests(Uri("slow", served.Name()), 2);
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0].status, 200);
        EXPECT_EQ(requests[0].range, "");
        EXPECT_EQ(requests[1].range, "bytes=" + std::to_string(left.size) + "-");
        EXPECT_EQ(requests[1].ifRange, left.validator);
        if (c.replaced) {
            EXPECT_EQ(requests[1].status, 200);
            EXPECT_EQ(requests[1].bytes, replacement.size());
            EXPECT_EQ(requests[1].granted, "");
        } else {
            EXPECT_EQ(requests[1].status, 206);
            EXPECT_EQ(requests[1].bytes, body.size() - left.size);
            EXPECT_EQ(requests[1].granted, "bytes " + std::to_string(left.size) + "-" +
                                               std::to_string(body.size() - 1) + "/" + std::to_string(body.size()));
        }
    }
}

// The state file without the time of the run (its DOWNLOAD line), and with
// each text `replaced` by the one beside it.
std::string StateWithoutRunTime(const std::string& path,
                                const std::vector<std::pair<std::string, std::string>>& replaced = {}) {
    std::string text = ReadWholeFile(path);
    const size_t line = text.find("\r\nDOWNLOAD ");
    if (line != std::string::npos) text.erase(line + 2, text.find("\r\n", line + 2) + 2 - (line + 2));
    for (const auto& pair : replaced) {
        for (size_t at = text.find(pair.first); at != std::string::npos; at = text.find(pair.first, at + pair.second.size())) {
            text.replace(at, pair.first.size(), pair.second);
        }
    }
    return text;
}

// The engine's retry of a cut item asks nginx for the rest; the item is
// recorded exactly as after a download in one piece, and the log tells the
// cut request, the retry, the resumed request and the resume.
TEST_F(NginxDownloadTest, TheEnginesRetryResumesAndRecordsTheItemAsAWholeDownloadWould) {
    const std::string body = PatternBody(kFileSize, 4);
    WebRootFile served(kRootDir, "nginx-engine", body);
    ClientFolder whole, resumed;
    whole.WriteManifest({Item("files", served, body)});
    resumed.WriteManifest({Item("slow", served, body)});
    RunEngine(whole);
    RunEngine(resumed);

    for (const ClientFolder* client : {&whole, &resumed}) {
        EXPECT_EQ(BlockStatuses(client->StateFile()), std::vector<std::string>{served.Name() + "=TRUE"});
        EXPECT_TRUE(HoldsBody(client->InUpdate(served.Name()), body));
        EXPECT_FALSE(PathExists(client->InUpdate(served.Name()) + ".download"));
    }
    const std::string slowUrl = Url("slow", served.Name()), fileUrl = Url("files", served.Name());
    EXPECT_EQ(StateWithoutRunTime(resumed.StateFile(), {{resumed.Program(), whole.Program()}, {slowUrl, fileUrl}}),
              StateWithoutRunTime(whole.StateFile()));

    const std::vector<Logged> requests = WaitForRequests(Uri("slow", served.Name()), 2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].range, "");
    EXPECT_EQ(requests[1].status, 206);
    const size_t cutAt = body.size() - requests[1].bytes;
    EXPECT_EQ(requests[1].range, "bytes=" + std::to_string(cutAt) + "-");

    const std::vector<std::string> log = LogTexts(resumed.InUpdate("Koravel.log"));
    std::string all;
    for (const std::string& text : log) all += text + "\n";
    const int first = FindLog(log, "request " + slowUrl + " status 200 bytes " + std::to_string(cutAt) +
                                       " range asked none granted none time ");
    ASSERT_GE(first, 0) << all;
    const int retry = FindLog(log, "retry " + slowUrl + " (attempt 2)", first);
    ASSERT_GT(retry, first) << all;
    const int second = FindLog(log, "request " + slowUrl + " status 206 bytes " + std::to_string(requests[1].bytes) +
                                        " range asked bytes=" + std::to_string(cutAt) + "- granted bytes " +
                                        std::to_string(cutAt) + "-" + std::to_string(body.size() - 1) + "/" +
                                        std::to_string(body.size()) + " time ",
                               retry);
    ASSERT_GT(second, retry) << all;
    EXPECT_EQ(FindLog(log, "resume " + slowUrl + " from byte " + std::to_string(cutAt), second), second + 1) << all;
    EXPECT_EQ(FindLog(log, "retry " + fileUrl), -1) << all;
}

// A partial file that an earlier run left (here a transfer cut as the
// engine's would be) is continued by the next run: one request, for the rest.
TEST_F(NginxDownloadTest, ALaterRunResumesThePartialFileAnEarlierRunLeft) {
    const std::string body = PatternBody(kFileSize, 5);
    WebRootFile served(kRootDir, "nginx-later", body);
    ClientFolder client;
    const Leftover left = Cut(served, client.InUpdate(served.Name()));
    client.WriteManifest({Item("slow", served, body)});
    RunEngine(client);

    EXPECT_EQ(BlockStatuses(client.StateFile()), std::vector<std::string>{served.Name() + "=TRUE"});
    EXPECT_TRUE(HoldsBody(client.InUpdate(served.Name()), body));
    const std::vector<Logged> requests = WaitForRequests(Uri("slow", served.Name()), 2);
    ASSERT_EQ(requests.size(), 2u);  // the cut one and the run's
    EXPECT_EQ(requests[1].status, 206);
    EXPECT_EQ(requests[1].range, "bytes=" + std::to_string(left.size) + "-");
    EXPECT_EQ(requests[1].ifRange, left.validator);
    EXPECT_EQ(requests[1].bytes, body.size() - left.size);
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    EXPECT_GE(FindLog(log, "resume " + Url("slow", served.Name()) + " from byte " + std::to_string(left.size)), 0);
    EXPECT_EQ(FindLog(log, "retry "), -1);
}

// Smaller forms from nginx: the patch where the installed copy is its base,
// the compressed file where the patch is missing (a 404); each checked and
// decoded into the whole file, which is never asked for.
TEST_F(NginxDownloadTest, APatchOrElseTheCompressedFileStandsInForTheWholeFile) {
    const std::string older = OlderFile(), newer = NewerFile();
    const std::string compressed = NewerCompressed(), patch = NewerPatchFromOlder();
    WebRootFile patchedWhole(kRootDir, "nginx-patched", newer), patchedZst(kRootDir, "nginx-patched-zst", compressed),
        patchedPatch(kRootDir, "nginx-patched-zpatch", patch);
    WebRootFile fallbackWhole(kRootDir, "nginx-fallback", newer),
        fallbackZst(kRootDir, "nginx-fallback-zst", compressed);
    const std::string missingPatch = fallbackWhole.Name() + ".missing.zpatch";
    ClientFolder client;
    client.WriteManifest(
        {ItemWithForms(patchedWhole.Name(), Url("files", patchedWhole.Name()), newer,
                       OfferedForms{Url("files", patchedZst.Name()), compressed, Url("files", patchedPatch.Name()),
                                    patch, older}),
         ItemWithForms(fallbackWhole.Name(), Url("files", fallbackWhole.Name()), newer,
                       OfferedForms{Url("files", fallbackZst.Name()), compressed, Url("files", missingPatch), patch,
                                    older})});
    for (const WebRootFile* whole : {&patchedWhole, &fallbackWhole}) {
        ASSERT_TRUE(WriteWholeFile(client.InProgram(whole->Name()), older));
    }
    RunEngine(client);

    EXPECT_EQ(BlockStatuses(client.StateFile()),
              (std::vector<std::string>{patchedWhole.Name() + "=TRUE", fallbackWhole.Name() + "=TRUE"}));
    EXPECT_TRUE(HoldsBody(client.InUpdate(patchedWhole.Name()), newer));
    EXPECT_TRUE(HoldsBody(client.InUpdate(fallbackWhole.Name()), newer));
    const std::vector<Logged> patched = WaitForRequests(Uri("files", patchedPatch.Name()), 1);
    ASSERT_EQ(patched.size(), 1u);
    EXPECT_EQ(patched[0].status, 200);
    EXPECT_EQ(patched[0].bytes, patch.size());
    const std::vector<Logged> missing = WaitForRequests(Uri("files", missingPatch), 1);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].status, 404);
    const std::vector<Logged> fallback = WaitForRequests(Uri("files", fallbackZst.Name()), 1);
    ASSERT_EQ(fallback.size(), 1u);
    EXPECT_EQ(fallback[0].bytes, compressed.size());
    for (const WebRootFile* unasked : {&patchedWhole, &patchedZst, &fallbackWhole}) {
        EXPECT_TRUE(LoggedRequests(Uri("files", unasked->Name())).empty()) << unasked->Name();
    }
}

}  // namespace
