// The wrapper against the real document model: files in the legacy Chinese
// encoding, UTF-8, malformed and missing files, and the tree access the
// readers rely on.
#include "XmlDocument.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DeclaredEncoding.h"
#include "TestFiles.h"

namespace {

// GB2312 bytes of the texts used below.
const std::string kStockGb = "\xB9\xC9\xC6\xB1";          // 股票
const std::string kChineseNameGb = "\xD6\xD0\xCE\xC4\xC3\xFB";  // 中文名
const std::string kStockUtf8 = "\xE8\x82\xA1\xE7\xA5\xA8";
const std::string kChineseNameUtf8 = "\xE4\xB8\xAD\xE6\x96\x87\xE5\x90\x8D";

class XmlDocumentTest : public ::testing::Test {
protected:
    std::string Write(const char* name, const std::string& bytes) {
        std::string path = folder_.File(name);
        WriteWholeFile(path, bytes);
        return path;
    }
    ScratchFolder folder_;
};

struct EncodedFile {
    const char* name;
    std::string bytes;
};

TEST_F(XmlDocumentTest, ChineseTextArrivesAsGb2312WhateverTheFileEncoding) {
    const EncodedFile files[] = {
        {"gb2312.xml", "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<root><item name=\"" +
                           kChineseNameGb + "\">" + kStockGb + "</item></root>"},
        {"gbk.xml", "<?xml version='1.0' encoding = 'GBK' standalone='yes'?><root><item name=\"" +
                        kChineseNameGb + "\">" + kStockGb + "</item></root>"},
        {"utf8.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?><root><item name=\"" +
                         kChineseNameUtf8 + "\">" + kStockUtf8 + "</item></root>"},
        {"nodecl.xml", "<root><item name=\"" + kChineseNameUtf8 + "\">" + kStockUtf8 +
                           "</item></root>"},
    };
    for (const EncodedFile& file : files) {
        SCOPED_TRACE(file.name);
        xml::XmlDocument document;
        ASSERT_TRUE(document.IsCreated());
        ASSERT_TRUE(document.Load(Write(file.name, file.bytes).c_str())) << document.LastError();
        EXPECT_EQ("", document.LastError());
        xml::XmlNode item = document.Root().FirstChildElement("item");
        ASSERT_FALSE(item.IsNull());
        std::string name;
        ASSERT_TRUE(item.Attribute("name", &name));
        EXPECT_EQ(kChineseNameGb, name);
        EXPECT_EQ(kStockGb, item.Text());
    }
}

TEST_F(XmlDocumentTest, MalformedFileFailsWithReasonWithoutTrailingLineBreaks) {
    const EncodedFile files[] = {
        {"bad-utf8.xml", "<?xml version=\"1.0\"?><root><item></root>"},
        {"bad-gb2312.xml", "<?xml version=\"1.0\" encoding=\"gb2312\"?><root>" + kStockGb +
                               "<item></root>"},
    };
    for (const EncodedFile& file : files) {
        SCOPED_TRACE(file.name);
        xml::XmlDocument document;
        EXPECT_FALSE(document.Load(Write(file.name, file.bytes).c_str()));
        const std::string& reason = document.LastError();
        ASSERT_FALSE(reason.empty());
        EXPECT_NE('\n', reason.back());
        EXPECT_NE('\r', reason.back());
        EXPECT_TRUE(document.Root().IsNull());
    }
}

// A byte sequence that is not valid in the declared code page makes the file
// fail, as the document model itself fails it, instead of loading made-up
// replacement characters.
TEST_F(XmlDocumentTest, GbDeclaredFileWithInvalidBytesFails) {
    const char* invalid[] = {"\xB9\x20", "\xFF", "\xB9\x7F"};
    for (const char* bytes : invalid) {
        SCOPED_TRACE(testing::PrintToString(std::string(bytes)));
        xml::XmlDocument document;
        std::string path = Write("invalid-gb.xml", "<?xml version=\"1.0\" encoding=\"gb2312\"?><root>" + kStockGb +
                                                       bytes + "</root>");
        EXPECT_FALSE(document.Load(path.c_str())) << document.Root().Text();
        EXPECT_TRUE(document.Root().IsNull());
    }
}

TEST(DeclaredEncoding, OnlyTheChineseNamesAreDecodedHere) {
    const struct {
        const char* declaration;
        bool decodable;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"gb2312\"?>", true},
        {"<?xml version='1.0' encoding = 'GBK'?>", true},
        {"<?xml version=\"1.0\" encoding=\"GB18030\"?>", true},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?>", false},
        {"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>", false},
        {"<?xml version=\"1.0\" encoding=\"shift_jis\"?>", false},
        {"<?xml version=\"1.0\"?>", false},
        {"<root/>", false},
    };
    for (const auto& c : cases) {
        std::string bytes = std::string(c.declaration) + "<root/>";
        xml::DeclaredEncoding declared = xml::FindDeclaredEncoding(bytes);
        EXPECT_EQ(c.decodable, declared.decodable) << c.declaration;
        std::wstring text = L"unchanged";
        EXPECT_EQ(c.decodable, xml::DecodeWithCodePage(bytes, declared, &text)) << c.declaration;
        if (c.decodable) {
            EXPECT_EQ(936u, declared.codePage);
            EXPECT_EQ(std::wstring::npos, text.find(L"encoding")) << c.declaration;
        } else {
            EXPECT_EQ(L"unchanged", text) << c.declaration;
        }
    }
}

