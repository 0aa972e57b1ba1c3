// The files of a release folder, laid out as the client folder, in a fixed
// order and with the names the manifest gives them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ReleaseFile {
    std::filesystem::path path;        // on this machine
    std::string relativePath;          // UTF-8, '/'-separated: how messages name it
    std::vector<std::string> folders;  // GB2312 names of the sub-folders, outermost first
    std::string fileName;              // GB2312

    // The sub-folders joined with '\\', as LocalPath; empty at the top.
    std::string LocalPath() const;
};

// Every regular file below the root, depth first, the entries of each folder
// in byte order of their names, skipping `excluded` (the manifest being
// written, when it lies inside) and the compressed forms and patches the
// tool writes beside a file (FormNames.h). Throws PublishError when the root is no
// folder, or listing every entry the updater could not take: a name it
// refuses or that has no GB2312 form, a path too long for the client, two
// names that differ only in letter case (one file on Windows), a symbolic
// link to a folder or anything that is neither file nor folder, a file
// name whose escaped form in the URL the updater would cut.
std::vector<ReleaseFile> ListReleaseFiles(const std::filesystem::path& root,
                                          const std::optional<std::filesystem::path>& excluded = std::nullopt);
