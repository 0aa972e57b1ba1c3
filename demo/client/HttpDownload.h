// Fetches one file over HTTP into a local path, as the client fetches the
// update manifest and the release notes before it starts the updater.
#pragma once

#include <string>

// True when the server answered 200 and the whole body was written.
bool DownloadToFile(const std::string& url, const std::string& localPath);
