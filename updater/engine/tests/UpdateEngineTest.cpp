#include "ClientFolder.h"
#include "run/EngineTexts.h"
#include "trust/ManifestTrailer.h"
#include "run/Notify.h"
#include "NotifyRecorder.h"
#include "statefile/StateFile.h"
#include "TestHttpServer.h"
#include "TestManifestSigner.h"
#include "run/UpdateEngine.h"
#include "transfer/InetFile.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Notice = NotifyRecorder::Notice;

// A notice as the test expects it: code, value or text, sent or posted.
struct Expected {
    int code;
    LPARAM value;
    std::string text;
    bool sent;
};

std::vector<Expected> Without(const std::vector<Notice>& notices, int code) {
    std::vector<Expected> kept;
    for (const Notice& notice : notices) {
        if (notice.code != code) kept.push_back(Expected{notice.code, notice.value, notice.text, notice.sent});
    }
    return kept;
}

void ExpectSameOrder(const std::vector<Expected>& actual, const std::vector<Expected>& expected, const char* kind) {
    ASSERT_EQ(actual.size(), expected.size()) << kind;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].code, expected[i].code) << kind << " notice " << i;
        EXPECT_EQ(actual[i].value, expected[i].value) << kind << " notice " << i;
        EXPECT_EQ(actual[i].text, expected[i].text) << kind << " notice " << i;
    }
}

std::vector<Expected> OnlySent(const std::vector<Expected>& notices, bool sent) {
    std::vector<Expected> kept;
    for (const Expected& notice : notices) {
        if (notice.sent == sent) kept.push_back(notice);
    }
    return kept;
}

// Sent notices are handled ahead of posted ones still queued, so the order is
// checked within each kind: the sent ones among themselves, the posted ones
// among themselves. A notice sent where it should be posted fails either way.
void ExpectSequence(const std::vector<Expected>& actual, const std::vector<Expected>& expected) {
    ExpectSameOrder(OnlySent(actual, true), OnlySent(expected, true), "sent");
    ExpectSameOrder(OnlySent(actual, false), OnlySent(expected, false), "posted");
}

Expected Server(const std::string& host) { return {NOTIFY_SERVER, 0, host, true}; }
Expected ItemCount(int count) { return {NOTIFY_ITEM_COUNT, count, "", true}; }
Expected Finished(int successes) { return {NOTIFY_FINISHED, successes, "", true}; }
Expected Result(int index, const std::string& name, bool ok) { return {NOTIFY_TEXT, 0, ItemResultText(index, name, ok), false}; }
Expected Skipped(int index, const std::string& name) { return {NOTIFY_TEXT, 0, ItemSkippedText(index, name), false}; }
Expected Retry(const std::string& name) { return {NOTIFY_TEXT, 0, ItemRetryText(name), false}; }
Expected Done(int index) { return {NOTIFY_ITEM_DONE, index, "", false}; }

class UpdateEngineTest : public testing::Test {
protected:
    // Starts the engine from a thread of its own and waits, as the shell does.
    void Run(const EngineSteps& steps, HWND window) { RunEngineIn(client, engine, steps, window, 2000); }

    ManifestEntry Item(const std::string& name, const std::string& body) {
        server.Serve("/files/" + name, body);
        return ManifestEntry{{"FileName", name}, {"URL", server.Url("/files/" + name)},
                             {"Length", std::to_string(body.size())}};
    }
    ManifestEntry Missing(const std::string& name) {
        server.ServeStatus("/files/" + name, 404);
        return ManifestEntry{{"FileName", name}, {"URL", server.Url("/files/" + name)}};
    }
    void Install(const std::string& name, const std::string& library) {
        ASSERT_TRUE(CopyFileA(TestLibrary(library).c_str(), client.InProgram(name).c_str(), FALSE));
    }

    TestHttpServer server;
    ClientFolder client;
    UpdateEngine engine;
};

