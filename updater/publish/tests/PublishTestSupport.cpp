#include "PublishTestSupport.h"

#include "Commands.h"

#include <iconv.h>
#include <utime.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

ToolRun RunTool(const std::vector<std::string>& words) {
    std::ostringstream out, err;
    ToolRun run;
    run.status = RunPublishTool(words, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

void PutFile(const std::string& root, const std::string& relative, const std::string& bytes, std::time_t modified) {
    const fs::path path = fs::path(root) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    const utimbuf times{modified, modified};
    if (::utime(path.c_str(), &times) != 0) throw std::runtime_error("cannot date " + path.string());
}

std::string Gb2312(const std::string& utf8) {
    iconv_t converter = iconv_open("GB2312", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GB2312 converter");
    std::string out(utf8.size() + 1, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* cursor = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(converter, &in, &inLeft, &cursor, &outLeft);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1)) throw std::runtime_error("no GB2312 form: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<ManifestFieldMap> ManifestItems(const std::string& xml) {
    static const std::regex item("<File>([\\s\\S]*?)</File>");
    static const std::regex field("<(\\w+)>([^<]*)</\\1>");
    auto decoded = [](std::string text) {
        const std::pair<const char*, const char*> entities[] = {
            {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
        for (const auto& [entity, character] : entities) {
            for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
                text.replace(at, std::string(entity).size(), character);
            }
        }
        return text;
    };
    std::vector<ManifestFieldMap> items;
    for (std::sregex_iterator it(xml.begin(), xml.end(), item), end; it != end; ++it) {
        ManifestFieldMap fields;
        const std::string body = (*it)[1];
        for (std::sregex_iterator f(body.begin(), body.end(), field); f != end; ++f) {
            fields[(*f)[1]] = decoded((*f)[2]);
        }
        items.push_back(fields);
    }
    return items;
}

std::string DecodedUrlPath(const std::string& url) {
    const size_t hostStart = url.find("://");
    const size_t pathStart = url.find('/', hostStart == std::string::npos ? 0 : hostStart + 3);
    std::string path;
    for (size_t i = pathStart; i != std::string::npos && i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size()) {
            path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += url[i];
        }
    }
    return path;
}

ScopedTimeZone::ScopedTimeZone(const char* zone) {
    const char* previous = std::getenv("TZ");
    hadZone_ = previous != nullptr;
    if (hadZone_) previous_ = previous;
    ::setenv("TZ", zone, 1);
    ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (hadZone_) {
        ::setenv("TZ", previous_.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}
