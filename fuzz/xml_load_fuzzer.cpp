// libFuzzer target for the XML reader: any bytes are loaded or refused
// without a crash, a hang or unbounded memory, and a document that loads is
// written so that it loads again to the same document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/xml/xml_tree.h"

namespace {

// Reads the document back the way the programs do: by positions.
void ReadByPosition(const qh::XmlTree& tree) {
    int count = 0;
    if (!tree.ChildCount("@1", count)) __builtin_trap();
    qh::Text text;
    if (!tree.NodeText("@1", text)) __builtin_trap();
    std::vector<qh::Text> names;
    tree.ChildNames("@1", names);
    for (int n = 1; n <= count && n <= 8; ++n) {
        const qh::Text path = "@1/@" + std::to_string(n);
        tree.NodeText(path, text);
        tree.GetAttribute(path, "@1", text);
        tree.GetAttribute(path, "Name", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    qh::XmlTree tree;
    if (!tree.LoadBytes(input)) return 0;
    ReadByPosition(tree);

    // Comments are removed before anything else is read, so a comment that
    // only forms once another one is gone ("<!<!---->--") may change what a
    // saved copy reads as. Without "<!--" in the input the round trip must
    // be exact.
    qh::Text saved;
    if (input.find("<!--") != std::string_view::npos || !tree.SaveText(saved)) return 0;
    qh::XmlTree again;
    if (!again.LoadBytes(saved)) __builtin_trap();
    qh::Text savedAgain;
    if (!again.SaveText(savedAgain) || savedAgain != saved) __builtin_trap();
    return 0;
}
