// The reader against a real XML parser: random documents inside the
// reader's language must give the same names, attributes and texts with
// XmlTree as with libxml2, and so must what XmlTree writes back.
//
// The language: a header, comments and declarations outside elements; names
// of letters, digits, '_', '.' and '-'; quoted values without '"', '<' or
// white space other than spaces; text with the entities &amp; &lt; &gt;
// &apos; and raw '"' and '\'', no CR inside; a CDATA section as an
// element's whole content; GB2312 characters anywhere in texts and values.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/system.h"
#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

// Pieces that texts and values are made of. Chinese pieces are GBK bytes.
const char* const kCommonPieces[] = {"a", "Z", "7", " ", "=", "'", ".", "&amp;", "&lt;", "&gt;", "&apos;",
                                     "/", "?", "!", "[", "]", "青", "禾", "计算器", "。", "，"};
const char* const kTextOnlyPieces[] = {"\"", "\n", "\t"};
const char* const kValueOnlyPieces[] = {">"};
const char* const kCdataPieces[] = {"<", ">", "&", "\"", "x", "]", "]]", "青", " ", "<b>"};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    std::string Document() {
        std::string out;
        if (Chance(2)) out += "<?xml version=\"1.0\" encoding=\"GBK\"?>";
        out += Blank();
        if (Chance(3)) out += "<!-- before -->" + Blank();
        out += Element(0);
        if (Chance(3)) out += Blank() + "<!-- after -->";
        return out;
    }

private:
    bool Chance(int oneIn) { return Pick(oneIn) == 0; }
    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string Blank() {
        const char* const blanks[] = {"", " ", "\r\n", "\n\t", "  \r\n\t"};
        return blanks[Pick(5)];
    }

    std::string Name() {
        const std::string first = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
        const std::string rest = first + "0123456789.-";
        std::string name(1, first[static_cast<std::size_t>(Pick(static_cast<int>(first.size())))]);
        for (int n = Pick(7); n > 0; --n) name += rest[static_cast<std::size_t>(Pick(static_cast<int>(rest.size())))];
        return name;
    }

    template <std::size_t N, std::size_t M>
    std::string Run(const char* const (&common)[N], const char* const (&own)[M], int length) {
        std::string out;
        for (int i = 0; i < length; ++i) out += Chance(4) ? own[Pick(M)] : common[Pick(N)];
        return out;
    }

    std::string Attributes() {
        std::string out;
        std::vector<std::string> used;
        for (int n = Pick(4); n > 0; --n) {
            const std::string name = Name();
            bool repeated = false;
            for (const auto& u : used) repeated = repeated || u == name;
            if (repeated) continue;
            used.push_back(name);
            const char* const separators[] = {" ", "  ", "\n\t", "\r\n "};
            out += separators[Pick(4)] + name + "=\"" + Run(kCommonPieces, kValueOnlyPieces, Pick(6)) + "\"";
        }
        return out + (Chance(4) ? " " : "");
    }

    std::string Element(int depth) {
        const std::string name = Name();
        std::string out = "<" + name + Attributes();
        const int children = depth >= 4 ? 0 : Pick(4);
        if (children == 0 && Chance(2)) return out + "/>";
        out += ">";
        if (Chance(4)) {
            std::string section = Run(kCdataPieces, kCdataPieces, Pick(6));
            while (section.find("]]>") != std::string::npos) {
                section = Run(kCdataPieces, kCdataPieces, Pick(6));
            }
            out += Blank() + "<![CDATA[" + section + "]]>" + Blank();
        } else {
            out += Run(kCommonPieces, kTextOnlyPieces, Pick(8));
            if (Chance(4)) out += "<!-- inside -->" + Run(kCommonPieces, kTextOnlyPieces, Pick(3));
        }
        for (int i = 0; i < children; ++i) {
            out += Blank() + Element(depth + 1);
            if (Chance(5)) out += "tail text";
        }
        return out + Blank() + "</" + name + ">";
    }

    std::mt19937 random_;
};

std::string Trimmed(const std::string& s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && space(s[begin])) ++begin;
    while (end > begin && space(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

std::string Utf8(const Text& gbk) { return System().GbkToUtf8(gbk); }
std::string Str(const xmlChar* s) { return s ? reinterpret_cast<const char*>(s) : ""; }

// Compares the element at path with libxml2's node, and its descendants.
void ExpectSame(const XmlTree& tree, const Text& path, xmlNode* node, const std::string& document) {
    SCOPED_TRACE(path);
    // The text: what stands before the first child element, trimmed.
    std::string text;
    std::vector<xmlNode*> children;
    for (xmlNode* c = node->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE) children.push_back(c);
        if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && children.empty()) {
            text += Str(c->content);
        }
    }
    Text ours;
    ASSERT_TRUE(tree.NodeText(path, ours)) << document;
    EXPECT_EQ(Utf8(ours), Trimmed(text)) << document;

    int n = 0;
    for (xmlAttr* a = node->properties; a; a = a->next) {
        xmlChar* value = xmlNodeListGetString(node->doc, a->children, 1);
        const std::string expected = Str(value);
        xmlFree(value);
        Text byPosition;
        Text byName;
        ASSERT_TRUE(tree.GetAttribute(path, "@" + std::to_string(++n), byPosition)) << document;
        ASSERT_TRUE(tree.GetAttribute(path, System().Utf8ToGbk(Str(a->name)), byName)) << document;
        EXPECT_EQ(Utf8(byPosition), expected) << document;
        EXPECT_EQ(Utf8(byName), expected) << document;
    }
    Text extra;
    EXPECT_FALSE(tree.GetAttribute(path, "@" + std::to_string(n + 1), extra)) << document;

    int count = -1;
    ASSERT_TRUE(tree.ChildCount(path, count));
    ASSERT_EQ(static_cast<std::size_t>(count), children.size()) << document;
    std::vector<Text> names;
    tree.ChildNames(path, names);
    for (std::size_t i = 0; i < children.size(); ++i) {
        EXPECT_EQ(Utf8(names[i]), Str(children[i]->name)) << document;
        ExpectSame(tree, path + "/@" + std::to_string(i + 1), children[i], document);
    }
}

// Parses with libxml2 and compares with the tree; the root's name too.
void ExpectSameAsLibxml2(const XmlTree& tree, const std::string& document) {
    xmlDoc* doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "generated.xml", "GBK",
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    ASSERT_NE(doc, nullptr) << "libxml2 refused: " << document;
    xmlNode* root = xmlDocGetRootElement(doc);
    Text text;
    EXPECT_TRUE(tree.NodeText(System().Utf8ToGbk(Str(root->name)), text)) << document;
    ExpectSame(tree, "@1", root, document);
    xmlFreeDoc(doc);
}

TEST(XmlDifferential, AgreesWithLibxml2OnGeneratedDocuments) {
    Generator generator(20240601);
    for (int i = 0; i < 3000; ++i) {
        const std::string document = generator.Document();
        XmlTree tree;
        ASSERT_TRUE(tree.LoadBytes(document)) << document;
        ExpectSameAsLibxml2(tree, document);

        // What the tree writes is XML that libxml2 reads the same way.
        Text saved;
        ASSERT_TRUE(tree.SaveText(saved, "GBK"));
        ExpectSameAsLibxml2(tree, saved);
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace qh
