#include "TestFiles.h"
#include "EngineTexts.h"
#include "InetFile.h"
#include "Notify.h"
#include "NotifyRecorder.h"
#include "TestHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

std::string Body(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 26);
    return body;
}

// One whole transfer, as the engine runs it: start and wait at once.
struct Transfer {
    explicit Transfer(const std::string& url, const std::string& localPath, long expectedSize = 0,
                      HWND window = nullptr) {
        file.SetUrl(url);
        file.SetLocalPath(localPath);
        file.SetExpectedSize(expectedSize);
        file.SetNotifyWindow(window);
        file.SetTimeouts(2000, 2000);
        EXPECT_TRUE(file.Start());
        file.Wait();
    }
    CInetFile file;
};

std::vector<LPARAM> ProgressFigures(NotifyRecorder& recorder) {
    std::vector<LPARAM> figures;
    for (const auto& notice : recorder.Notices()) {
        EXPECT_EQ(notice.code, NOTIFY_PROGRESS);
        EXPECT_FALSE(notice.sent);
        figures.push_back(notice.value);
    }
    return figures;
}

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
        NotifyRecorder recorder;
        Transfer transfer(server.Url("/unknown.bin"), folder.File("unknown.bin"), 0, recorder.Window());
        EXPECT_EQ(ProgressFigures(recorder), (std::vector<LPARAM>{5, 10, 10}));
    }
    {
        NotifyRecorder recorder;
        Transfer transfer(server.Url("/known.bin"), folder.File("known.bin"), 1000, recorder.Window());
        EXPECT_EQ(ProgressFigures(recorder), (std::vector<LPARAM>{150}));
    }
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

}  // namespace
