#include "TestFiles.h"
#include "run/EngineTexts.h"
#include "transfer/InetFile.h"
#include "TestHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

std::string Body(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 26);
    return body;
}

// One whole transfer, as the engine runs it: start and wait at once. With
// `progress`, the figures the transfer reports are collected there.
struct Transfer {
    explicit Transfer(const std::string& url, const std::string& localPath, int64_t expectedSize = 0,
                      std::vector<int>* progress = nullptr, LowSpeedLimit lowSpeed = kDefaultLowSpeedLimit,
                      bool resume = false) {
        file.SetResume(resume, resume);
        file.SetUrl(url);
        file.SetLocalPath(localPath);
        file.SetExpectedSize(expectedSize);
        if (progress != nullptr) file.SetProgressReport([progress](int percent) { progress->push_back(percent); });
        file.SetTimeouts(2000, 2000);
        file.SetLowSpeedLimit(lowSpeed);
        EXPECT_TRUE(file.Start());
        file.Wait();
    }
    CInetFile file;
};

using Clock = std::chrono::steady_clock;

class InetFileTest : public testing::Test {
protected:
    TestHttpServer server;
    ScratchFolder folder;
};

TEST_F(InetFileTest, DownloadsTheBodyWithTheAgentAndHeaders) {
    std::string body = Body(20000);
    server.Serve("/files/a.bin", body);
    std::string local = folder.File("a.bin");
    Transfer transfer(server.Url("/files/a.bin"), local);

    EXPECT_TRUE(transfer.file.Completed());
    EXPECT_EQ(ReadWholeFile(local), body);
    EXPECT_EQ(transfer.file.BytesReceived(), body.size());
    EXPECT_FALSE(PathExists(local + ".download"));
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/files/a.bin");
    EXPECT_EQ(requests[0].Header("Accept"), "*/*");
    EXPECT_NE(requests[0].Header("User-Agent").find("QMWL Koravel"), std::string::npos)
        << requests[0].Header("User-Agent");
}

TEST_F(InetFileTest, FailedTransfersLeaveTheOlderFileUntouched) {
    server.ServeStatus("/missing.bin", 404);
    server.ServeCutShort("/short.bin", Body(30000), 10000);
    server.ServeStalled("/stalled.bin");
    server.ServeSlowly("/stalls-midway.bin", Body(30000), 10000, 600000);
    const struct {
        std::string url;
        const char* errorText;
    } cases[] = {
        {server.Url("/missing.bin"), InetFailureText(CInetFile::kServerFileFailed)},
        {server.Url("/short.bin"), InetFailureText(0)},
        {server.Url("/stalled.bin"), InetFailureText(0)},
        {server.Url("/stalls-midway.bin"), InetFailureText(0)},
        {"ftp://127.0.0.1/a.bin", InetFailureText(CInetFile::kBadUrl)},
        {"not a url", InetFailureText(CInetFile::kBadUrl)},
    };
    for (const auto& c : cases) {
        std::string local = folder.File("older.bin");
        WriteWholeFile(local, "older copy");
        auto started = std::chrono::steady_clock::now();
        Transfer transfer(c.url, local);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15)) << c.url;
        EXPECT_FALSE(transfer.file.Completed()) << c.url;
        EXPECT_EQ(ReadWholeFile(local), "older copy") << c.url;
        EXPECT_FALSE(PathExists(local + ".download")) << c.url;
        EXPECT_EQ(transfer.file.LastErrorText(), c.errorText) << c.url;
    }
}

TEST_F(InetFileTest, NotFoundCreatesNoFile) {
    server.ServeStatus("/missing.bin", 404);
    std::string local = folder.File("missing.bin");
    Transfer transfer(server.Url("/missing.bin"), local);
    EXPECT_FALSE(transfer.file.Completed());
    EXPECT_FALSE(PathExists(local));
    EXPECT_EQ(server.RequestCount("/missing.bin"), 1);
}