TEST_F(UpdateEngineTest, PlansByVersionTextDateAndDownValue) {
    Install("older.dll", "kvtest_ver1001.dll");
    Install("textual.dll", "kvtest_ver1009.dll");
    Install("plain.dll", "kvtest_noversion.dll");
    Install("forced.dll", "kvtest_ver1009.dll");
    WriteWholeFile(client.InProgram("newer.txt"), "old");
    SetModifiedDate(client.InProgram("newer.txt"), 2020, 1, 1);
    WriteWholeFile(client.InProgram("same.txt"), "old");
    SetModifiedDate(client.InProgram("same.txt"), 2020, 1, 1);

    auto with = [](ManifestEntry entry, const char* name, const char* value) {
        entry.push_back({name, value});
        return entry;
    };
    client.WriteManifest({
        Item("missing.txt", std::string(100, 'm')),
        with(Item("older.dll", std::string(200, 'o')), "FileVersion", "1.0.0.2"),
        with(Item("textual.dll", "t"), "FileVersion", "1.0.0.10"),  // 1.0.0.9 is above it as text
        with(Item("plain.dll", std::string(300, 'p')), "FileVersion", "1.0.0.1"),
        with(Item("newer.txt", std::string(400, 'n')), "FileDateLow", "20200102"),
        with(Item("same.txt", "s"), "FileDateLow", "20200101"),
        with(with(Item("forced.dll", std::string(500, 'f')), "FileVersion", "1.0.0.9"), "DownValue", "1"),
        Item("..\\escaped.txt", "e"),
    });

    NotifyRecorder planOnly;
    Run(kCheckSteps, planOnly.Window());
    EXPECT_EQ(engine.PlannedCount(), 5);
    EXPECT_EQ(engine.PlannedSize(), 1500);
    ExpectSequence(Without(planOnly.Notices(), NOTIFY_PROGRESS),
                   {Server("update.quorvane.com"), ItemCount(5), Finished(0)});
    EXPECT_FALSE(PathExists(client.StateFile()));

    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(engine.SuccessCount(), 5);
    EXPECT_EQ(BlockStatuses(client.StateFile()),
              (std::vector<std::string>{"missing.txt=TRUE", "older.dll=TRUE", "plain.dll=TRUE", "newer.txt=TRUE",
                                        "forced.dll=TRUE"}));
    EXPECT_EQ(ReadWholeFile(client.InUpdate("older.dll")), std::string(200, 'o'));
    EXPECT_EQ(server.RequestCount("/files/textual.dll"), 0);
    EXPECT_EQ(server.RequestCount("/files/..\\escaped.txt"), 0);
    EXPECT_FALSE(PathExists(client.Program() + "\\escaped.txt"));
}

TEST_F(UpdateEngineTest, AnItemFailingFourTimesGetsOneBlock) {
    client.WriteManifest({Item("a.txt", "alpha"), Missing("b.txt"), Item("c.txt", "gamma")});
    NotifyRecorder recorder;
    testing::internal::CaptureStdout();
    Run(kDownloadSteps, recorder.Window());
    std::string trace = testing::internal::GetCapturedStdout();

    std::vector<Notice> notices = recorder.Notices();
    ExpectSequence(Without(notices, NOTIFY_PROGRESS),
                   {Server("update.quorvane.com"), ItemCount(3),
                    Result(1, "a.txt", true), Done(0),
                    Result(2, "b.txt", false), Done(1), Retry("b.txt"),
                    Result(2, "b.txt", false), Done(1), Retry("b.txt"),
                    Result(2, "b.txt", false), Done(1), Retry("b.txt"),
                    Result(2, "b.txt", false), Done(1),
                    Result(3, "c.txt", true), Done(2),
                    Finished(2)});
    // Each attempt is framed by progress 0 and 100, all posted; a transfer
    // adds its own figure per chunk (the whole announced length: 100).
    std::vector<LPARAM> progress;
    for (const Notice& notice : notices) {
        if (notice.code != NOTIFY_PROGRESS) continue;
        EXPECT_FALSE(notice.sent);
        progress.push_back(notice.value);
    }
    EXPECT_EQ(progress, (std::vector<LPARAM>{0, 100, 100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100, 100}));

    EXPECT_EQ(server.RequestCount("/files/b.txt"), 4);
    EXPECT_FALSE(PathExists(client.InUpdate("b.txt")));
    EXPECT_EQ(BlockStatuses(client.StateFile()),
              (std::vector<std::string>{"a.txt=TRUE", "b.txt=FALSE", "c.txt=TRUE"}));
    EXPECT_NE(ReadWholeFile(client.StateFile()).find("UPDATECOUNT 3\r\n"), std::string::npos);
    std::vector<FileListEntry> entries;
    ASSERT_TRUE(ReadFileList(client.StateFile().c_str(), &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].sourcePath, client.Update() + "\\a.txt");
    EXPECT_EQ(entries[0].destinationPath, client.Program() + "\\a.txt");
    EXPECT_EQ(entries[1].fileName, "c.txt");
    EXPECT_NE(trace.find("Processing " + server.Url("/files/b.txt") + " "), std::string::npos) << trace;
    EXPECT_NE(trace.find(" fail"), std::string::npos);
    EXPECT_NE(trace.find(" ok"), std::string::npos);
}

