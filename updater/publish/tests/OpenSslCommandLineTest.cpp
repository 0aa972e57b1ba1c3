// The signature as the openssl command line makes and checks it: the shell
// commands of docs/manifest-signature.md, taken from the document itself and
// run in a scratch folder, check what the tool signed, and the tool accepts
// what they signed.
#include "PublishTestSupport.h"

#include "TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using ::testing::HasSubstr;

namespace {

struct ShellRun {
    int status = -1;
    std::string output;  // standard output and standard error
};

// Runs the script with sh in the folder.
ShellRun RunShell(const std::string& folder, const std::string& script) {
    const std::string path = folder + "/commands.sh";
    if (!WriteWholeFile(path, script)) return {};
    const std::string command = "cd '" + folder + "' && sh ./commands.sh 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    ShellRun run;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0) run.output.append(chunk, got);
    const int status = ::pclose(pipe.release());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The n-th ```sh block of the document's section on the openssl command
// line: 0 signs, 1 checks.
std::string DocumentedCommands(int index) {
    const std::string document = ReadWholeFile(QV_SIGNATURE_DOC);
    size_t at = document.find("## Signing and checking with the `openssl` command line");
    for (int i = 0; at != std::string::npos; ++i) {
        at = document.find("```sh\n", at);
        if (at == std::string::npos) break;
        const size_t start = at + 6;
        const size_t end = document.find("\n```", start);
        if (end == std::string::npos) break;
        if (i == index) return document.substr(start, end - start + 1);
        at = end + 4;
    }
    return "";
}

class OpenSslCommandLine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        keys_ = std::make_unique<ScratchFolder>();
        const ToolRun run = RunTool({"keygen", "--out", keys_->Path() + "/pair"});
        ASSERT_EQ(run.status, 0) << run.err;
    }
    static void TearDownTestSuite() { keys_.reset(); }

    void SetUp() override {
        if (std::system("command -v openssl >/dev/null 2>&1") != 0) GTEST_SKIP() << "no openssl command";
        ASSERT_THAT(signCommands_, HasSubstr("openssl dgst -sha256 -sign private.pem"));
        ASSERT_THAT(checkCommands_, HasSubstr("openssl dgst -sha256 -verify public.pem"));
        PutFile(release_, "Formula.dat", "hello world\n");
        PutFile(release_, "行情说明.txt", "说明\r\n");
        for (const char* name : {"private.pem", "public.pem"}) {
            ASSERT_TRUE(WriteWholeFile(work_.File(name), ReadWholeFile(keys_->Path() + "/pair/" + name)));
        }
    }

    static std::unique_ptr<ScratchFolder> keys_;
    ScratchFolder scratch_;
    ScratchFolder work_;  // where the documented commands run
    const std::string release_ = scratch_.File("release");
    const std::string signCommands_ = DocumentedCommands(0);
    const std::string checkCommands_ = DocumentedCommands(1);
};

std::unique_ptr<ScratchFolder> OpenSslCommandLine::keys_;

TEST_F(OpenSslCommandLine, ChecksWhatTheToolSigned) {
    const std::string manifest = work_.File("Update.xml");
    ASSERT_EQ(RunTool({"manifest", release_, "--base-url", "http://h/files", "--key", work_.File("private.pem"),
                       "--out", manifest})
                  .status,
              0);
    const ShellRun verified = RunShell(work_.Path(), checkCommands_);
    EXPECT_EQ(verified.status, 0) << verified.output;
    EXPECT_THAT(verified.output, HasSubstr("Verified OK"));

    std::string changed = ReadWholeFile(manifest);
    changed[changed.find("<Length>") + 8] ^= 0x01;
    ASSERT_TRUE(WriteWholeFile(manifest, changed));
    const ShellRun refused = RunShell(work_.Path(), checkCommands_);
    EXPECT_NE(refused.status, 0) << refused.output;
    EXPECT_THAT(refused.output, HasSubstr("Verification failure"));
}

TEST_F(OpenSslCommandLine, WhatItSignsTheToolAccepts) {
    // The documented commands start from an unsigned manifest ending with its
    // root element and a line break, as the tool writes it.
    ASSERT_EQ(RunTool({"manifest", release_, "--base-url", "http://h/files", "--out", work_.File("body.xml")}).status,
              0);
    const ShellRun signing = RunShell(work_.Path(), signCommands_);
    ASSERT_EQ(signing.status, 0) << signing.output;

    // The key-id the commands computed is the tool's: verify compares it.
    const ToolRun run = RunTool({"verify", work_.File("Update.xml"), "--key", work_.File("public.pem")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("signature valid"));
    EXPECT_THAT(run.out, HasSubstr("(not expired)"));
}

}  // namespace