TEST(DeclaredEncoding, DecodingRefusesSequencesInvalidInTheCodePage) {
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
    const struct {
        std::string content;
        bool valid;
    } cases[] = {
        {kStockGb, true},
        {"plain", true},
        {"\xB9\x20", false},  // a lead byte before a blank
        {"\xFF", false},
        {kStockGb + "\xB9", false},  // a lead byte without its trail
    };
    for (const auto& c : cases) {
        std::string bytes = declaration + "<r>" + c.content + "</r>";
        std::wstring text;
        EXPECT_EQ(c.valid, xml::DecodeWithCodePage(bytes, xml::FindDeclaredEncoding(bytes), &text))
            << testing::PrintToString(c.content);
        if (c.valid) {
            EXPECT_NE(std::wstring::npos, text.find(L"<r>"));
        } else {
            EXPECT_TRUE(text.empty());
        }
    }
    std::wstring stock;
    ASSERT_TRUE(xml::DecodeWithCodePage(declaration + kStockGb, xml::FindDeclaredEncoding(declaration + kStockGb),
                                        &stock));
    EXPECT_EQ(L"<?xml version=\"1.0\"?>\u80a1\u7968", stock);
}

TEST_F(XmlDocumentTest, MissingFileFails) {
    xml::XmlDocument document;
    EXPECT_FALSE(document.Load(folder_.File("absent.xml").c_str()));
    EXPECT_TRUE(document.Root().IsNull());
}