TEST_F(UpdateEngineTest, AfterAnItemGaveUpTheNextFailureIsNotRetriedUntilASuccess) {
    client.WriteManifest({Missing("a.txt"), Missing("b.txt"), Item("c.txt", "gamma"), Missing("d.txt")});
    NotifyRecorder recorder;
    Run(kDownloadSteps, recorder.Window());
    EXPECT_EQ(server.RequestCount("/files/a.txt"), 4);
    EXPECT_EQ(server.RequestCount("/files/b.txt"), 1);
    EXPECT_EQ(server.RequestCount("/files/c.txt"), 1);
    EXPECT_EQ(server.RequestCount("/files/d.txt"), 4);
    int retriesOfB = 0;
    for (const Notice& notice : recorder.Notices()) retriesOfB += notice.text == ItemRetryText("b.txt");
    EXPECT_EQ(retriesOfB, 0);
    EXPECT_EQ(BlockStatuses(client.StateFile()),
              (std::vector<std::string>{"a.txt=FALSE", "b.txt=FALSE", "c.txt=TRUE", "d.txt=FALSE"}));
}

TEST_F(UpdateEngineTest, SkipsCopiesAlreadyDownloadedByVersionOrDigest) {
    ASSERT_TRUE(CopyFileA(TestLibrary("kvtest_ver1009.dll").c_str(), client.InUpdate("tool.dll").c_str(), FALSE));
    WriteWholeFile(client.InUpdate("notes.txt"), "release notes");
    WriteWholeFile(client.InUpdate("stale.txt"), "an older copy");
    ManifestEntry tool = Item("tool.dll", "new tool");
    tool.push_back({"FileVersion", "1.0.0.9"});
    ManifestEntry notes = Item("notes.txt", "release notes");
    notes.push_back({"MD5", Md5Text("release notes")});
    ManifestEntry stale = Item("stale.txt", "fresh copy");
    stale.push_back({"MD5", Md5Text("fresh copy")});
    client.WriteManifest({tool, notes, stale});

    NotifyRecorder recorder;
    Run(kDownloadSteps, recorder.Window());
    ExpectSequence(Without(recorder.Notices(), NOTIFY_PROGRESS),
                   {Server("update.quorvane.com"), ItemCount(3), Skipped(1, "tool.dll"), Done(0),
                    Skipped(2, "notes.txt"), Done(1), Result(3, "stale.txt", true), Done(2), Finished(3)});
    EXPECT_EQ(server.RequestCount("/files/tool.dll"), 0);
    EXPECT_EQ(server.RequestCount("/files/notes.txt"), 0);
    EXPECT_EQ(ReadWholeFile(client.InUpdate("stale.txt")), "fresh copy");
    EXPECT_EQ(BlockStatuses(client.StateFile()),
              (std::vector<std::string>{"tool.dll=TRUE", "notes.txt=TRUE", "stale.txt=TRUE"}));
}

TEST_F(UpdateEngineTest, AnOlderCopyOrAWrongDigestIsNoSuccess) {
    WriteWholeFile(client.InUpdate("old.txt"), "left from an earlier run");
    ManifestEntry corrupt = Item("corrupt.txt", "not what was announced");
    corrupt.push_back({"MD5", Md5Text("the announced content")});
    server.ServeCutShort("/files/short.txt", std::string(5000, 's'), 100);
    ManifestEntry shortBody{{"FileName", "short.txt"}, {"URL", server.Url("/files/short.txt")}};
    client.WriteManifest({Missing("old.txt"), Item("ok.txt", "fine"), corrupt, Item("ok2.txt", "fine"), shortBody});

    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(BlockStatuses(client.StateFile()),
              (std::vector<std::string>{"old.txt=FALSE", "ok.txt=TRUE", "corrupt.txt=FALSE", "ok2.txt=TRUE",
                                        "short.txt=FALSE"}));
    EXPECT_EQ(ReadWholeFile(client.InUpdate("old.txt")), "left from an earlier run");
    EXPECT_EQ(server.RequestCount("/files/corrupt.txt"), 4);
    EXPECT_EQ(server.RequestCount("/files/short.txt"), 4);
    EXPECT_FALSE(PathExists(client.InUpdate("short.txt")));
    EXPECT_EQ(engine.SuccessCount(), 2);
}

