// The rules document the build puts beside the programs, and a scope in
// which its option lists are in force.
#pragma once

#include <gtest/gtest.h>

#include "calc/loans/rate_tables.h"
#include "calc/loans/rules_document.h"
#include "runtime/files.h"
#include "runtime/system.h"

namespace qh {

inline Bytes ShippedRulesBytes() {
    Bytes bytes;
    EXPECT_TRUE(ReadWholeFile(ProgramFile("rules.xml"), bytes)) << "rules.xml is not beside the tests";
    return bytes;
}

inline RulesDocument ShippedRules() {
    const RulesReadResult read = ReadRulesDocument(ShippedRulesBytes());
    EXPECT_TRUE(read.rules.has_value()) << read.error;
    return read.rules.value_or(RulesDocument{});
}

// The shipped document's tables in force for the scope's life.
class ShippedRulesInForce {
public:
    ShippedRulesInForce() : rules_(ShippedRules()) { UseRulesDocument(&rules_); }
    ~ShippedRulesInForce() { UseRulesDocument(nullptr); }
    ShippedRulesInForce(const ShippedRulesInForce&) = delete;
    ShippedRulesInForce& operator=(const ShippedRulesInForce&) = delete;

private:
    RulesDocument rules_;
};

}  // namespace qh