// (A blank in the name is left to the platform's own request encoding; the
// escaping itself keeps it, as the native tests show.)
TEST_F(InetFileTest, RequestsAChineseNameAsEscapedUtf8AndAsciiUnchanged) {
    // 文件.dll in GB2312, requested as its UTF-8 bytes in lowercase escapes.
    server.Serve("/files/%e6%96%87%e4%bb%b6.dll", "chinese");
    server.Serve("/files/plain-name_1+2.txt", "plain");
    std::string chineseLocal = folder.File("chinese.dll");
    Transfer chinese(server.Url("/files/\xce\xc4\xbc\xfe.dll"), chineseLocal);
    EXPECT_TRUE(chinese.file.Completed());
    EXPECT_EQ(ReadWholeFile(chineseLocal), "chinese");

    std::string plainLocal = folder.File("plain.txt");
    Transfer plain(server.Url("/files/plain-name_1+2.txt"), plainLocal);
    EXPECT_TRUE(plain.file.Completed()) << server.Requests().back().target;  // ASCII punctuation as it is
    EXPECT_EQ(ReadWholeFile(plainLocal), "plain");
}

TEST_F(InetFileTest, ProgressPerChunkWithUnknownAndKnownSize) {
    server.Serve("/unknown.bin", Body(8192 + 8192 + 100));
    server.Serve("/known.bin", Body(1500));
    {
        std::vector<int> figures;
        Transfer transfer(server.Url("/unknown.bin"), folder.File("unknown.bin"), 0, &figures);
        EXPECT_EQ(figures, (std::vector<int>{5, 10, 10}));
    }
    {
        std::vector<int> figures;
        Transfer transfer(server.Url("/known.bin"), folder.File("known.bin"), 1000, &figures);
        EXPECT_EQ(figures, (std::vector<int>{150}));
    }
}

// A server that keeps sending a little now and then, each piece well within
// the per-read time-out, is broken off once a whole period brings less than
// the minimum; one fast enough goes on to the end.
TEST_F(InetFileTest, ATransferBelowTheLowSpeedLimitIsBrokenOff) {
    const LowSpeedLimit limit{1024, 1000};  // the default's 60 s shortened to one
    server.ServeSlowly("/trickle.bin", Body(3000), 10, 100);  // 100 bytes a second, for 30 s
    server.ServeSlowly("/steady.bin", Body(6000), 1500, 300);  // 5000 bytes a second
    const struct {
        const char* target;
        bool completes;
    } cases[] = {
        {"/trickle.bin", false},
        {"/steady.bin", true},
    };
    for (const auto& c : cases) {
        std::string local = folder.File("rate.bin");
        DeleteFileA(local.c_str());
        auto started = Clock::now();
        Transfer transfer(server.Url(c.target), local, 0, nullptr, limit);
        EXPECT_LT(Clock::now() - started, std::chrono::seconds(8)) << c.target;
        EXPECT_EQ(transfer.file.Completed(), c.completes) << c.target;
        EXPECT_EQ(PathExists(local), c.completes) << c.target;
        EXPECT_FALSE(PathExists(local + ".download")) << c.target;
    }
}

// Without a Content-Length the manifest's Length is the most a body may
// carry; with one, the server's own figure decides.
TEST_F(InetFileTest, ABodyLongerThanAnnouncedIsNoDownload) {
    server.ServeUnannounced("/unannounced.bin", Body(5000));
    server.Serve("/announced.bin", Body(5000));
    const struct {
        const char* target;
        int64_t manifestLength;
        bool completes;
    } cases[] = {
        {"/unannounced.bin", 1000, false},
        {"/unannounced.bin", 4999, false},
        {"/unannounced.bin", 5000, true},
        {"/unannounced.bin", 0, true},  // no size known: the 2 GiB ceiling
        {"/announced.bin", 1000, true},
    };
    for (const auto& c : cases) {
        std::string local = folder.File("length.bin");
        WriteWholeFile(local, "older copy");
        Transfer transfer(server.Url(c.target), local, c.manifestLength);
        EXPECT_EQ(transfer.file.Completed(), c.completes) << c.target << " " << c.manifestLength;
        EXPECT_EQ(ReadWholeFile(local), c.completes ? Body(5000) : "older copy") << c.target << " " << c.manifestLength;
        EXPECT_FALSE(PathExists(local + ".download"));
    }
}