TEST_F(UpdateEngineTest, NothingToDoWritesNoStateFile) {
    Install("current.dll", "kvtest_ver1009.dll");
    ManifestEntry current = Item("current.dll", "x");
    current.push_back({"FileVersion", "1.0.0.9"});
    client.WriteManifest({current});
    NotifyRecorder recorder;
    Run(kDownloadSteps, recorder.Window());
    ExpectSequence(Without(recorder.Notices(), -1),
                   {Server("update.quorvane.com"), {NOTIFY_NOTHING_TO_DO, 0, "", true}, Finished(0)});
    EXPECT_FALSE(PathExists(client.StateFile()));
}

TEST_F(UpdateEngineTest, AMissingManifestEndsWithFinishedAlone) {
    NotifyRecorder recorder;
    Run(kDownloadSteps, recorder.Window());
    ExpectSequence(Without(recorder.Notices(), -1), {Server("update.quorvane.com"), Finished(0)});
    EXPECT_FALSE(PathExists(client.StateFile()));
}

TEST_F(UpdateEngineTest, FetchesNewsAndManifestFromTheConfiguredServer) {
    std::string host = "127.0.0.1:" + std::to_string(server.Port());
    WriteWholeFile(client.InProgram("Stock.ini"), "[System]\r\nWebAddress=" + host + "\r\n");
    server.Serve("/WhatNews.txt", "news");
    server.Serve("/Update.xml", ManifestText({Item("a.txt", "alpha")}));

    const EngineSteps fetchThenDownload{1, 1, 1, 1};
    NotifyRecorder recorder;
    Run(fetchThenDownload, recorder.Window());
    ExpectSequence(Without(recorder.Notices(), NOTIFY_PROGRESS),
                   {Server(host), {NOTIFY_NEWS_READY, 0, "", false}, Server(host), {NOTIFY_NEWS_READY, 0, "", false},
                    ItemCount(1), Result(1, "a.txt", true), Done(0), Finished(1)});
    EXPECT_EQ(ReadWholeFile(client.InUpdate("WhatNews.txt")), "news");
    EXPECT_EQ(ReadWholeFile(client.InUpdate("a.txt")), "alpha");
}

TEST_F(UpdateEngineTest, ItemsBelowASubFolderGetTheirFoldersOnBothSides) {
    ManifestEntry nested = Item("x.txt", "nested");
    nested.push_back({"LocalPath", "data\\cfg"});
    client.WriteManifest({nested});
    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(ReadWholeFile(client.Update() + "\\data\\cfg\\x.txt"), "nested");
    EXPECT_TRUE(PathExists(client.InProgram("data\\cfg")));  // made ready at planning
    std::string state = ReadWholeFile(client.StateFile());
    EXPECT_NE(state.find("\r\nSUBPATH " + client.InProgram("data\\cfg") + "\r\n"), std::string::npos) << state;
    EXPECT_NE(state.find("\r\nDESTFILE " + client.InProgram("data\\cfg\\x.txt") + "\r\n"), std::string::npos);
}

// A text with a line break, in CDATA (kept as it is) or in plain text, would
// write lines of its own into the state file: here an END that closes the
// failed item's block as downloaded, and a block that installs another file.
TEST_F(UpdateEngineTest, ItemsWithLineBreaksInTheirTextsAreNotPlanned) {
    std::string injected = "\nEND\nBEGIN\nSRCFILE " + client.InUpdate("evil.dll") +
                           "\nDESTFILE C:\\windows\\evil.dll\nFILENAME evil.dll\nEND";
    ManifestEntry inCdata = Missing("b.txt");
    inCdata[1].text = "<![CDATA[" + inCdata[1].text + injected + "]]>";
    inCdata[1].isMarkup = true;
    ManifestEntry inText = Missing("c.txt");
    inText[1].text += injected;
    ManifestEntry inFileName = Missing("d.txt");
    inFileName[0].text += "\r\nEND";
    client.WriteManifest({Item("a.txt", "alpha"), inCdata, inText, inFileName});

    NotifyRecorder recorder;
    Run(kDownloadSteps, recorder.Window());
    EXPECT_EQ(engine.PlannedCount(), 1);
    EXPECT_EQ(engine.SuccessCount(), 1);
    for (const char* path : {"/files/b.txt", "/files/c.txt", "/files/d.txt"}) {
        EXPECT_EQ(server.RequestCount(path), 0) << path;
    }
    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"a.txt=TRUE"}));
    EXPECT_EQ(ReadWholeFile(client.StateFile()).find("evil"), std::string::npos);
    std::vector<FileListEntry> entries;
    ASSERT_TRUE(ReadFileList(client.StateFile().c_str(), &entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].fileName, "a.txt");
}

