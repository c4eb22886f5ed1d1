// What the reader accepts and refuses, through XmlTree::LoadBytes.
#include <gtest/gtest.h>

#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

Text TextAt(const XmlTree& tree, const Text& path) {
    Text text = "<none>";
    tree.NodeText(path, text);
    return text;
}

Text AttributeAt(const XmlTree& tree, const Text& path, const Text& name) {
    Text value = "<none>";
    tree.GetAttribute(path, name, value);
    return value;
}

TEST(XmlReader, RefusesInputWithoutAnElement) {
    XmlTree tree;
    EXPECT_FALSE(tree.LoadBytes(""));
    EXPECT_FALSE(tree.LoadBytes("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
    EXPECT_FALSE(tree.LoadBytes("just text"));
    EXPECT_FALSE(tree.LoadBytes("<!-- only a comment -->"));
}

TEST(XmlReader, RefusesSyntaxErrors) {
    const char* const bad[] = {
        "<a><b></a>",              // b is never closed
        "<a>1 > 0</a>",            // '>' in content
        "<a></b>",                 // end tag of another element
        "<a>",                     // left open
        "</a>",                    // end tag with nothing open
        "<a/></a>",                // end tag after the root was closed
        "<a></>",                  // "</>"
        "<>x</>",                  // empty name
        "< a/>",                   // empty name before the space
        "<a/ ></a/>",              // a name ending in '/' would be written back as "<a/>"
        "<a/><b/>",                // a second top-level element
        "<a b=\"1\"",              // tag never ends
        "<a b=\"1>\"/",            // tag never ends: its '>' is quoted
        "<a <b/>>",                // '<' inside a tag
        "<a b=\"<\"/>",            // '<' inside a tag, even quoted
        "<a/><",                   // '<' as the last byte
        "<a/> >",                  // '>' outside any tag
        "<a x=\"1\" x=\"2\"/>",    // repeated attribute name
        "<a \"x\"=\"1\"/>",        // quote before the '='
        "<a =\"1\"/>",             // '=' with no name
        "<a x/>",                  // attribute without a value
        "<a x=\"1\"y=\"2\"/>",     // no space after a quoted value
        "<a x=1\"/>",              // quote in an unquoted value
        "<a><![CDATA[never closed</a>",
        "<a><!DOCTYPE never closed",
        "<?xml never closed",
    };
    for (const char* text : bad) {
        XmlTree tree;
        EXPECT_FALSE(tree.LoadBytes(text)) << text;
        EXPECT_FALSE(tree.HasDocument()) << text;
    }
}

TEST(XmlReader, ReadsTheHeaderElementsAttributesAndText) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes(
        "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<!DOCTYPE r>\r\n"
        "<r>\r\n\t<v>1.0.0.506</v>\r\n\t<f Name=\"a\\b.png\" Hash=\"00FF\" n=3/>\r\n</r>"));
    EXPECT_EQ(TextAt(tree, "@1/@1"), "1.0.0.506");
    EXPECT_EQ(AttributeAt(tree, "@1/@2", "Name"), "a\\b.png");
    EXPECT_EQ(AttributeAt(tree, "@1/@2", "@2"), "00FF");
    EXPECT_EQ(AttributeAt(tree, "@1/@2", "n"), "3");
}

TEST(XmlReader, TrimsContentAndKeepsOnlyTheTextBeforeTheFirstChild) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<a>  \r\n\tabc \r\n<b>  x y  </b>tail</a>"));
    EXPECT_EQ(TextAt(tree, "@1"), "abc");
    EXPECT_EQ(TextAt(tree, "@1/@1"), "x y");
}

TEST(XmlReader, CdataHoldsAnyBytesRawAndReplacesTheTextAroundIt) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<a><![CDATA[1 > 0]]></a>"));
    EXPECT_EQ(TextAt(tree, "@1"), "1 > 0");
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    EXPECT_NE(saved.find("<a><![CDATA[1 > 0]]></a>"), Text::npos);

    ASSERT_TRUE(tree.LoadBytes("<a>before<![CDATA[ &lt; <b> ]]>after</a>"));
    EXPECT_EQ(TextAt(tree, "@1"), "&lt; <b>");  // raw, trimmed, nothing around it
}

