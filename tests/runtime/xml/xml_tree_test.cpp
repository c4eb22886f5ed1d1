// Building, addressing and writing documents with XmlTree.
#include "runtime/xml/xml_tree.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace qh {
namespace {

// A root with three children, the third of which has one child.
XmlTree ThreeChildren() {
    XmlTree tree;
    EXPECT_TRUE(tree.LoadBytes("<r><a>1</a><b>2</b><c><d>4</d></c></r>"));
    return tree;
}

Text TextAt(const XmlTree& tree, const Text& path) {
    Text text = "<none>";
    tree.NodeText(path, text);
    return text;
}

TEST(XmlTree, TheStateFileOfTheWorkedExampleIsWrittenByteForByte) {
    XmlTree tree;
    ASSERT_TRUE(tree.Create("Config"));
    ASSERT_TRUE(tree.InsertChild("@1", "RENEW", ""));
    ASSERT_TRUE(tree.AddAttribute("@1/@1", "St", "1"));
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    EXPECT_EQ(saved,
              "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<Config>\r\n\t<RENEW St=\"1\"/>\r\n</Config>");
}

TEST(XmlTree, SaveNamesTheEncodingAndTakesOtherLineBreaksAndIndents) {
    XmlTree tree;
    ASSERT_TRUE(tree.Create("r"));
    ASSERT_TRUE(tree.InsertChild("@1", "a", ""));
    ASSERT_TRUE(tree.InsertChild("@1/@1", "b", "t"));
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved, "utf-8", Text("\n"), Text("  ")));
    EXPECT_EQ(saved, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r>\n  <a>\n    <b>t</b>\n  </a>\n</r>");
    ASSERT_TRUE(tree.SaveText(saved, "", Text(""), Text("")));
    EXPECT_EQ(saved, "<?xml version=\"1.0\" encoding=\"gb2312\"?><r><a><b>t</b></a></r>");
}

TEST(XmlTree, PositionalPaths) {
    const XmlTree tree = ThreeChildren();
    EXPECT_EQ(TextAt(tree, "@1/@1"), "1");
    EXPECT_EQ(TextAt(tree, "@1/@3/@1"), "4");
    EXPECT_EQ(TextAt(tree, "@1/@3/@2"), "<none>");  // the third child has one child
    EXPECT_EQ(TextAt(tree, "@1/@3/@"), "<none>");
    EXPECT_EQ(TextAt(tree, "@1/@3/@0"), "<none>");
    EXPECT_EQ(TextAt(tree, "@1/@3/@x"), "<none>");
    EXPECT_EQ(TextAt(tree, "@1/@4"), "<none>");
    EXPECT_EQ(TextAt(tree, "@1/@99999999999999999999999"), "<none>");
    EXPECT_EQ(TextAt(tree, "@1/@02"), "2");  // leading zeros below the root
    EXPECT_EQ(TextAt(tree, "@01/@1"), "<none>");  // but the root is "@1" exactly
    EXPECT_EQ(TextAt(tree, "@2"), "<none>");
}

TEST(XmlTree, NamedStepsAndATrailingSlash) {
    const XmlTree tree = ThreeChildren();
    EXPECT_EQ(TextAt(tree, "r/c/d"), "4");
    EXPECT_EQ(TextAt(tree, "r/@2"), "2");
    EXPECT_EQ(TextAt(tree, "@1/c/"), "");  // "c/" is c itself
    EXPECT_EQ(TextAt(tree, "@1/"), "");
    EXPECT_EQ(TextAt(tree, "R"), "<none>");  // names match case-sensitively
    EXPECT_EQ(TextAt(tree, "@1//@1"), "<none>");
    EXPECT_EQ(TextAt(tree, ""), "<none>");
}