// Redirects are followed to http addresses only: one to another scheme
// fails the attempt before anything is asked of the place it names.
TEST_F(InetFileTest, RedirectsAreFollowedWithinHttpOnly) {
    std::string port = std::to_string(server.Port());
    server.Serve("/files/target.bin", "redirected body");
    server.ServeRedirect("/to-http", 302, server.Url("/files/target.bin"));
    server.ServeRedirect("/to-relative", 301, "/files/target.bin");
    server.ServeRedirect("/to-second", 307, "/to-relative");
    server.ServeRedirect("/to-ftp", 302, "ftp://127.0.0.1:" + port + "/files/target.bin");
    server.ServeRedirect("/to-file", 302, "file:///C:/windows/win.ini");
    server.ServeRedirect("/to-nowhere", 302, "");
    server.ServeRedirect("/loop", 302, "/loop");
    const struct {
        const char* target;
        bool completes;
        int targetRequests;
        int failure;  // the cause whose text the transfer keeps, 0 for none
    } cases[] = {
        {"/to-http", true, 1, 0},
        {"/to-relative", true, 1, 0},
        {"/to-second", true, 1, 0},
        {"/to-ftp", false, 0, CInetFile::kRedirectFailed},
        {"/to-file", false, 0, CInetFile::kRedirectFailed},
        {"/to-nowhere", false, 0, CInetFile::kBadRedirectUrl},
        {"/loop", false, 0, CInetFile::kRedirectFailed},
    };
    for (const auto& c : cases) {
        std::string local = folder.File("redirected.bin");
        DeleteFileA(local.c_str());
        int before = server.RequestCount("/files/target.bin");
        auto started = Clock::now();
        Transfer transfer(server.Url(c.target), local);
        EXPECT_LT(Clock::now() - started, std::chrono::seconds(15)) << c.target;
        EXPECT_EQ(transfer.file.Completed(), c.completes) << c.target;
        EXPECT_EQ(PathExists(local), c.completes) << c.target;
        if (c.completes) {
            EXPECT_EQ(ReadWholeFile(local), "redirected body") << c.target;
        }
        EXPECT_EQ(server.RequestCount("/files/target.bin") - before, c.targetRequests) << c.target;
        EXPECT_EQ(transfer.file.LastErrorText(), InetFailureText(c.failure)) << c.target;
    }
    EXPECT_EQ(server.RequestCount("/loop"), CInetFile::kMaxRedirects + 1);
}