TEST_F(UpdateEngineTest, WorksWithoutANotifyWindow) {
    client.WriteManifest({Item("a.txt", "alpha")});
    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(engine.PlannedCount(), 1);
    EXPECT_EQ(engine.SuccessCount(), 1);
    EXPECT_EQ(ReadWholeFile(client.InUpdate("a.txt")), "alpha");
    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"a.txt=TRUE"}));
}

// An engine that holds the tests' publisher key.
class SignedManifestTest : public UpdateEngineTest {
protected:
    void SetUp() override { engine.SetManifestKey(TestSigningPublicKeyPem()); }

    ManifestEntry Digested(const std::string& name, const std::string& body) {
        ManifestEntry entry = Item(name, body);
        entry.push_back({"MD5", Md5Text(body)});
        return entry;
    }
    void WriteSigned(const std::vector<ManifestEntry>& entries, int64_t signedAt, int64_t expiresAt) {
        WriteWholeFile(client.InUpdate("Update.xml"), SignManifestForTest(ManifestText(entries), signedAt, expiresAt));
    }
    std::string AcceptedRecord() const { return ReadWholeFile(client.InUpdate("ManifestAccepted.txt")); }

    const int64_t now_ = UtcNow();
};

TEST_F(SignedManifestTest, ASignedManifestIsPlannedAndItsSigningTimeKept) {
    WriteSigned({Digested("a.txt", "alpha")}, now_ - 60, now_ + 3600);
    testing::internal::CaptureStdout();
    Run(kDownloadSteps, nullptr);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_NE(trace.find("manifest signature: accepted"), std::string::npos) << trace;
    EXPECT_EQ(engine.PlannedCount(), 1);
    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"a.txt=TRUE"}));
    EXPECT_EQ(AcceptedRecord(), "signed: " + FormatUtcTime(now_ - 60) + "\r\n");
}

TEST_F(SignedManifestTest, ManifestsItCannotTrustAreTreatedAsUnreadableAndChangeNothing) {
    const std::vector<ManifestEntry> entries = {Digested("a.txt", "alpha")};
    const std::string good = SignManifestForTest(ManifestText(entries), now_ - 60, now_ + 3600);
    std::string tampered = good;
    tampered.replace(tampered.find("<Length>5<"), 10, "<Length>6<");
    const std::string earlier = "signed: " + FormatUtcTime(now_ - 60 + 1) + "\r\n";
    const struct {
        const char* what;
        std::string manifest;
        std::string record;      // ManifestAccepted.txt before the run
        bool otherPublisherKey;  // the engine holds another publisher's key
        const char* verdict;
    } cases[] = {
        {"one byte changed", tampered, "", false, "refused, signature does not match"},
        {"signed by another key", good, "", true, "refused, signed by another key"},
        {"expired", SignManifestForTest(ManifestText(entries), now_ - 7200, now_ - 60), "", false, "refused, expired"},
        {"older than the one accepted before", good, earlier, false, "refused, older than"},
        {"unsigned", ManifestText(entries), "", false, "refused, not signed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClientFolder fresh;
        UpdateEngine keyed;
        keyed.SetManifestKey(c.otherPublisherKey ? OtherPublisherPublicKeyPem() : TestSigningPublicKeyPem());
        ASSERT_TRUE(WriteWholeFile(fresh.InUpdate("Update.xml"), c.manifest));
        if (!c.record.empty()) {
            ASSERT_TRUE(WriteWholeFile(fresh.InUpdate("ManifestAccepted.txt"), c.record));
        }
        NotifyRecorder recorder;
        testing::internal::CaptureStdout();
        RunEngineIn(fresh, keyed, kDownloadSteps, recorder.Window(), 2000);
        const std::string trace = testing::internal::GetCapturedStdout();
        EXPECT_NE(trace.find(std::string("manifest signature: ") + c.verdict), std::string::npos) << trace;
        EXPECT_EQ(keyed.PlannedCount(), 0);
        // As with a manifest that cannot be read: no count, only the finish.
        ExpectSequence(Without(recorder.Notices(), -1), {Server("update.quorvane.com"), Finished(0)});
        EXPECT_EQ(server.RequestCount("/files/a.txt"), 0);
        EXPECT_FALSE(PathExists(fresh.StateFile()));
        EXPECT_FALSE(PathExists(fresh.InUpdate("a.txt")));
        EXPECT_EQ(ReadWholeFile(fresh.InUpdate("ManifestAccepted.txt")), c.record);
        EXPECT_EQ(ReadWholeFile(fresh.InUpdate("Update.xml")), c.manifest);
    }
}

TEST_F(SignedManifestTest, EveryItemMustCarryDigestsAndAGivenSha256MustMatch) {
    ManifestEntry noDigest = Item("plain.txt", "plain");
    ManifestEntry badSha = Digested("badsha.txt", "content");
    badSha.push_back({"SHA256", std::string(64, '0')});
    ManifestEntry malformedSha = Digested("short-sha.txt", "content");
    malformedSha.push_back({"SHA256", "ABCDEF"});
    ManifestEntry goodSha = Digested("goodsha.txt", "abc");
    goodSha.push_back({"SHA256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"});
    // A copy already downloaded whose digest is wrong is fetched again.
    WriteWholeFile(client.InUpdate("goodsha.txt"), "stale");
    WriteSigned({noDigest, badSha, malformedSha, goodSha, Digested("md5only.txt", "m")}, now_ - 60, now_ + 3600);

    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(engine.PlannedCount(), 3);
    EXPECT_EQ(BlockStatuses(client.StateFile()),
              (std::vector<std::string>{"badsha.txt=FALSE", "goodsha.txt=TRUE", "md5only.txt=TRUE"}));
    EXPECT_EQ(server.RequestCount("/files/plain.txt"), 0);
    EXPECT_EQ(server.RequestCount("/files/short-sha.txt"), 0);
    EXPECT_EQ(server.RequestCount("/files/badsha.txt"), 4);  // retried like an MD5 mismatch
    EXPECT_EQ(ReadWholeFile(client.InUpdate("goodsha.txt")), "abc");
}

TEST_F(UpdateEngineTest, WithoutAKeyTheSignatureAndSha256AreIgnoredAsBefore) {
    ManifestEntry wrongSha = Item("a.txt", "alpha");
    wrongSha.push_back({"SHA256", std::string(64, '0')});
    const std::string manifest = SignManifestForTest(ManifestText({wrongSha, Item("b.txt", "beta")}), 0, 1);
    WriteWholeFile(client.InUpdate("Update.xml"), manifest);  // signed long ago and expired: never looked at
    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"a.txt=TRUE", "b.txt=TRUE"}));
    EXPECT_FALSE(PathExists(client.InUpdate("ManifestAccepted.txt")));
}