TEST(XmlReader, DropsCommentsWherePutAndToTheEndWhenUnclosed) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<!-- <x> --><a x=\"1<!-- -->2\">t<!-- > -->u</a><!-- never closed <b>"));
    EXPECT_EQ(AttributeAt(tree, "@1", "x"), "12");
    EXPECT_EQ(TextAt(tree, "@1"), "tu");
    // "<!" without two hyphens is a declaration, skipped to its '>'.
    ASSERT_TRUE(tree.LoadBytes("<a><!x>t</a>"));
    EXPECT_EQ(TextAt(tree, "@1"), "t");
}

TEST(XmlReader, QuotedValuesMayHoldSpacesAndGreaterThanSigns) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<a x=\"1 > 0\" y='q' z=\"a=b\"/>"));
    EXPECT_EQ(AttributeAt(tree, "@1", "x"), "1 > 0");
    EXPECT_EQ(AttributeAt(tree, "@1", "y"), "'q'");  // single quotes mean nothing
    EXPECT_EQ(AttributeAt(tree, "@1", "z"), "a=b");
}

TEST(XmlReader, TabsAndLineBreaksSeparateAttributesLikeSpaces) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<a\r\n\tx=\"1\"\n\ty=\"2\"\t/>"));
    EXPECT_EQ(AttributeAt(tree, "@1", "x"), "1");
    EXPECT_EQ(AttributeAt(tree, "@1", "y"), "2");
    ASSERT_TRUE(tree.LoadBytes("<a><b></b ></a >"));
}

TEST(XmlReader, EntityRulesOfTheFiveSequences) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<a x=\"&lt;&quote;\" y=\"&quot;\" z=\"&amp;lt; & &#65;\"/>"));
    EXPECT_EQ(AttributeAt(tree, "@1", "x"), "<\"");
    EXPECT_EQ(AttributeAt(tree, "@1", "y"), "&quot;");
    EXPECT_EQ(AttributeAt(tree, "@1", "z"), "&lt; & &#65;");
}

TEST(XmlReader, RefusesARepeatedNameAmongManyAttributes) {
    Text tag = "<a";
    for (int i = 0; i < 100; ++i) tag += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes(tag + "/>"));
    EXPECT_EQ(AttributeAt(tree, "@1", "@100"), "99");
    EXPECT_FALSE(tree.LoadBytes(tag + " n57=\"x\"/>"));
}

TEST(XmlReader, TheSecondByteOfAChineseCharacterIsNeverASpecialCharacter) {
    // 0x81 starts a two-byte character and takes the '<', '/', '"' or '>'
    // after it along, so they are part of the name, value or text.
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<r\x81/><n\x81< v=\"\x81\"\" w=\"\x81>\">\x81<</n\x81<><m>t\x81>x</m></r\x81/>"));
    std::vector<Text> names;
    ASSERT_TRUE(tree.ChildNames("@1", names));
    EXPECT_EQ(names, (std::vector<Text>{"n\x81<", "m"}));
    EXPECT_EQ(AttributeAt(tree, "@1/@1", "v"), "\x81\"");
    EXPECT_EQ(AttributeAt(tree, "@1/@1", "w"), "\x81>");
    EXPECT_EQ(TextAt(tree, "@1/@1"), "\x81<");
    EXPECT_EQ(TextAt(tree, "@1/@2"), "t\x81>x");
    // The path takes "\x81/" as one character, not as a step separator.
    EXPECT_EQ(TextAt(tree, "r\x81/"), "");
    EXPECT_EQ(TextAt(tree, "r\x81//n\x81<"), "\x81<");
}

TEST(XmlReader, TheByte80IsASingleByte) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<a>\x80</a>"));
    EXPECT_EQ(TextAt(tree, "@1"), "\x80");
}

TEST(XmlReader, AByteOrderMarkMakesTheDocumentUnreadable) {
    // BF is taken as the first byte of a two-byte character and swallows the
    // '<' of the header, whose '>' then stands outside any tag.
    XmlTree tree;
    EXPECT_FALSE(tree.LoadBytes("\xEF\xBB\xBF<?xml version=\"1.0\"?><a/>"));
}

TEST(XmlReader, AFailedLoadLeavesTheTreeEmpty) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<a>1</a>"));
    EXPECT_FALSE(tree.LoadBytes("<a>"));
    EXPECT_FALSE(tree.HasDocument());
    Text text = "kept";
    EXPECT_FALSE(tree.NodeText("@1", text));
    EXPECT_EQ(text, "kept");
}

}  // namespace
}  // namespace qh
