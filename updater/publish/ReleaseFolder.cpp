#include "ReleaseFolder.h"

#include "FormNames.h"
#include "Gb2312Text.h"
#include "PublishError.h"
#include "ReleaseNames.h"
#include "CaseFolding.h"
#include "UrlPath.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct IgnoringCase {
    bool operator()(const std::string& left, const std::string& right) const {
        return CompareIgnoreCase(left, right) < 0;
    }
};

class ReleaseWalk {
public:
    explicit ReleaseWalk(const std::optional<fs::path>& excluded) : excluded_(excluded) {}

    void Walk(const fs::path& folder, const std::string& relativeFolder, const std::vector<std::string>& gbFolders,
              const std::string& gbFolderPath) {
        std::error_code error;
        std::vector<fs::directory_entry> entries;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            entries.push_back(*it);
        }
        if (error) {
            problems_.push_back(Shown(relativeFolder) + ": cannot list the folder: " + error.message());
            return;
        }
        std::sort(entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
            return a.path().filename().native() < b.path().filename().native();
        });

        std::set<std::string> names;
        for (const fs::directory_entry& entry : entries) names.insert(entry.path().filename().native());

        for (const fs::directory_entry& entry : entries) {
            const std::string name = entry.path().filename().native();
            if (IsFormOfAnotherFile(name, names)) continue;
            const std::string relative = relativeFolder.empty() ? name : relativeFolder + "/" + name;
            if (IsExcluded(entry.path())) continue;
            const bool isLink = entry.is_symlink(error);
            const bool isFolder = entry.is_directory(error);
            const bool isFile = entry.is_regular_file(error);
            if (isFolder && isLink) {
                problems_.push_back(relative + ": a symbolic link to a folder; give the folder itself");
                continue;
            }
            if (!isFolder && !isFile) {
                problems_.push_back(relative + ": neither a file nor a folder");
                continue;
            }
            const std::optional<std::string> gbName = CheckedName(name, relative);
            if (!gbName) continue;
            const std::string gbPath = gbFolderPath.empty() ? *gbName : gbFolderPath + "\\" + *gbName;
            if (!Claim(gbPath, relative)) continue;
            if (isFolder) {
                std::vector<std::string> inner = gbFolders;
                inner.push_back(*gbName);
                Walk(entry.path(), relative, inner, gbPath);
                continue;
            }
            if (std::optional<std::string> why = PathLengthRefusal(gbPath)) {
                problems_.push_back(relative + ": " + *why);
                continue;
            }
            const size_t requestBytes = EscapeUrlSegment(*gbName).size();
            if (requestBytes > kRequestNameBytes) {
                problems_.push_back(relative + ": a name of " + std::to_string(requestBytes) +
                                    " bytes escaped in its URL; the updater sends at most " +
                                    std::to_string(kRequestNameBytes));
                continue;
            }
            files_.push_back(ReleaseFile{entry.path(), relative, gbFolders, *gbName});
        }
    }

    std::vector<ReleaseFile> TakeFiles() { return std::move(files_); }
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    static std::string Shown(const std::string& relative) { return relative.empty() ? "." : relative; }

    bool IsExcluded(const fs::path& path) const {
        std::error_code error;
        return excluded_ && fs::equivalent(path, *excluded_, error);
    }

    std::optional<std::string> CheckedName(const std::string& name, const std::string& relative) {
        const std::optional<std::string> gbName = Utf8ToGb2312(name);
        if (!gbName) {
            problems_.push_back(relative + ": a name that is not UTF-8 text or has characters without a GB2312 form");
            return std::nullopt;
        }
        if (std::optional<std::string> why = NameRefusal(*gbName)) {
            problems_.push_back(relative + ": " + *why + ", which the updater refuses");
            return std::nullopt;
        }
        return gbName;
    }

    // Windows takes names that differ only in letter case for one entry.
    bool Claim(const std::string& gbPath, const std::string& relative) {
        const auto [it, isNew] = claimed_.emplace(gbPath, relative);
        if (!isNew) {
            problems_.push_back(relative + ": the same name on Windows as " + it->second +
                                " (letter case is not told apart)");
        }
        return isNew;
    }

    std::optional<fs::path> excluded_;
    std::vector<ReleaseFile> files_;
    std::vector<std::string> problems_;
    std::map<std::string, std::string, IgnoringCase> claimed_;
};

}  // namespace

std::string ReleaseFile::LocalPath() const {
    std::string path;
    for (const std::string& folder : folders) path += (path.empty() ? "" : "\\") + folder;
    return path;
}

std::vector<ReleaseFile> ListReleaseFiles(const fs::path& root, const std::optional<fs::path>& excluded) {
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        throw PublishError(root.string() + ": " + (fs::exists(root, error) ? "not a folder" : "no such folder"));
    }
    ReleaseWalk walk(excluded);
    walk.Walk(root, "", {}, "");
    if (!walk.Problems().empty()) {
        std::string message = root.string() + ": the updater could not take these entries:";
        for (const std::string& problem : walk.Problems()) message += "\n  " + problem;
        throw PublishError(message);
    }
    return walk.TakeFiles();
}