// A retry asks for the rest of the cut body only, with or without a digest.
TEST_F(UpdateEngineTest, ARetryResumesTheCutTransfer) {
    const std::string body(30000, 'r');
    const struct {
        const char* name;
        bool withMd5;
    } cases[] = {{"digested.bin", true}, {"plain.bin", false}};
    std::vector<ManifestEntry> entries;
    for (const auto& c : cases) {
        server.ServeVersions(std::string("/files/") + c.name, {{body, "\"e1\"", "", 12000}, {body, "\"e1\"", ""}},
                             true);
        ManifestEntry entry{{"FileName", c.name}, {"URL", server.Url(std::string("/files/") + c.name)},
                            {"Length", std::to_string(body.size())}};
        if (c.withMd5) entry.push_back({"MD5", Md5Text(body)});
        entries.push_back(entry);
    }
    client.WriteManifest(entries);
    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"digested.bin=TRUE", "plain.bin=TRUE"}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = std::string("/files/") + c.name;
        EXPECT_EQ(ReadWholeFile(client.InUpdate(c.name)), body);
        EXPECT_EQ(server.RequestCount(target), 2);
        EXPECT_EQ(server.BodyBytesSent(target), body.size());
        EXPECT_EQ(server.Requests().size(), 4u);
        EXPECT_FALSE(PathExists(client.InUpdate(c.name) + ".download"));
        EXPECT_FALSE(PathExists(client.InUpdate(c.name) + ".download.validator"));
    }
    for (const auto& request : server.Requests()) {
        const bool first = request.Header("Range").empty();
        if (!first) {
            EXPECT_EQ(request.Header("Range"), "bytes=12000-") << request.target;
            EXPECT_EQ(request.Header("If-Range"), "\"e1\"") << request.target;
        }
    }
}

