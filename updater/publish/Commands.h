// The commands of koravel-publish. Each takes the words after its command
// word, writes what it did to `out` and notes to `err`, and throws
// PublishError or UsageError when it cannot do its work.
#pragma once

#include <ostream>
#include <string>
#include <vector>

enum ExitStatus { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

// keygen --out DIR
void RunKeygen(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
// manifest RELEASE_DIR --base-url URL [--version V] [--key private.pem] [--valid-days N]
//          [--previous DIR]... --out FILE
// Also writes each file's compressed form and its patches from the earlier
// releases beside it (ReleaseForms.h).
void RunManifest(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
// verify FILE --key public.pem [--now YYYY-MM-DDThh:mm:ssZ]; false when the
// manifest is not valid, or valid but expired.
bool RunVerify(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// The whole program: the command word, then its words. Reports failures to
// `err` and returns the exit status.
int RunPublishTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
