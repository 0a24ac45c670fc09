#include "fw/archive.h"

#include "fw/text_encoding.h"

#include <bit>
#include <cstring>
#include <string_view>

namespace fw {
namespace {

constexpr std::uint8_t kShortLengthEscape = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kLongLengthEscape = 0xFFFF;
constexpr std::uint32_t kHugeLengthEscape = 0xFFFFFFFF;
constexpr std::size_t kComplexBytes = 16;

[[noreturn]] void ThrowBadCount(const std::string& what) {
    throw ArchiveError(ArchiveError::Kind::BadCount, what);
}

} // namespace

Archive Archive::ForStoring() {
    return Archive(true);
}

Archive Archive::ForLoading(std::span<const std::uint8_t> bytes) {
    Archive ar(false);
    ar.in_ = bytes;
    return ar;
}

void Archive::RequireStoring() const {
    if (!storing_) {
        throw ArchiveError(ArchiveError::Kind::BadMode, "write to a loading archive");
    }
}

const std::uint8_t* Archive::Take(std::size_t n) {
    if (storing_) {
        throw ArchiveError(ArchiveError::Kind::BadMode, "read from a storing archive");
    }
    if (n > Remaining()) {
        throw ArchiveError(ArchiveError::Kind::EndOfFile, "unexpected end of file");
    }
    const std::uint8_t* p = in_.data() + pos_;
    pos_ += n;
    return p;
}

template <class U> void Archive::WriteLe(U v) {
    RequireStoring();
    for (std::size_t i = 0; i < sizeof(U); ++i) {
        out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

template <class U> U Archive::ReadLe() {
    const std::uint8_t* p = Take(sizeof(U));
    U v = 0;
    for (std::size_t i = 0; i < sizeof(U); ++i) {
        v = static_cast<U>(v | (static_cast<U>(p[i]) << (8 * i)));
    }
    return v;
}

void Archive::WriteU8(std::uint8_t v) {
    WriteLe(v);
}
void Archive::WriteU16(std::uint16_t v) {
    WriteLe(v);
}
void Archive::WriteI32(std::int32_t v) {
    WriteLe(static_cast<std::uint32_t>(v));
}
void Archive::WriteU32(std::uint32_t v) {
    WriteLe(v);
}
void Archive::WriteU64(std::uint64_t v) {
    WriteLe(v);
}
void Archive::WriteF32(float v) {
    WriteLe(std::bit_cast<std::uint32_t>(v));
}
void Archive::WriteF64(double v) {
    WriteLe(std::bit_cast<std::uint64_t>(v));
}

void Archive::WriteBytes(std::span<const std::uint8_t> bytes) {
    RequireStoring();
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void Archive::WriteString(const std::string& text) {
    const std::uint64_t n = text.size();
    if (n < kShortLengthEscape) {
        WriteU8(static_cast<std::uint8_t>(n));
    } else {
        WriteU8(kShortLengthEscape);
        if (n < kWideMarker) {
            WriteU16(static_cast<std::uint16_t>(n));
        } else {
            WriteU16(kLongLengthEscape);
            if (n < kHugeLengthEscape) {
                WriteU32(static_cast<std::uint32_t>(n));
            } else {
                WriteU32(kHugeLengthEscape);
                WriteU64(n);
            }
        }
    }
    WriteBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void Archive::WriteComplex(const korin::mcplx& z) {
    WriteF64(exactComplex_ ? z.real() : z.real() + kComplexRealOffset);
    WriteF64(z.imag());
}

void Archive::WriteCount(std::size_t n) {
    RequireStoring();
    if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        ThrowBadCount("count too large to store");
    }
    WriteI32(static_cast<std::int32_t>(n));
}

void Archive::WriteVector(const korin::mvect& v) {
    WriteCount(v.size());
    for (const korin::mcplx& z : v) {
        WriteComplex(z);
    }
}

std::uint8_t Archive::ReadU8() {
    return ReadLe<std::uint8_t>();
}
std::uint16_t Archive::ReadU16() {
    return ReadLe<std::uint16_t>();
}
std::int32_t Archive::ReadI32() {
    return static_cast<std::int32_t>(ReadLe<std::uint32_t>());
}
std::uint32_t Archive::ReadU32() {
    return ReadLe<std::uint32_t>();
}
std::uint64_t Archive::ReadU64() {
    return ReadLe<std::uint64_t>();
}
float Archive::ReadF32() {
    return std::bit_cast<float>(ReadLe<std::uint32_t>());
}
double Archive::ReadF64() {
    return std::bit_cast<double>(ReadLe<std::uint64_t>());
}

std::vector<std::uint8_t> Archive::ReadBytes(std::size_t n) {
    // Take refuses n before anything is allocated.
    const std::uint8_t* p = Take(n);
    return {p, p + n};
}

std::string Archive::ReadString() {
    bool wide = false;
    std::uint64_t n = ReadU8();
    while (n == kShortLengthEscape) {
        const std::uint16_t n16 = ReadU16();
        if (n16 == kWideMarker) {
            if (wide) {
                ThrowBadCount("malformed string length");
            }
            wide = true;
            n = ReadU8();
            continue;
        }
        if (n16 != kLongLengthEscape) {
            n = n16;
            break;
        }
        const std::uint32_t n32 = ReadU32();
        n = n32 != kHugeLengthEscape ? n32 : ReadU64();
        break;
    }
    const std::uint64_t available = wide ? Remaining() / 2 : Remaining();
    if (n > available) {
        ThrowBadCount("string longer than the data");
    }
    const auto bytes = static_cast<std::size_t>(wide ? 2 * n : n);
    const std::uint8_t* p = Take(bytes);
    if (wide) {
        return Utf16LeBytesToUtf8({p, bytes});
    }
    return NarrowToUtf8({reinterpret_cast<const char*>(p), bytes});
}

korin::mcplx Archive::ReadComplex() {
    const double stored = ReadF64();
    const double re = exactComplex_ ? stored : stored - kComplexRealOffset;
    const double im = ReadF64();
    return {re, im};
}

std::int32_t Archive::ReadCount(std::size_t minItemBytes, std::int32_t maxCount) {
    const std::int32_t n = ReadI32();
    if (n < 0) {
        ThrowBadCount("negative count");
    }
    if (n > maxCount) {
        ThrowBadCount("count above its limit");
    }
    if (minItemBytes > 0 && static_cast<std::size_t>(n) > Remaining() / minItemBytes) {
        ThrowBadCount("count larger than the data");
    }
    return n;
}

void Archive::ReadVector(korin::mvect& v) {
    const std::int32_t n = ReadCount(kComplexBytes);
    v.clear();
    v.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        v.push_back(ReadComplex());
    }
}

} // namespace fw
