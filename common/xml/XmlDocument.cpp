// XML document wrapper over the MSXML document object model.
#include "XmlDocument.h"

#include <windows.h>
#include <ole2.h>
#include <msxml2.h>

#include <utility>

#include "AnsiText.h"
#include "ComPtr.h"
#include "DeclaredEncoding.h"
#include "WholeFile.h"

namespace xml {

namespace {

// Owns one BSTR for the length of a call.
class ScopedBstr {
public:
    explicit ScopedBstr(BSTR value = nullptr) : value_(value) {}
    ~ScopedBstr() { SysFreeString(value_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR* Out() { return &value_; }
    BSTR Get() const { return value_; }

private:
    BSTR value_;
};

// Owns one VARIANT for the length of a call.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&value_); }
    ~ScopedVariant() { VariantClear(&value_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT* Out() { return &value_; }
    VARIANT& Get() { return value_; }

private:
    VARIANT value_;
};

std::string BstrToAnsi(BSTR text) {
    return WideToAnsi(text, text ? SysStringLen(text) : 0);
}

std::string StripTrailingLineBreaks(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

// The class of a program identifier, or of a class identifier in braces.
HRESULT ClassOf(const wchar_t* progId, CLSID* clsid) {
    if (progId[0] == L'{') return CLSIDFromString(const_cast<LPOLESTR>(progId), clsid);
    return CLSIDFromProgID(progId, clsid);
}

ComPtr<IXMLDOMDocument> CreateDocumentObject(HRESULT* failure) {
    CLSID clsid;
    HRESULT hr = ClassOf(L"Microsoft.XMLDOM", &clsid);
    ComPtr<IUnknown> unknown;
    if (SUCCEEDED(hr)) hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IUnknown, unknown.PutVoid());
    if (SUCCEEDED(hr)) hr = OleRun(unknown.Get());
    ComPtr<IXMLDOMDocument> document;
    if (SUCCEEDED(hr)) hr = unknown.As(IID_IXMLDOMDocument, &document);
    *failure = hr;
    return SUCCEEDED(hr) ? document : ComPtr<IXMLDOMDocument>();
}

void ReportCreationFailure(HRESULT hr) {
    const char* text = hr == REGDB_E_CLASSNOTREG ? "MSXML not registered"
                                                 : "Unable to create MSXML instance";
    MessageBoxA(nullptr, text, nullptr, MB_OK | MB_ICONERROR);
}

// IXMLDOMDocument2, which the import libraries do not define.
const IID kDocumentWithPropertiesIid = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// A document is read from its own bytes only: no external entity or DTD is
// fetched, nothing is validated, and DTDs are refused where the document
// model knows the property (older versions do not; that is no failure).
void ConfineToOwnBytes(IXMLDOMDocument* document) {
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    ComPtr<IXMLDOMDocument2> withProperties;
    if (FAILED(document->QueryInterface(kDocumentWithPropertiesIid, withProperties.PutVoid()))) return;
    ScopedBstr name(SysAllocString(L"ProhibitDTD"));
    VARIANT prohibit;
    VariantInit(&prohibit);
    prohibit.vt = VT_BOOL;
    prohibit.boolVal = VARIANT_TRUE;
    withProperties->setProperty(name.Get(), prohibit);
}

// Whether the loaded document carries a document type declaration. Such a
// document is refused even where the model ignored "ProhibitDTD", so that
// every platform reads the same documents.
bool HasDocumentType(IXMLDOMDocument* document) {
    ComPtr<IXMLDOMDocumentType> type;
    return SUCCEEDED(document->get_doctype(type.Put())) && type;
}

const char kDtdProhibited[] = "DTD prohibited";

}  // namespace

// ---------------------------------------------------------------- XmlNode

XmlNode::XmlNode() = default;
XmlNode::XmlNode(ComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}
XmlNode::XmlNode(const XmlNode&) = default;
XmlNode& XmlNode::operator=(const XmlNode&) = default;
XmlNode::~XmlNode() = default;

bool XmlNode::IsElement() const {
    DOMNodeType type = NODE_INVALID;
    return node_ && SUCCEEDED(node_->get_nodeType(&type)) && type == NODE_ELEMENT;
}

std::string XmlNode::Name() const {
    ScopedBstr name;
    if (!node_ || FAILED(node_->get_nodeName(name.Out()))) return std::string();
    return BstrToAnsi(name.Get());
}

std::string XmlNode::Text() const {
    ScopedBstr text;
    if (!node_ || FAILED(node_->get_text(text.Out()))) return std::string();
    return BstrToAnsi(text.Get());
}

std::vector<XmlNode> XmlNode::Children() const {
    std::vector<XmlNode> children;
    if (!node_) return children;
    ComPtr<IXMLDOMNodeList> list;
    if (FAILED(node_->get_childNodes(list.Put())) || !list) return children;
    long count = 0;
    if (FAILED(list->get_length(&count))) return children;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> child;
        if (SUCCEEDED(list->get_item(i, child.Put())) && child) children.emplace_back(std::move(child));
    }
    return children;
}

XmlNode XmlNode::FirstChild() const {
    ComPtr<IXMLDOMNode> child;
    if (!node_ || node_->get_firstChild(child.Put()) != S_OK) return XmlNode();
    return XmlNode(std::move(child));
}

XmlNode XmlNode::NextSibling() const {
    ComPtr<IXMLDOMNode> sibling;
    if (!node_ || node_->get_nextSibling(sibling.Put()) != S_OK) return XmlNode();
    return XmlNode(std::move(sibling));
}

XmlNode XmlNode::FirstChildElement(const char* name) const {
    for (const XmlNode& child : Children()) {
        if (child.IsElement() && child.Name() == name) return child;
    }
    return XmlNode();
}

bool XmlNode::Attribute(const char* name, std::string* value) const {
    if (!node_) return false;
    ComPtr<IXMLDOMElement> element;
    if (FAILED(node_.As(IID_IXMLDOMElement, &element))) return false;
    std::wstring wideName = AnsiToWide(name);
    ScopedBstr attributeName(SysAllocString(wideName.c_str()));
    ScopedVariant result;
    if (element->getAttribute(attributeName.Get(), result.Out()) != S_OK) return false;
    if (result.Get().vt != VT_BSTR) return false;
    *value = BstrToAnsi(result.Get().bstrVal);
    return true;
}

// ------------------------------------------------------------ XmlDocument

XmlDocument::XmlDocument() {
    // S_FALSE (already initialised) must be balanced too; a thread in the
    // other apartment model keeps its own and is not uninitialised here.
    comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
    HRESULT failure = S_OK;
    doc_ = CreateDocumentObject(&failure);
    if (!doc_) ReportCreationFailure(failure);
}

XmlDocument::~XmlDocument() {
    // The document goes before COM is uninitialised.
    doc_.Reset();
    if (comInitialised_) CoUninitialize();
}

bool XmlDocument::Load(const char* path) {
    lastError_.clear();
    if (!doc_) return false;
    // The tree is walked as soon as Load returns, so the load is synchronous.
    doc_->put_async(VARIANT_FALSE);
    ConfineToOwnBytes(doc_.Get());

    std::wstring widePath = AnsiToWide(path);
    ScopedVariant source;
    source.Get().vt = VT_BSTR;
    source.Get().bstrVal = SysAllocString(widePath.c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    HRESULT hr = doc_->load(source.Get(), &loaded);
    if (SUCCEEDED(hr) && loaded == VARIANT_TRUE) return AcceptLoaded();
    KeepParseError();

    // Some document models refuse a legacy declaration such as
    // encoding="gb2312" although they would read the same bytes under
    // another name. Decode such a file here and parse the text from memory.
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) return false;
    std::wstring text;
    if (!DecodeWithCodePage(bytes, FindDeclaredEncoding(bytes), &text)) return false;
    ScopedBstr xmlText(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    loaded = VARIANT_FALSE;
    hr = doc_->loadXML(xmlText.Get(), &loaded);
    if (SUCCEEDED(hr) && loaded == VARIANT_TRUE) {
        lastError_.clear();
        return AcceptLoaded();
    }
    KeepParseError();
    return false;
}

bool XmlDocument::AcceptLoaded() {
    if (!HasDocumentType(doc_.Get())) return true;
    lastError_ = kDtdProhibited;
    // Nothing of a refused document stays reachable.
    ScopedBstr empty(SysAllocString(L""));
    VARIANT_BOOL cleared = VARIANT_FALSE;
    doc_->loadXML(empty.Get(), &cleared);
    return false;
}

void XmlDocument::KeepParseError() {
    lastError_.clear();
    ComPtr<IXMLDOMParseError> error;
    if (FAILED(doc_->get_parseError(error.Put())) || !error) return;
    ScopedBstr reason;
    if (FAILED(error->get_reason(reason.Out()))) return;
    lastError_ = StripTrailingLineBreaks(BstrToAnsi(reason.Get()));
}

XmlNode XmlDocument::Root() const {
    if (!doc_) return XmlNode();
    ComPtr<IXMLDOMNode> documentNode;
    if (FAILED(doc_.As(IID_IXMLDOMNode, &documentNode))) return XmlNode();
    XmlNode document(std::move(documentNode));
    for (const XmlNode& child : document.Children()) {
        if (child.IsElement()) return child;
    }
    return XmlNode();
}

}  // namespace xml
