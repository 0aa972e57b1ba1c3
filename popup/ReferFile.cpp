#include "ReferFile.h"

#include <windows.h>

#include "ProgramFolder.h"
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
    const std::optional<std::string> folder = ProgramFolder();
    return folder ? JoinPath(*folder, "data\\refer.xml") : std::string();
}

bool ReadReferFile(const char* path, CReferQueue* queue) {
    xml::XmlDocument document;
    if (!document.IsCreated() || !document.Load(path)) return false;
    xml::XmlNode root = document.Root();
    if (root.IsNull()) return false;

    // Read aside and swapped in whole: a read that fails part-way (out of
    // memory, say) leaves the queue as it was.
    CReferQueue rows;
    xml::XmlNode data = root.FirstChildElement("rs:data");
    // Row by row, and no further than the queue takes.
    for (xml::XmlNode row = data.FirstChild(); !row.IsNull() && !rows.Full(); row = row.NextSibling()) {
        if (!row.IsElement()) continue;  // comments and text between rows
        ReferAttributes attributes;
        attributes.c0 = AttributeText(row, "c0");
        attributes.c1 = AttributeText(row, "c1");
        attributes.c2 = AttributeText(row, "c2");
        attributes.c3 = AttributeText(row, "c3");
        attributes.c4 = AttributeText(row, "c4");
        rows.Append(MakeReferRecord(attributes));
    }
    queue->Swap(rows);
    return true;
}