TEST(XmlTree, ChildCountAndNames) {
    const XmlTree tree = ThreeChildren();
    int count = -1;
    ASSERT_TRUE(tree.ChildCount("@1", count));
    EXPECT_EQ(count, 3);
    ASSERT_TRUE(tree.ChildCount("@1/@1", count));
    EXPECT_EQ(count, 0);
    count = -1;
    EXPECT_FALSE(tree.ChildCount("@1/@9", count));
    EXPECT_EQ(count, -1);

    std::vector<Text> names;
    ASSERT_TRUE(tree.ChildNames("@1", names));
    EXPECT_EQ(names, (std::vector<Text>{"a", "b", "c"}));
    // An element without children fails and leaves the caller's array alone.
    std::vector<Text> untouched;
    EXPECT_FALSE(tree.ChildNames("@1/@1", untouched));
    EXPECT_TRUE(untouched.empty());
}

TEST(XmlTree, AttributesByNameOrPosition) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<r x=\"&lt;&quote;\" y=\"&quot;\"/>"));
    Text value;
    ASSERT_TRUE(tree.GetAttribute("@1", "x", value));
    EXPECT_EQ(value, "<\"");
    ASSERT_TRUE(tree.GetAttribute("@1", "@2", value));
    EXPECT_EQ(value, "&quot;");
    value = "kept";
    EXPECT_FALSE(tree.GetAttribute("@1", "@3", value));
    EXPECT_FALSE(tree.GetAttribute("@1", "@0", value));
    EXPECT_FALSE(tree.GetAttribute("@1", "z", value));
    EXPECT_FALSE(tree.GetAttribute("@1", "", value));
    EXPECT_FALSE(tree.GetAttribute("@1/@1", "x", value));
    EXPECT_EQ(value, "kept");
}

TEST(XmlTree, AddAttributeNeverReplacesAnExistingValue) {
    XmlTree tree;
    ASSERT_TRUE(tree.Create("r"));
    ASSERT_TRUE(tree.AddAttribute("@1", "St", "1"));
    EXPECT_FALSE(tree.AddAttribute("@1", "St", "2"));
    Text value;
    ASSERT_TRUE(tree.GetAttribute("@1", "St", value));
    EXPECT_EQ(value, "1");
    EXPECT_FALSE(tree.AddAttribute("@1/@1", "x", "1"));
    EXPECT_FALSE(tree.AddAttribute("@1", "", "1"));
}

TEST(XmlTree, SpecialCharactersAreEscapedWhenStoredAndFoundUnderTheirPlainForm) {
    XmlTree tree;
    ASSERT_TRUE(tree.Create("r"));
    ASSERT_TRUE(tree.InsertChild("@1", "a&b", "1 < 2 & \"q\" 'p' >"));
    ASSERT_TRUE(tree.AddAttribute("@1/a&b", "k<", "v\"&"));
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    EXPECT_NE(saved.find("<a&amp;b k&lt;=\"v&quote;&amp;\">1 &lt; 2 &amp; &quote;q&quote; &apos;p&apos; &gt;</a&amp;b>"),
              Text::npos);

    XmlTree reread;
    ASSERT_TRUE(reread.LoadBytes(saved));
    std::vector<Text> names;
    ASSERT_TRUE(reread.ChildNames("@1", names));
    EXPECT_EQ(names, std::vector<Text>{"a&b"});
    EXPECT_EQ(TextAt(reread, "r/a&b"), "1 < 2 & \"q\" 'p' >");
    Text value;
    ASSERT_TRUE(reread.GetAttribute("@1/@1", "k<", value));
    EXPECT_EQ(value, "v\"&");
}

TEST(XmlTree, ChineseTextSurvivesTheRoundTrip) {
    XmlTree tree;
    ASSERT_TRUE(tree.Create("青禾"));
    ASSERT_TRUE(tree.InsertChild("@1", "说明", "  修正了月供的计算。\r\n新增：车贷页  "));
    ASSERT_TRUE(tree.AddAttribute("青禾/说明", "版本", "一.〇"));
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    XmlTree reread;
    ASSERT_TRUE(reread.LoadBytes(saved));
    // Surrounding white space is trimmed on reading; what is inside stays.
    EXPECT_EQ(TextAt(reread, "青禾/说明"), "修正了月供的计算。\r\n新增：车贷页");
    Text value;
    ASSERT_TRUE(reread.GetAttribute("@1/@1", "版本", value));
    EXPECT_EQ(value, "一.〇");
}

