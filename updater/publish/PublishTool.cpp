#include "Commands.h"
#include "PublishError.h"

#include <exception>

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  koravel-publish keygen --out DIR\n"
    "      makes DIR/private.pem (PKCS #8, mode 0600) and DIR/public.pem, an RSA-3072 pair\n"
    "  koravel-publish manifest RELEASE_DIR --base-url URL [--version V] [--key private.pem]\n"
    "                           [--valid-days N] [--previous DIR]... --out Update.xml\n"
    "      writes the GB2312 manifest of the release folder, signed with --key (valid N days, 30 by default);\n"
    "      beside each file its compressed form (.zst) and patches from the earlier releases\n"
    "      given by --previous, at most 8 (.zpatch), where smaller\n"
    "  koravel-publish verify Update.xml --key public.pem [--now YYYY-MM-DDThh:mm:ssZ]\n"
    "      checks the signature and the expiry; exit status 0 only when valid and not expired\n";

}  // namespace

int RunPublishTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        (words.empty() ? err : out) << kUsage;
        return words.empty() ? kExitUsage : kExitSuccess;
    }
    const std::string& command = words[0];
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    try {
        if (command == "keygen") {
            RunKeygen(rest, out, err);
        } else if (command == "manifest") {
            RunManifest(rest, out, err);
        } else if (command == "verify") {
            return RunVerify(rest, out, err) ? kExitSuccess : kExitFailure;
        } else {
            throw UsageError("unknown command \"" + command + "\"");
        }
        return kExitSuccess;
    } catch (const UsageError& error) {
        err << "koravel-publish " << command << ": " << error.what() << "\n" << kUsage;
        return kExitUsage;
    } catch (const std::exception& error) {
        err << "koravel-publish " << command << ": " << error.what() << "\n";
        return kExitFailure;
    }
}