// A partial file left by an earlier run is continued when the item's digest
// can tell whether the pieces fit together; without one it is fetched whole.
TEST_F(UpdateEngineTest, ALaterRunResumesALeftoverPartialFileOnlyWithADigest) {
    const std::string body(30000, 'l');
    const struct {
        const char* name;
        bool withMd5;
        const char* range;  // of the run's first request
        size_t bytesSent;
    } cases[] = {
        {"digested.bin", true, "bytes=10000-", 20000},
        {"plain.bin", false, "", 30000},
    };
    std::vector<ManifestEntry> entries;
    for (const auto& c : cases) {
        server.ServeVersions(std::string("/files/") + c.name, {{body, "\"e1\"", ""}}, true);
        ManifestEntry entry{{"FileName", c.name}, {"URL", server.Url(std::string("/files/") + c.name)},
                            {"Length", std::to_string(body.size())}};
        if (c.withMd5) entry.push_back({"MD5", Md5Text(body)});
        entries.push_back(entry);
        ASSERT_TRUE(WriteWholeFile(client.InUpdate(c.name) + ".download", body.substr(0, 10000)));
        ASSERT_TRUE(WriteWholeFile(client.InUpdate(c.name) + ".download.validator", "\"e1\""));
    }
    client.WriteManifest(entries);
    Run(kDownloadSteps, nullptr);
    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"digested.bin=TRUE", "plain.bin=TRUE"}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = std::string("/files/") + c.name;
        EXPECT_EQ(ReadWholeFile(client.InUpdate(c.name)), body);
        EXPECT_EQ(server.RequestCount(target), 1);
        EXPECT_EQ(server.BodyBytesSent(target), c.bytesSent);
        for (const auto& request : server.Requests()) {
            if (request.target == target) {
                EXPECT_EQ(request.Header("Range"), c.range);
            }
        }
        EXPECT_FALSE(PathExists(client.InUpdate(c.name) + ".download.validator"));
    }
}

// The log tells a retry and its resume: each request with its status, bytes
// and ranges, the retry, the resume, with the trace lines around them.
TEST_F(UpdateEngineTest, TheLogRecordsRequestsARetryAndAResume) {
    const std::string body(30000, 'r');
    server.ServeVersions("/files/cut.bin", {{body, "\"e1\"", "", 12000}, {body, "\"e1\"", ""}}, true);
    const std::string url = server.Url("/files/cut.bin");
    client.WriteManifest({ManifestEntry{{"FileName", "cut.bin"}, {"URL", url}, {"Length", "30000"}}});
    testing::internal::CaptureStdout();
    Run(kDownloadSteps, nullptr);
    const std::string trace = testing::internal::GetCapturedStdout();
    ASSERT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"cut.bin=TRUE"}));

    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    std::string all;
    for (const std::string& text : log) all += text + "\n";
    const int first = FindLog(log, "request " + url + " status 200 bytes 12000 range asked none granted none time ");
    ASSERT_GE(first, 0) << all;
    EXPECT_TRUE(LogHolds(log, " Processing " + url)) << all;
    EXPECT_NE(trace.find("Processing " + url), std::string::npos);
    const int retry = FindLog(log, "retry " + url + " (attempt 2)", first);
    ASSERT_GT(retry, first) << all;
    const int second = FindLog(log,
                               "request " + url +
                                   " status 206 bytes 18000 range asked bytes=12000- granted bytes 12000-29999/30000 time ",
                               retry);
    ASSERT_GT(second, retry) << all;
    EXPECT_EQ(FindLog(log, "resume " + url + " from byte 12000", second), second + 1) << all;
    EXPECT_EQ(FindLog(log, "ok", second), second + 2) << all;
    EXPECT_EQ(FindLog(log, "refusal"), -1) << all;
}

TEST_F(UpdateEngineTest, TheLogRecordsARefusedDigest) {
    ManifestEntry corrupt = Item("corrupt.txt", "not what was announced");
    corrupt.push_back({"MD5", Md5Text("the announced content")});
    client.WriteManifest({corrupt, Item("ok.txt", "fine")});
    Run(kDownloadSteps, nullptr);
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    const std::string refusal = "refusal: digest does not match for " + server.Url("/files/corrupt.txt");
    int refusals = 0;
    for (int at = FindLog(log, refusal); at >= 0; at = FindLog(log, refusal, at + 1)) ++refusals;
    EXPECT_EQ(refusals, 4);  // the first attempt and its three retries
    EXPECT_GE(FindLog(log, "retry " + server.Url("/files/corrupt.txt") + " (attempt 4)"), 0);
    EXPECT_EQ(FindLog(log, "refusal: digest does not match for " + server.Url("/files/ok.txt")), -1);
}

