// Items offered compressed and as patches, downloaded by the engine from a
// server on 127.0.0.1: the patch from the installed copy when its base is
// there, else the compressed file, else the whole file; every form that
// fails on the way falls back to the next and the run ends with the right
// file; a cut patch is resumed by the next attempt.
#include "ClientFolder.h"
#include "DeltaFixtures.h"
#include "HandMadeFrame.h"
#include "OfferedForms.h"
#include "TestHttpServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Leftovers of the forms' transfers and decoding beside a download.
void ExpectNoLeftovers(const ClientFolder& client, const std::string& name) {
    for (const char* suffix : {".zpatch", ".zst", ".download", ".zpatch.download", ".zpatch.download.validator",
                               ".zst.download", ".zst.download.validator", ".download.validator"}) {
        EXPECT_FALSE(PathExists(client.InUpdate(name) + suffix)) << name << suffix;
    }
}

class SmallerFormsTest : public testing::Test {
protected:
    void Run() {
        UpdateEngine engine;
        RunEngineIn(client, engine, kDownloadSteps, nullptr, 2000);
    }

    static std::string Whole(const std::string& name) { return "/files/" + name; }
    static std::string Compressed(const std::string& name) { return "/files/" + name + ".zst"; }
    static std::string Patch(const std::string& name) { return "/files/" + name + ".0123456789abcdef.zpatch"; }

    // The newer file as an item that offers it whole, compressed and as a
    // patch from the older file, with the digests of the honest forms. The
    // whole file is served here; what the forms' addresses answer is up to
    // the test.
    ManifestEntry Offer(const std::string& name) {
        server.Serve(Whole(name), newer);
        return ItemWithForms(name, server.Url(Whole(name)), newer,
                             OfferedForms{server.Url(Compressed(name)), compressed, server.Url(Patch(name)), patch, older});
    }
    void InstallOlder(const std::string& name) { ASSERT_TRUE(WriteWholeFile(client.InProgram(name), older)); }
    void ServeForms(const std::string& name) {
        server.Serve(Compressed(name), compressed);
        server.Serve(Patch(name), patch);
    }
    static void Set(ManifestEntry* entry, const std::string& field, const std::string& value) {
        for (auto& pair : *entry) {
            if (pair.name == field) pair.text = value;
        }
    }
    static void Drop(ManifestEntry* entry, const std::string& field) {
        for (auto it = entry->begin(); it != entry->end(); ++it) {
            if (it->name == field) {
                entry->erase(it);
                return;
            }
        }
    }
    // Which of the item's three addresses were asked for, and how often.
    std::vector<int> Requests(const std::string& name) const {
        return {server.RequestCount(Patch(name)), server.RequestCount(Compressed(name)),
                server.RequestCount(Whole(name))};
    }

    const std::string older = OlderFile();
    const std::string newer = NewerFile();
    const std::string compressed = NewerCompressed();
    const std::string patch = NewerPatchFromOlder();
    TestHttpServer server;
    ClientFolder client;
};

