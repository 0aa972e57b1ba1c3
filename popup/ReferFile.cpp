#include "ReferFile.h"

#include <windows.h>

#include "ReferRecordConversion.h"
#include "XmlDocument.h"

namespace {

std::string AttributeText(const xml::XmlNode& row, const char* name) {
    std::string value;
    if (!row.Attribute(name, &value)) value.clear();
    return value;
}

}  // namespace

std::string ReferFilePath() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    module[MAX_PATH - 1] = '\0';
    std::string folder = module;
    size_t slash = folder.rfind('\\');
    if (slash != std::string::npos) folder.erase(slash);
    return folder + "\\data\\refer.xml";
}

bool ReadReferFile(const char* path, CReferQueue* queue) {
    xml::XmlDocument document;
    if (!document.IsCreated() || !document.Load(path)) return false;
    xml::XmlNode root = document.Root();
    if (root.IsNull()) return false;

    queue->Clear();
    xml::XmlNode data = root.FirstChildElement("rs:data");
    if (data.IsNull()) return true;
    for (const xml::XmlNode& row : data.Children()) {
        if (!row.IsElement()) continue;  // comments and text between rows
        ReferAttributes attributes;
        attributes.c0 = AttributeText(row, "c0");
        attributes.c1 = AttributeText(row, "c1");
        attributes.c2 = AttributeText(row, "c2");
        attributes.c3 = AttributeText(row, "c3");
        attributes.c4 = AttributeText(row, "c4");
        queue->Append(MakeReferRecord(attributes));
    }
    return true;
}
