#include "UpdateServer.h"

UpdateServer::UpdateServer(const ClientFolder& client, const std::vector<ServedFile>& files) {
    std::string manifest = "<?xml version=\"1.0\"?>\r\n<Update>\r\n<Product Version=\"2.0\">\r\n";
    for (const ServedFile& file : files) {
        if (file.content.empty()) {
            http_.ServeStatus(Target(file.name), 404);
        } else if (file.slow) {
            http_.ServeSlowly(Target(file.name), file.content, 16, 400);
        } else {
            http_.Serve(Target(file.name), file.content);
        }
        manifest += "<File><FileName>" + file.name + "</FileName><Length>" + std::to_string(file.content.size()) +
                    "</Length><FileDateLow>" + std::to_string(file.dateYmd) + "</FileDateLow><URL>" +
                    http_.Url(Target(file.name)) + "</URL></File>\r\n";
    }
    manifest += "</Product>\r\n</Update>\r\n";
    WriteWholeFile(client.update("Update.xml"), manifest);
    WriteWholeFile(client / "Stock.ini", "[System]\r\nWebAddress=127.0.0.1:" + std::to_string(http_.Port()) +
                                        "\r\nTheme=Classic\r\n");
}
