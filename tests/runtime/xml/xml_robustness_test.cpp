// Inputs far beyond any real document: the reader loads or refuses them
// without exhausting the stack, and the tree is destroyed just as safely.
#include <gtest/gtest.h>

#include "runtime/xml/xml_reader.h"
#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

constexpr std::size_t kMillion = 1000000;
constexpr std::size_t kHundredMegabytes = 100u * 1024 * 1024;

// piece repeated, built by doubling so that it is quick even unoptimised.
Text Repeat(std::string_view piece, std::size_t times) {
    Text out;
    out.reserve(piece.size() * times);
    out.append(piece);
    while (out.size() * 2 <= piece.size() * times) out.append(out);
    out.append(out.data(), piece.size() * times - out.size());
    return out;
}

TEST(XmlRobustness, ADocumentNestedAMillionDeepLoadsSavesAndIsDestroyed) {
    const Text deep = Repeat("<a>", kMillion) + "x" + Repeat("</a>", kMillion);
    {
        XmlTree tree;
        ASSERT_TRUE(tree.LoadBytes(deep));
        Text path = "@1";
        path.reserve(3 * kMillion);
        for (std::size_t i = 1; i < kMillion; ++i) path += "/@1";
        Text text;
        ASSERT_TRUE(tree.NodeText(path, text));
        EXPECT_EQ(text, "x");

        // Without line breaks and indents the written form is the input again.
        Text saved;
        ASSERT_TRUE(tree.SaveText(saved, "", Text(), Text()));
        EXPECT_EQ(saved.substr(saved.find("?>") + 2), deep);
        // With a tab per level the indentation alone would be 500 GB: refused.
        Text indented = "kept";
        EXPECT_FALSE(tree.SaveText(indented));
        EXPECT_EQ(indented, "kept");
    }  // the tree goes here, with a million levels
    XmlTree unclosed;
    EXPECT_FALSE(unclosed.LoadBytes(Repeat("<a>", kMillion)));
}

TEST(XmlRobustness, AHundredMegabyteTextLoads) {
    Text input = "<a>";
    input.append(kHundredMegabytes, 'x');
    input += "</a>";
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes(input));
    input.clear();
    input.shrink_to_fit();
    Text text;
    ASSERT_TRUE(tree.NodeText("@1", text));
    EXPECT_EQ(text.size(), kHundredMegabytes);
}

TEST(XmlRobustness, AHundredMegabytesOfTagsAreRefusedWithinTheElementLimit) {
    XmlTree tree;
    EXPECT_FALSE(tree.LoadBytes(Repeat("<a>", kHundredMegabytes / 3)));
    EXPECT_FALSE(tree.LoadBytes("<r>" + Repeat("<a/>", kHundredMegabytes / 4) + "</r>"));
    EXPECT_FALSE(tree.LoadBytes(Text(kHundredMegabytes, '<')));
    EXPECT_FALSE(tree.LoadBytes(Text(kHundredMegabytes, '\xC7')));
}

TEST(XmlRobustness, TheElementLimitIsExact) {
    const std::size_t children = XmlReader::kMaxElements - 1;
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes("<r>" + Repeat("<a/>", children) + "</r>"));
    int count = 0;
    ASSERT_TRUE(tree.ChildCount("@1", count));
    EXPECT_EQ(static_cast<std::size_t>(count), children);
    EXPECT_FALSE(tree.LoadBytes("<r>" + Repeat("<a/>", children + 1) + "</r>"));
}

TEST(XmlRobustness, AHugeTagWithManyAttributesLoadsInLinearTime) {
    Text tag = "<a";
    for (int i = 0; i < 200000; ++i) tag += " n" + std::to_string(i) + "=1";
    XmlTree tree;
    ASSERT_TRUE(tree.LoadBytes(tag + "/>"));
    Text value;
    ASSERT_TRUE(tree.GetAttribute("@1", "n199999", value));
    EXPECT_EQ(value, "1");
}

}  // namespace
}  // namespace qh
