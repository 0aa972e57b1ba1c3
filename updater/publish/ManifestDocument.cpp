#include "ManifestDocument.h"

namespace {

// Escapes what XML gives a meaning to, in text and in attribute values. GB2312
// bytes are all above 0x7F and never taken for markup.
std::string EscapedXml(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

void Field(std::string* out, const char* name, const std::string& value) {
    *out += "      <";
    *out += name;
    *out += ">" + EscapedXml(value) + "</";
    *out += name;
    *out += ">\n";
}

}  // namespace

std::string ManifestDocument(const std::optional<std::string>& productVersion,
                             const std::vector<ManifestItem>& items) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Update>\n";
    xml += productVersion ? "  <Product Version=\"" + EscapedXml(*productVersion) + "\">\n" : "  <Product>\n";
    for (const ManifestItem& item : items) {
        xml += "    <File>\n";
        Field(&xml, "FileName", item.fileName);
        if (!item.fileVersion.empty()) Field(&xml, "FileVersion", item.fileVersion);
        Field(&xml, "Length", std::to_string(item.length));
        Field(&xml, "FileDateLow", std::to_string(item.fileDateLow));
        // The updater treats an absent LocalPath as the client folder itself.
        if (!item.localPath.empty()) Field(&xml, "LocalPath", item.localPath);
        Field(&xml, "URL", item.url);
        Field(&xml, "MD5", item.md5);
        Field(&xml, "SHA256", item.sha256);
        xml += "    </File>\n";
    }
    xml += "  </Product>\n</Update>\n";
    return xml;
}