// Requests as {patch, compressed, whole}.
TEST_F(SmallerFormsTest, ThePatchFromTheInstalledCopyElseTheCompressedFileElseTheWholeFile) {
    const struct {
        const char* name;
        const char* installed;  // "older", "other" or nothing
        void (*change)(ManifestEntry*);
        bool formsServed;
        std::vector<int> requests;
    } cases[] = {
        {"patched.dat", "older", nullptr, true, {1, 0, 0}},
        {"other.dat", "other", nullptr, true, {0, 1, 0}},
        {"absent.dat", "", nullptr, true, {0, 1, 0}},
        {"unserved.dat", "older", nullptr, false, {1, 1, 1}},
        {"nosha.dat", "older", [](ManifestEntry* e) { Drop(e, "SHA256"); }, true, {0, 0, 1}},
        {"nolength.dat", "older", [](ManifestEntry* e) { Drop(e, "Length"); }, true, {0, 0, 1}},
    };
    std::vector<ManifestEntry> entries;
    for (const auto& c : cases) {
        ManifestEntry entry = Offer(c.name);
        if (c.change) c.change(&entry);
        if (c.formsServed) ServeForms(c.name);
        if (std::string(c.installed) == "older") InstallOlder(c.name);
        if (std::string(c.installed) == "other") {
            ASSERT_TRUE(WriteWholeFile(client.InProgram(c.name), older.substr(0, older.size() - 1) + "!"));
        }
        entries.push_back(entry);
    }
    client.WriteManifest(entries);
    Run();

    std::vector<std::string> statuses;
    for (const auto& c : cases) statuses.push_back(std::string(c.name) + "=TRUE");
    EXPECT_EQ(BlockStatuses(client.StateFile()), statuses);
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ReadWholeFile(client.InUpdate(c.name)) == newer);
        EXPECT_EQ(Requests(c.name), c.requests);
        ExpectNoLeftovers(client, c.name);
    }
    const std::string whole = " whole " + std::to_string(newer.size());
    EXPECT_GE(FindLog(log, "fetched patch " + server.Url(Patch("patched.dat")) + " bytes " +
                               std::to_string(patch.size()) + whole),
              0);
    EXPECT_GE(FindLog(log, "fetched compressed " + server.Url(Compressed("other.dat")) + " bytes " +
                               std::to_string(compressed.size()) + whole),
              0);
    EXPECT_GE(FindLog(log, "fallback from patch " + server.Url(Patch("unserved.dat")) + ": its transfer failed"), 0);
    EXPECT_GE(FindLog(log, "fallback from compressed " + server.Url(Compressed("unserved.dat")) +
                               ": its transfer failed"),
              0);
    EXPECT_GE(FindLog(log, "fetched whole " + server.Url(Whole("unserved.dat")) + " bytes " +
                               std::to_string(newer.size()) + whole),
              0);
    // Items without what holds a decoded file are fetched as before: no
    // word of forms.
    EXPECT_FALSE(LogHolds(log, "nosha.dat.zst"));
    EXPECT_FALSE(LogHolds(log, "fetched whole " + server.Url(Whole("nosha.dat"))));
    // Falling back costs no attempt.
    EXPECT_FALSE(LogHolds(log, "retry "));
}

// Each bad patch falls back to the compressed file, which gives the file.
TEST_F(SmallerFormsTest, ABadPatchFallsBackToTheCompressedFile) {
    std::string damaged = patch;
    damaged[damaged.size() / 2] ^= 0x55;
    const struct {
        const char* name;
        std::string served;  // the patch's bytes; empty: a 404
        bool listServed;     // the manifest lists the served bytes' digest and size
        bool withMd5;
        const char* reason;
    } cases[] = {
        {"damaged.dat", damaged, true, true, "the stream is damaged"},
        // Only the whole file's SHA256 tells these bytes from the right ones.
        {"wrong.dat", FrameOfRepeatedBytes(newer.size(), 'w'), true, false,
         "the decoded file's digest does not match"},
        {"missing.dat", "", false, true, "its transfer failed"},
        {"bomb.dat", BombFrame(newer.size()), true, true, "more bytes than the file's size"},
        {"unlisted.dat", compressed, false, true, "its digest does not match"},
    };
    std::vector<ManifestEntry> entries;
    for (const auto& c : cases) {
        ManifestEntry entry = Offer(c.name);
        server.Serve(Compressed(c.name), compressed);
        if (c.served.empty()) {
            server.ServeStatus(Patch(c.name), 404);
        } else {
            server.Serve(Patch(c.name), c.served);
        }
        if (c.listServed) {
            Set(&entry, "Patch1Length", std::to_string(c.served.size()));
            Set(&entry, "Patch1SHA256", Sha256OfBytes(c.served));
        }
        if (!c.withMd5) Drop(&entry, "MD5");
        InstallOlder(c.name);
        entries.push_back(entry);
    }
    client.WriteManifest(entries);
    Run();

    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ReadWholeFile(client.InUpdate(c.name)) == newer);
        EXPECT_EQ(Requests(c.name), (std::vector<int>{1, 1, 0}));
        EXPECT_GE(FindLog(log, "fallback from patch " + server.Url(Patch(c.name)) + ": " + c.reason), 0);
        EXPECT_GE(FindLog(log, "fetched compressed " + server.Url(Compressed(c.name))), 0);
        ExpectNoLeftovers(client, c.name);
    }
    std::vector<std::string> statuses;
    for (const auto& c : cases) statuses.push_back(std::string(c.name) + "=TRUE");
    EXPECT_EQ(BlockStatuses(client.StateFile()), statuses);
}

