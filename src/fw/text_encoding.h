#pragma once
// Conversions of stored text to UTF-8, the one encoding strings have in memory.
// Files written elsewhere may hold Windows-1252 bytes or UTF-16LE text.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fw {

// True when text is well-formed UTF-8: no overlong forms, no surrogates, nothing
// above U+10FFFF, no truncated sequence.
bool IsValidUtf8(std::string_view text);

// Each byte as its Windows-1252 character. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

// Valid UTF-8 unchanged; anything else decoded as Windows-1252.
std::string NarrowToUtf8(std::string_view bytes);

// UTF-16 code units to UTF-8. A surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::span<const char16_t> units);

// Little-endian UTF-16 bytes to UTF-8; an odd last byte is dropped as U+FFFD.
std::string Utf16LeBytesToUtf8(std::span<const std::uint8_t> bytes);

// Appends the UTF-8 form of a code point (U+FFFD for surrogates and values
// above U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace fw