TEST_F(InetFileTest, DestroyingARunningTransferCancelsIt) {
    server.ServeSlowly("/slow.bin", Body(8192 * 200), 8192, 100);  // twenty seconds in all
    std::string local = folder.File("slow.bin");
    auto file = std::make_unique<CInetFile>();
    file->SetUrl(server.Url("/slow.bin"));
    file->SetLocalPath(local);
    ASSERT_TRUE(file->Start());
    auto started = std::chrono::steady_clock::now();
    while (file->BytesReceived() == 0 && std::chrono::steady_clock::now() - started < std::chrono::seconds(10)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GT(file->BytesReceived(), 0u);
    file.reset();  // returns once the transfer's thread has ended
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(PathExists(local));
    EXPECT_FALSE(PathExists(local + ".download"));
}

using Version = TestHttpServer::Version;

const char kEtag[] = "\"v1\"";
const char kDate[] = "Mon, 01 Jan 2024 00:00:00 GMT";

// A body cut at half leaves the partial file and its validator; the next
// transfer asks for the rest with that validator and takes what the answer
// allows: the rest (206), the whole file again (200), or, after any other
// answer, the whole file from a request of its own.
TEST_F(InetFileTest, ACutTransferIsResumedWhereTheServerAllows) {
    const std::string body = Body(40000);
    const std::string changed = Body(50000).substr(7, 40000);
    const size_t half = 20000;
    const struct {
        const char* what;
        std::vector<Version> versions;
        bool honourRanges;
        std::string validator;  // kept beside the partial file after the cut
        std::string finalBody;
        bool resumed;          // the second transfer appended to the partial file
        int requests;          // in all, the cut one included
        size_t bytesSent;      // body bytes of all answers
    } cases[] = {
        {"etag", {{body, kEtag, "", half}, {body, kEtag, ""}}, true, kEtag, body, true, 2, body.size()},
        {"last-modified", {{body, "", kDate, half}, {body, "", kDate}}, true, kDate, body, true, 2, body.size()},
        {"ranges ignored", {{body, kEtag, "", half}, {body, kEtag, ""}}, false, kEtag, body, false, 2,
         half + body.size()},
        {"changed on the server", {{body, kEtag, "", half}, {changed, "\"v2\"", ""}}, true, kEtag, changed, false, 2,
         half + changed.size()},
        // Shorter now, same validator: the range lies outside it (416), so
        // the whole file is asked for again.
        {"range not satisfiable", {{body, kEtag, "", half}, {body.substr(0, 1000), kEtag, ""}}, true, kEtag,
         body.substr(0, 1000), false, 3, half + 1000},
        // A 206 that does not continue the partial file: of a changed file
        // (another validator), or from another byte than asked.
        {"206 of a changed file", {{body, kEtag, "", half}, {changed, "\"v2\"", "", std::string::npos, true}}, true,
         kEtag, changed, false, 3, half + (changed.size() - half) + changed.size()},
        {"206 from another byte",
         {{body, kEtag, "", half}, {body, kEtag, "", std::string::npos, false, 0}, {body, kEtag, ""}}, true, kEtag, body,
         false, 3, half + 2 * body.size()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string target = std::string("/resume/") + c.what;
        std::replace(target.begin(), target.end(), ' ', '-');
        server.ServeVersions(target, c.versions, c.honourRanges);
        const std::string local = folder.File("resumed.bin");
        DeleteFileA(local.c_str());
        {
            Transfer cut(server.Url(target), local, 0, nullptr, kDefaultLowSpeedLimit, true);
            EXPECT_FALSE(cut.file.Completed());
            EXPECT_FALSE(PathExists(local));
            EXPECT_EQ(ReadWholeFile(local + ".download"), body.substr(0, half));
            EXPECT_EQ(ReadWholeFile(local + ".download.validator"), c.validator);
        }
        Transfer rest(server.Url(target), local, 0, nullptr, kDefaultLowSpeedLimit, true);
        EXPECT_TRUE(rest.file.Completed());
        EXPECT_EQ(ReadWholeFile(local), c.finalBody);
        EXPECT_FALSE(PathExists(local + ".download"));
        EXPECT_FALSE(PathExists(local + ".download.validator"));
        EXPECT_EQ(rest.file.ResumedFrom(), c.resumed ? half : 0u);
        EXPECT_EQ(server.BodyBytesSent(target), c.bytesSent);
        std::vector<TestHttpServer::Request> requests;
        for (const auto& request : server.Requests()) {
            if (request.target == target) requests.push_back(request);
        }
        ASSERT_EQ(requests.size(), static_cast<size_t>(c.requests));
        EXPECT_EQ(requests[0].Header("Range"), "");
        EXPECT_EQ(requests[1].Header("Range"), "bytes=" + std::to_string(half) + "-");
        EXPECT_EQ(requests[1].Header("If-Range"), c.validator);
        if (c.requests == 3) {
            EXPECT_EQ(requests[2].Header("Range"), "");
        }
    }
}

// A run that ended after a body was whole and before it was moved into place
// leaves a partial file of the whole size. It is moved into place as it is:
// without a request when the manifest gives the size, or when the server
// answers the range after its end with 416 and the file's size.
TEST_F(InetFileTest, APartialFileThatIsAlreadyWholeIsMovedIntoPlace) {
    const std::string body = Body(30000);
    const struct {
        const char* what;
        int64_t expectedSize;
        int requests;
    } cases[] = {
        {"size from the manifest", static_cast<int64_t>(body.size()), 0},
        {"size from a 416", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string target = std::string("/whole/") + c.what;
        std::replace(target.begin(), target.end(), ' ', '-');
        server.ServeVersions(target, {{body, kEtag, ""}}, true);
        const std::string local = folder.File("whole.bin");
        DeleteFileA(local.c_str());
        WriteWholeFile(local + ".download", body);
        WriteWholeFile(local + ".download.validator", kEtag);

        Transfer rest(server.Url(target), local, c.expectedSize, nullptr, kDefaultLowSpeedLimit, true);
        EXPECT_TRUE(rest.file.Completed()) << rest.file.LastErrorText();
        EXPECT_EQ(ReadWholeFile(local), body);
        EXPECT_FALSE(PathExists(local + ".download"));
        EXPECT_FALSE(PathExists(local + ".download.validator"));
        EXPECT_EQ(rest.file.ResumedFrom(), body.size());
        EXPECT_EQ(server.RequestCount(target), c.requests);
        EXPECT_EQ(server.BodyBytesSent(target), 0u);
        if (c.requests == 1) {
            EXPECT_EQ(server.Requests().back().Header("Range"), "bytes=" + std::to_string(body.size()) + "-");
        }
    }
}

// Without a validator, or when the caller does not keep partial files (the
// news and the manifest), a cut transfer leaves nothing behind; a caller that
// does not resume starts a leftover partial file again from zero.
TEST_F(InetFileTest, APartialFileIsKeptOnlyWithAValidatorAndWhenAsked) {
    const std::string body = Body(30000);
    server.ServeVersions("/plain", {{body, "", "", 10000}}, true);
    server.ServeVersions("/tagged", {{body, kEtag, "", 10000}, {body, kEtag, "", 10000}, {body, kEtag, ""}}, true);
    const struct {
        const char* target;
        bool keep;
        bool kept;
    } cases[] = {
        {"/plain", true, false},
        {"/tagged", false, false},
        {"/tagged", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.target) + (c.keep ? " kept" : " not kept"));
        const std::string local = folder.File("kept.bin");
        CInetFile file;
        file.SetUrl(server.Url(c.target));
        file.SetLocalPath(local);
        file.SetTimeouts(2000, 2000);
        file.SetResume(c.keep, false);
        ASSERT_TRUE(file.Start());
        file.Wait();
        EXPECT_FALSE(file.Completed());
        EXPECT_EQ(PathExists(local + ".download"), c.kept);
        EXPECT_EQ(PathExists(local + ".download.validator"), c.kept);
    }
    // The partial file of the last case, not to be resumed: asked whole.
    const size_t before = server.BodyBytesSent("/tagged");
    const std::string local = folder.File("kept.bin");
    Transfer whole(server.Url("/tagged"), local);
    EXPECT_TRUE(whole.file.Completed());
    EXPECT_EQ(ReadWholeFile(local), body);
    EXPECT_EQ(server.BodyBytesSent("/tagged") - before, body.size());
    EXPECT_EQ(server.Requests().back().Header("Range"), "");
    EXPECT_FALSE(PathExists(local + ".download.validator"));
}

}  // namespace
