#pragma once
// Whole files as bytes, for comparing project files.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo::test {

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace tarvo::test
