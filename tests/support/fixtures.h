#pragma once
// Access to the committed reference data under tests/fixtures.

#include <string>

namespace tarvo::test {

// Absolute path of a file below tests/fixtures.
std::string FixturePath(const std::string& name);
// The whole file; fails the running test (and returns "") when it cannot be read.
std::string ReadFixture(const std::string& name);

} // namespace tarvo::test
