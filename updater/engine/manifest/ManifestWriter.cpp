#include "manifest/ManifestWriter.h"

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

}  // namespace

ManifestField NumberField(const std::string& name, int64_t value) { return {name, std::to_string(value)}; }

std::string ManifestText(const std::optional<std::string>& productVersion, const std::vector<ManifestEntry>& entries) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Update>\n";
    xml += productVersion ? "  <Product Version=\"" + EscapedXml(*productVersion) + "\">\n" : "  <Product>\n";
    for (const ManifestEntry& entry : entries) {
        xml += "    <File>\n";
        for (const ManifestField& field : entry) {
            xml += "      <" + field.name + ">" + (field.isMarkup ? field.text : EscapedXml(field.text)) + "</" +
                   field.name + ">\n";
        }
        xml += "    </File>\n";
    }
    xml += "  </Product>\n</Update>\n";
    return xml;
}
