// The update server of a download test: files served over HTTP on
// 127.0.0.1, and the manifest naming them in the client's Update folder.
#pragma once

#include <string>
#include <vector>

#include "ClientFolder.h"
#include "TestHttpServer.h"

struct ServedFile {
    std::string name;
    std::string content;  // empty: the server answers 404
    int dateYmd = 20991231;
    bool slow = false;
};

class UpdateServer {
public:
    UpdateServer(const ClientFolder& client, const std::vector<ServedFile>& files);
    TestHttpServer& http() { return http_; }
    std::string Target(const std::string& name) const { return "/files/" + name; }

private:
    TestHttpServer http_;
};
