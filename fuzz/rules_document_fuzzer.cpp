// libFuzzer target for the rules document reader: any bytes are read or
// refused without a crash, a hang or unbounded memory, and a refused
// document always says why.
#include <cstddef>
#include <cstdint>

#include "calc/loans/rules_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qh::Bytes bytes(data, data + size);
    const qh::RulesReadResult read = qh::ReadRulesDocument(bytes);
    if (!read.rules && read.error.empty()) __builtin_trap();
    if (read.rules) {
        // What the pages rely on: at least two options, each table twice as
        // long as its list.
        for (const qh::RateOptionList* list :
             {&read.rules->commercialOptions, &read.rules->providentOptions, &read.rules->commercialTerms}) {
            if (list->texts.size() < 2 || list->table.size() != 2 * list->texts.size()) __builtin_trap();
        }
    }
    return 0;
}
