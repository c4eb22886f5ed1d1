// The files of tests/runtime/data (keys, a document and its signature),
// read whole as bytes.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace qh::test {

inline std::string ReadTestData(const std::string& name) {
    std::ifstream in(std::string(QH_RUNTIME_TEST_DATA) + "/" + name, std::ios::binary);
    if (!in) ADD_FAILURE() << "missing test data file " << name;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qh::test
