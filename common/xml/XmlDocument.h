// XML document wrapper shared by the updater and the alert library.
//
// A thin layer over the MSXML document object model created through COM from
// "Microsoft.XMLDOM". Every text crosses this interface as a GB2312 (ANSI code
// page) byte string. Construction initialises COM on the calling thread
// (apartment model); destruction releases the document and balances it.
#pragma once

#include <string>
#include <vector>

#include "ComPtr.h"

struct IXMLDOMDocument;
struct IXMLDOMNode;

namespace xml {

// One node of a loaded document. Holds a reference on the COM node; a copy
// takes a reference of its own. A default-constructed node is null.
class XmlNode {
public:
    XmlNode();
    explicit XmlNode(ComPtr<IXMLDOMNode> node);
    XmlNode(const XmlNode& other);
    XmlNode& operator=(const XmlNode& other);
    ~XmlNode();

    bool IsNull() const { return !node_; }
    bool IsElement() const;
    std::string Name() const;  // qualified node name, prefix included
    std::string Text() const;  // text content of the node and its descendants

    std::vector<XmlNode> Children() const;  // every child node, in document order
    // One node at a time, for lists too long to collect: the first child and
    // the next sibling, or a null node.
    XmlNode FirstChild() const;
    XmlNode NextSibling() const;
    // First child element whose qualified name equals `name` byte for byte.
    XmlNode FirstChildElement(const char* name) const;
    // Attribute value as text; false when it is missing or not a string value.
    bool Attribute(const char* name, std::string* value) const;

private:
    ComPtr<IXMLDOMNode> node_;
};

class XmlDocument {
public:
    XmlDocument();  // on failure shows "MSXML not registered" or "Unable to create MSXML instance"
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    bool IsCreated() const { return static_cast<bool>(doc_); }
    // Loads a file by its ANSI path; complete when it returns. A file refused
    // for its declared encoding is decoded here and parsed from memory.
    // External entities and DTDs are never fetched; a document with a
    // document type declaration is refused.
    bool Load(const char* path);
    // The parse error's reason after a failed Load, trailing CR/LF removed.
    const std::string& LastError() const { return lastError_; }
    // The first child of the document that is an element, or a null node.
    XmlNode Root() const;

private:
    void KeepParseError();
    // True unless the loaded document has a DTD, which is then unloaded.
    bool AcceptLoaded();

    bool comInitialised_ = false;
    ComPtr<IXMLDOMDocument> doc_;
    std::string lastError_;
};

}  // namespace xml