// A patch cut half-way is continued by the item's next attempt, which asks
// for the rest only; the compressed and whole files are never asked for.
TEST_F(SmallerFormsTest, ACutPatchIsResumedByTheNextAttempt) {
    const size_t cut = patch.size() / 2;
    ManifestEntry entry = Offer("cut.dat");
    server.ServeVersions(Patch("cut.dat"), {{patch, "\"p1\"", "", cut}, {patch, "\"p1\"", ""}}, true);
    server.Serve(Compressed("cut.dat"), compressed);
    InstallOlder("cut.dat");
    client.WriteManifest({entry});
    Run();

    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"cut.dat=TRUE"}));
    EXPECT_TRUE(ReadWholeFile(client.InUpdate("cut.dat")) == newer);
    EXPECT_EQ(Requests("cut.dat"), (std::vector<int>{2, 0, 0}));
    EXPECT_EQ(server.BodyBytesSent(Patch("cut.dat")), patch.size());
    const std::vector<TestHttpServer::Request> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Header("Range"), "bytes=" + std::to_string(cut) + "-");
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    const int retry = FindLog(log, "retry " + server.Url(Whole("cut.dat")) + " (attempt 2)");
    EXPECT_GE(retry, 0);
    EXPECT_GT(FindLog(log, "resume " + server.Url(Patch("cut.dat")) + " from byte " + std::to_string(cut), retry),
              retry);
    ExpectNoLeftovers(client, "cut.dat");
}

// A form cut on every attempt is resumed while the item has retries; on its
// last attempt the cut falls back at once, and its partial file stays for a
// later run only until the item's file is there.
TEST_F(SmallerFormsTest, AFormCutOnEveryAttemptFallsBackOnTheLast) {
    ManifestEntry entry = Offer("cuts.dat");
    server.ServeVersions(Compressed("cuts.dat"), {{compressed, "\"z1\"", "", 1000}}, true);
    client.WriteManifest({entry});
    Run();

    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"cuts.dat=TRUE"}));
    EXPECT_TRUE(ReadWholeFile(client.InUpdate("cuts.dat")) == newer);
    EXPECT_EQ(Requests("cuts.dat"), (std::vector<int>{0, 4, 1}));
    const std::vector<std::string> log = LogTexts(client.InUpdate("Koravel.log"));
    EXPECT_GE(FindLog(log, "retry " + server.Url(Whole("cuts.dat")) + " (attempt 4)"), 0);
    EXPECT_GE(FindLog(log, "fallback from compressed " + server.Url(Compressed("cuts.dat")) +
                               ": its transfer was cut and no attempt is left"),
              0);
    ExpectNoLeftovers(client, "cuts.dat");
}

// A partial whole file an earlier run left is not continued because a form
// failed first: without an MD5 nothing would tell whether its pieces fit.
// Before, the attempt after a cut form continued it as a retry's own.
TEST_F(SmallerFormsTest, AnEarlierRunsPartialWholeFileIsNotContinuedAfterAFormFails) {
    ManifestEntry entry = Offer("earlier.dat");
    Drop(&entry, "MD5");
    // Cut at first; asked for the rest, the server has another file by then.
    server.ServeVersions(Compressed("earlier.dat"),
                         {{compressed, "\"z1\"", "", 1000}, {compressed + "!", "\"z2\"", ""}}, true);
    server.ServeVersions(Whole("earlier.dat"), {{newer, "\"w1\"", ""}}, true);
    ASSERT_TRUE(WriteWholeFile(client.InUpdate("earlier.dat.download"), std::string(10000, 'x')));
    ASSERT_TRUE(WriteWholeFile(client.InUpdate("earlier.dat.download.validator"), "\"w1\""));
    client.WriteManifest({entry});
    Run();

    EXPECT_EQ(BlockStatuses(client.StateFile()), (std::vector<std::string>{"earlier.dat=TRUE"}));
    EXPECT_TRUE(ReadWholeFile(client.InUpdate("earlier.dat")) == newer);
    EXPECT_EQ(Requests("earlier.dat"), (std::vector<int>{0, 2, 1}));
    for (const auto& request : server.Requests()) {
        if (request.target == Whole("earlier.dat")) EXPECT_EQ(request.Header("Range"), "");
    }
    ExpectNoLeftovers(client, "earlier.dat");
}

}  // namespace