TEST_F(SignedManifestTest, TheLogRecordsARefusedSignature) {
    std::string tampered = SignManifestForTest(ManifestText({Digested("a.txt", "alpha")}), now_ - 60, now_ + 3600);
    tampered.replace(tampered.find("<Length>5<"), 10, "<Length>6<");
    ASSERT_TRUE(WriteWholeFile(client.InUpdate("Update.xml"), tampered));
    testing::internal::CaptureStdout();
    Run(kDownloadSteps, nullptr);
    const std::string trace = testing::internal::GetCapturedStdout();
    EXPECT_EQ(engine.PlannedCount(), 0);
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    const int traced = FindLog(log, "manifest signature: refused, signature does not match");
    EXPECT_GE(traced, 0);
    EXPECT_NE(trace.find("manifest signature: refused, signature does not match"), std::string::npos);
    EXPECT_EQ(FindLog(log, "refusal: manifest signature refused, signature does not match"), traced + 1);
}

// The log tells what really came: a refused redirect with the status it
// came with, a redirect loop with each of its requests, and a body past its
// limit with the bytes that arrived.
TEST_F(UpdateEngineTest, TheLogTellsRefusedRedirectsLoopsAndOverlongBodies) {
    const std::string ftp = server.Url("/files/ftp.bin");
    const std::string loop = server.Url("/files/loop.bin");
    const std::string overlong = server.Url("/files/long.bin");
    server.ServeRedirect("/files/ftp.bin", 302, "ftp://127.0.0.1/ftp.bin");
    server.ServeRedirect("/files/loop.bin", 302, loop);
    server.ServeUnannounced("/files/long.bin", std::string(3000, 'x'));
    client.WriteManifest({ManifestEntry{{"FileName", "ftp.bin"}, {"URL", ftp}, {"Length", "10"}},
                          ManifestEntry{{"FileName", "loop.bin"}, {"URL", loop}, {"Length", "10"}},
                          ManifestEntry{{"FileName", "long.bin"}, {"URL", overlong}, {"Length", "1000"}}});
    Run(kDownloadSteps, nullptr);
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    std::string all;
    for (const std::string& text : log) all += text + "\n";

    EXPECT_GE(FindLog(log, "request " + ftp + " status 302 bytes 0 "), 0) << all;
    // The loop's transfer: its first request and every redirect after it,
    // one line each, in a row.
    const std::string loopRequest = "request " + loop + " status 302 ";
    int at = FindLog(log, loopRequest);
    ASSERT_GE(at, 0) << all;
    int loopRequests = 0;
    while (at < static_cast<int>(log.size()) && log[at].compare(0, loopRequest.size(), loopRequest) == 0) {
        ++loopRequests;
        ++at;
    }
    EXPECT_EQ(loopRequests, CInetFile::kMaxRedirects + 1) << all;
    const int longRequest = FindLog(log, "request " + overlong + " status 200 bytes ");
    ASSERT_GE(longRequest, 0) << all;
    const std::string bytesText = log[longRequest].substr(("request " + overlong + " status 200 bytes ").size());
    EXPECT_GT(std::stoull(bytesText), 1000u) << log[longRequest];
}

// A line that would take the log past its limit moves it to Koravel.log.1,
// replacing an older one, and starts a new file.
TEST_F(UpdateEngineTest, TheLogIsMovedAsideAtItsLimit) {
    const uint64_t limit = 4096;
    std::string earlier;
    while (earlier.size() + 50 < limit) earlier += "2000-01-01 00:00:00 an earlier run's line, padded\r\n";
    ASSERT_TRUE(WriteWholeFile(client.InUpdate("Koravel.log"), earlier));
    ASSERT_TRUE(WriteWholeFile(client.InUpdate("Koravel.log.1"), "the oldest log"));
    client.WriteManifest({Item("a.txt", "alpha"), Item("b.txt", "beta")});
    engine.SetLogLimit(limit);
    Run(kDownloadSteps, nullptr);
    ASSERT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"a.txt=TRUE", "b.txt=TRUE"}));

    const std::string moved = ReadWholeFile(client.InUpdate("Koravel.log.1"));
    const std::string current = ReadWholeFile(client.InUpdate("Koravel.log"));
    EXPECT_EQ(moved.substr(0, earlier.size()), earlier);
    EXPECT_LE(moved.size(), limit);
    EXPECT_LE(current.size(), limit);
    EXPECT_EQ(moved.find("the oldest log"), std::string::npos);
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    EXPECT_TRUE(LogHolds(log, " Processing " + server.Url("/files/b.txt")));
    EXPECT_GE(FindLog(log, "request " + server.Url("/files/b.txt") + " status 200 bytes 4 "), 0);
}

}  // namespace
