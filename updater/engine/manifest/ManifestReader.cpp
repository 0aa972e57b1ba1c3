#include "manifest/ManifestReader.h"

#include "run/Clock.h"
#include "manifest/ManifestFields.h"
#include "XmlDocument.h"

#include <memory>
#include <new>

bool ReadManifest(UpdateItemList* list, const char* path) {
    Stopwatch watch("\nReadFromXMLFile_V2");
    list->Clear();

    xml::XmlDocument document;
    if (!document.IsCreated() || !document.Load(path)) return false;
    xml::XmlNode root = document.Root();
    if (root.IsNull()) return false;
    xml::XmlNode product = root.FirstChildElement("Product");
    if (product.IsNull()) return false;
    std::string productVersion;
    product.Attribute("Version", &productVersion);  // informational only

    std::vector<xml::XmlNode> children = product.Children();
    if (children.empty()) return false;
    for (const xml::XmlNode& child : children) {
        std::vector<xml::XmlNode> fields = child.Children();
        if (fields.empty()) continue;
        std::unique_ptr<UpdateItem> item(new (std::nothrow) UpdateItem(std::string()));
        if (!item) return false;
        for (const xml::XmlNode& field : fields) {
            if (!field.IsElement()) continue;
            ApplyManifestField(item.get(), field.Name(), field.Text());
        }
        DeriveItemPaths(item.get(), list->Folders());
        list->Append(std::move(item));
    }
    return true;
}
