#include "UpdateServer.h"

#include "manifest/ManifestWriter.h"

UpdateServer::UpdateServer(const ClientFolder& client, const std::vector<ServedFile>& files) {
    std::vector<ManifestEntry> entries;
    for (const ServedFile& file : files) {
        if (file.content.empty()) {
            http_.ServeStatus(Target(file.name), 404);
        } else if (file.slow) {
            http_.ServeSlowly(Target(file.name), file.content, 16, 400);
        } else {
            http_.Serve(Target(file.name), file.content);
        }
        entries.push_back({{"FileName", file.name},
                           NumberField("Length", static_cast<int64_t>(file.content.size())),
                           NumberField("FileDateLow", file.dateYmd),
                           {"URL", http_.Url(Target(file.name))}});
    }
    WriteWholeFile(client.update("Update.xml"), ManifestText("2.0", entries));
    WriteWholeFile(client / "Stock.ini", "[System]\r\nWebAddress=127.0.0.1:" + std::to_string(http_.Port()) +
                                        "\r\nTheme=Classic\r\n");
}