TEST_F(XmlDocumentTest, TreeAccessByQualifiedNameAndAttributes) {
    std::string path = Write("tree.xml",
                             "<?xml version=\"1.0\"?><!-- lead --><?pi x?>"
                             "<xml xmlns:rs=\"urn:rs\" xmlns:s=\"urn:s\">"
                             "<s:Schema/><RS:DATA/><rs:data><!-- note -->"
                             "<z:row xmlns:z=\"urn:z\" c0=\"7\" c1=\"\"/>text</rs:data></xml>");
    xml::XmlDocument document;
    ASSERT_TRUE(document.Load(path.c_str())) << document.LastError();

    xml::XmlNode root = document.Root();
    ASSERT_TRUE(root.IsElement());
    EXPECT_EQ("xml", root.Name());
    EXPECT_TRUE(root.FirstChildElement("Schema").IsNull());  // the prefix is part of the name
    EXPECT_TRUE(root.FirstChildElement("data").IsNull());

    xml::XmlNode data = root.FirstChildElement("rs:data");
    ASSERT_FALSE(data.IsNull());
    std::vector<xml::XmlNode> children = data.Children();
    ASSERT_EQ(3u, children.size());
    EXPECT_FALSE(children[0].IsElement());  // the comment
    EXPECT_FALSE(children[2].IsElement());  // the text
    EXPECT_EQ("z:row", children[1].Name());

    std::string value = "unchanged";
    EXPECT_TRUE(children[1].Attribute("c0", &value));
    EXPECT_EQ("7", value);
    EXPECT_TRUE(children[1].Attribute("c1", &value));
    EXPECT_EQ("", value);
    value = "unchanged";
    EXPECT_FALSE(children[1].Attribute("c2", &value));
    EXPECT_EQ("unchanged", value);
    EXPECT_FALSE(children[0].Attribute("c0", &value));  // not an element
}

// A document may not pull in other files through its DTD: neither an
// external entity nor an external DTD subset, whatever the declared
// encoding. A document with a DTD is refused, and nothing of it or of the
// files it names can be reached.
TEST_F(XmlDocumentTest, ExternalEntitiesAndDtdsPullInNothing) {
    const std::string secret = "TOP-SECRET-CONTENT";
    std::string secretPath = Write("secret.txt", secret);
    Write("secret.dtd", "<!ENTITY fromDtd \"" + secret + "\">");
    std::string secretUrl = "file:///" + secretPath;
    for (char& c : secretUrl) {
        if (c == '\\') c = '/';
    }
    const EncodedFile files[] = {
        {"entity-relative.xml",
         "<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY x SYSTEM \"secret.txt\">]><root>&x;</root>"},
        {"entity-absolute.xml",
         "<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY x SYSTEM \"" + secretUrl + "\">]><root>&x;</root>"},
        {"entity-in-attribute.xml",
         "<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY x SYSTEM \"secret.txt\">]><root a=\"&x;\">t</root>"},
        {"external-subset.xml",
         "<?xml version=\"1.0\"?><!DOCTYPE root SYSTEM \"secret.dtd\"><root>&fromDtd;</root>"},
        {"parameter-entity.xml",
         "<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY % p SYSTEM \"secret.dtd\"> %p;]><root>&fromDtd;</root>"},
        {"entity-gb2312.xml",
         "<?xml version=\"1.0\" encoding=\"gb2312\"?><!DOCTYPE root [<!ENTITY x SYSTEM \"secret.txt\">]>"
         "<root>" + kStockGb + "&x;</root>"},
    };
    for (const EncodedFile& file : files) {
        SCOPED_TRACE(file.name);
        xml::XmlDocument document;
        ASSERT_TRUE(document.IsCreated());
        EXPECT_FALSE(document.Load(Write(file.name, file.bytes).c_str()));
        EXPECT_FALSE(document.LastError().empty());
        xml::XmlNode root = document.Root();
        std::string attribute;
        root.Attribute("a", &attribute);
        EXPECT_EQ(std::string::npos, root.Text().find(secret)) << root.Text();
        EXPECT_EQ(std::string::npos, attribute.find(secret)) << attribute;
    }
}

TEST_F(XmlDocumentTest, NodeCopiesShareTheNodeAndOutliveTheirSource) {
    std::string path = Write("copy.xml", "<a><b>x</b></a>");
    xml::XmlDocument document;
    ASSERT_TRUE(document.Load(path.c_str()));
    xml::XmlNode kept;
    {
        xml::XmlNode b = document.Root().FirstChildElement("b");
        xml::XmlNode copy(b);
        kept = copy;
        kept = kept;
    }
    EXPECT_EQ("x", kept.Text());
    EXPECT_TRUE(xml::XmlNode().Name().empty());
}

}  // namespace