TEST(XmlTree, CdataTextIsStoredRawAndWrittenAsASection) {
    XmlTree tree;
    ASSERT_TRUE(tree.Create("r"));
    ASSERT_TRUE(tree.InsertChild("@1", "notes", "<b>bold</b> & more", true));
    EXPECT_EQ(TextAt(tree, "@1/@1"), "<b>bold</b> & more");
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    XmlTree reread;
    ASSERT_TRUE(reread.LoadBytes(saved));
    EXPECT_EQ(TextAt(reread, "@1/@1"), "<b>bold</b> & more");
}

TEST(XmlTree, RefusesWhatCouldNotBeReadBackFromTheFile) {
    XmlTree tree;
    ASSERT_TRUE(tree.Create("r"));
    EXPECT_FALSE(tree.InsertChild("@1", "n", "a ]]> b", true));  // would end the section
    EXPECT_FALSE(tree.InsertChild("@1", "two words", ""));
    EXPECT_FALSE(tree.InsertChild("@1", "a/", ""));
    EXPECT_FALSE(tree.InsertChild("@1", "!x", ""));
    EXPECT_FALSE(tree.InsertChild("@1", "n", "ends in half a character \x81"));
    EXPECT_FALSE(tree.AddAttribute("@1", "a=b", "1"));
    EXPECT_FALSE(tree.AddAttribute("@1", "a b", "1"));
    EXPECT_FALSE(tree.AddAttribute("@1", "v", "\xC7"));
    EXPECT_FALSE(tree.Create(""));
    EXPECT_FALSE(tree.InsertChild("@9", "n", ""));
    int count = -1;
    ASSERT_TRUE(tree.ChildCount("@1", count));
    EXPECT_EQ(count, 0);
}

// A state file whose file list was read as "<List/>" lost the files added
// to it when it was saved again.
TEST(XmlTree, ChildrenAddedToAnElementReadAsSelfClosingAreSaved) {
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<Config><List/></Config>"));
    ASSERT_TRUE(tree.InsertChild("@1/@1", "File", ""));
    Text saved;
    ASSERT_TRUE(tree.SaveText(saved));
    EXPECT_EQ(saved, "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<Config>\r\n\t<List>\r\n\t\t<File/>\r\n\t</List>\r\n</Config>");
}

TEST(XmlTree, CreateAndCloseReplaceTheDocument) {
    XmlTree tree = ThreeChildren();
    ASSERT_TRUE(tree.Create("new"));
    int count = -1;
    ASSERT_TRUE(tree.ChildCount("new", count));
    EXPECT_EQ(count, 0);
    tree.Close();
    EXPECT_FALSE(tree.HasDocument());
    Text saved = "kept";
    EXPECT_FALSE(tree.SaveText(saved));
    EXPECT_EQ(saved, "kept");
}

TEST(XmlTree, SaveAndLoadFile) {
    test::TempFolder folder;
    XmlTree tree = ThreeChildren();
    ASSERT_TRUE(tree.Save(folder.File("doc.xml")));
    XmlTree reread;
    ASSERT_TRUE(reread.LoadFile(folder.File("doc.xml")));
    EXPECT_EQ(TextAt(reread, "@1/@3/@1"), "4");

    folder.Write("empty.xml", "");
    EXPECT_FALSE(reread.LoadFile(folder.File("empty.xml")));
    EXPECT_FALSE(reread.LoadFile(folder.File("missing.xml")));
    EXPECT_FALSE(reread.HasDocument());
}

TEST(XmlTree, AFailedSaveLeavesTheOldFile) {
    test::TempFolder folder;
    XmlTree tree = ThreeChildren();
    EXPECT_FALSE(tree.Save(folder.File("no such folder\\doc.xml")));
    XmlTree empty;
    folder.Write("doc.xml", "old");
    EXPECT_FALSE(empty.Save(folder.File("doc.xml")));
    EXPECT_EQ(folder.Read("doc.xml"), "old");
}

}  // namespace
}  // namespace qh
