#include "ManifestWriter.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WriteManifest(const std::string& path, const std::vector<ManifestEntry>& entries)
{
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    std::fprintf(file.get(), "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<Update>\r\n<Product Version=\"1.0\">\r\n");
    for (const ManifestEntry& entry : entries) {
        std::fprintf(file.get(),
                     "<Item><FileName>%s</FileName><FileVersion>%s</FileVersion><Length>%lld</Length>"
                     "<FileDateLow>%d</FileDateLow><InstallDir>CURRENTDIR</InstallDir><URL>%s</URL></Item>\r\n",
                     entry.fileName.c_str(), entry.fileVersion.c_str(), entry.length, entry.fileDate,
                     entry.url.c_str());
    }
    std::fprintf(file.get(), "</Product>\r\n</Update>\r\n");
    return std::ferror(file.get()) == 0;
}
