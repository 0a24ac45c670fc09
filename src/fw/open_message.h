#pragma once
// The message a second start of the program sends to the running one: the files
// to open, as absolute paths. The receiver trusts nothing in it: another
// program of the same user could send anything.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Longest message a receiver reads (a few hundred long paths).
inline constexpr std::size_t kMaxOpenMessageBytes = 64 * 1024;

// "OPEN\n" followed by one path per line. Paths holding a line break cannot be
// sent and are left out.
std::string MakeOpenMessage(const std::vector<std::string>& absolutePaths);

// The paths of a well-formed message; nothing for a message that is too long,
// does not start with the open verb, or names a path that is not absolute.
std::optional<std::vector<std::string>> ParseOpenMessage(std::string_view message);

} // namespace fw
