#pragma once
// A binary stream over a byte buffer that either stores or loads: numbers are
// little-endian without padding, strings carry a length prefix, complex values are
// stored with their real part offset by 0.0625. Loading never trusts a count it
// reads: a count that the remaining bytes cannot hold fails with ArchiveError
// before anything is allocated.

#include "korin/base/mcplx.h"
#include "korin/base/mv_t.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {

class ArchiveError : public std::runtime_error {
public:
    enum class Kind {
        EndOfFile, // a read past the end of the stream
        BadCount,  // a count or length that is negative, malformed or larger than the data
        BadMode,   // a read from a storing archive or a write to a loading one
        BadValue,  // a value the object it belongs to cannot hold
    };

    ArchiveError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind GetKind() const { return kind_; }

private:
    Kind kind_;
};

class Archive {
public:
    // The real part of a stored complex value is offset by this much.
    static constexpr double kComplexRealOffset = 0.0625;

    // A storing archive that appends to its own, initially empty buffer.
    static Archive ForStoring();
    // A loading archive over bytes that must outlive it.
    static Archive ForLoading(std::span<const std::uint8_t> bytes);

    bool IsStoring() const { return storing_; }
    bool IsLoading() const { return !storing_; }

    // Complex values without the offset: the real part is kept bit for bit.
    // The offset costs the low bits of real parts smaller than it, so files
    // keep it for their readers, while in-memory copies of a document (undo
    // snapshots) use this to come back exactly as they were.
    void SetExactComplex(bool exact = true) { exactComplex_ = exact; }
    bool IsExactComplex() const { return exactComplex_; }

    // Storing: everything written so far.
    const std::vector<std::uint8_t>& Buffer() const { return out_; }
    std::vector<std::uint8_t> TakeBuffer() { return std::move(out_); }

    // Loading: bytes read so far and bytes still to read.
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return in_.size() - pos_; }

    void WriteU8(std::uint8_t v);
    void WriteU16(std::uint16_t v);
    void WriteI32(std::int32_t v);
    void WriteU32(std::uint32_t v);
    void WriteU64(std::uint64_t v);
    void WriteF32(float v);
    void WriteF64(double v);
    void WriteBytes(std::span<const std::uint8_t> bytes);
    // Length prefix (1, 3, 7 or 15 bytes) and the UTF-8 bytes of text.
    void WriteString(const std::string& text);
    void WriteComplex(const korin::mcplx& z);
    // i32 element count, then the elements. More than 2^31 - 1 elements: BadCount.
    void WriteVector(const korin::mvect& v);
    // A list count as i32; more than 2^31 - 1: BadCount.
    void WriteCount(std::size_t n);

    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::int32_t ReadI32();
    std::uint32_t ReadU32();
    std::uint64_t ReadU64();
    float ReadF32();
    double ReadF64();
    std::vector<std::uint8_t> ReadBytes(std::size_t n);
    // Narrow text: valid UTF-8 as is, anything else as Windows-1252. The wide
    // form (0xFF, 0xFFFE, then a prefix counting UTF-16 units) is converted too.
    std::string ReadString();
    korin::mcplx ReadComplex();
    // Replaces the elements of v; its column flag stays.
    void ReadVector(korin::mvect& v);
    // An i32 list count that must lie in 0..maxCount and whose items, at least
    // minItemBytes each, fit in the remaining bytes; otherwise BadCount.
    std::int32_t ReadCount(std::size_t minItemBytes,
                           std::int32_t maxCount = std::numeric_limits<std::int32_t>::max());

    // Stream forms of the same operations.
    Archive& operator<<(std::uint8_t v) { return WriteU8(v), *this; }
    Archive& operator<<(std::uint16_t v) { return WriteU16(v), *this; }
    Archive& operator<<(std::int32_t v) { return WriteI32(v), *this; }
    Archive& operator<<(std::uint32_t v) { return WriteU32(v), *this; }
    Archive& operator<<(std::uint64_t v) { return WriteU64(v), *this; }
    Archive& operator<<(float v) { return WriteF32(v), *this; }
    Archive& operator<<(double v) { return WriteF64(v), *this; }
    Archive& operator<<(const std::string& v) { return WriteString(v), *this; }
    Archive& operator<<(const korin::mcplx& v) { return WriteComplex(v), *this; }
    Archive& operator<<(const korin::mvect& v) { return WriteVector(v), *this; }

    Archive& operator>>(std::uint8_t& v) { return v = ReadU8(), *this; }
    Archive& operator>>(std::uint16_t& v) { return v = ReadU16(), *this; }
    Archive& operator>>(std::int32_t& v) { return v = ReadI32(), *this; }
    Archive& operator>>(std::uint32_t& v) { return v = ReadU32(), *this; }
    Archive& operator>>(std::uint64_t& v) { return v = ReadU64(), *this; }
    Archive& operator>>(float& v) { return v = ReadF32(), *this; }
    Archive& operator>>(double& v) { return v = ReadF64(), *this; }
    Archive& operator>>(std::string& v) { return v = ReadString(), *this; }
    Archive& operator>>(korin::mcplx& v) { return v = ReadComplex(), *this; }
    Archive& operator>>(korin::mvect& v) { return ReadVector(v), *this; }

    // Stores or loads v, whichever this archive does; keeps section routines
    // that are symmetric in one piece.
    template <class T> Archive& Exchange(T& v) {
        if (storing_) {
            *this << static_cast<const T&>(v);
        } else {
            *this >> v;
        }
        return *this;
    }

private:
    explicit Archive(bool storing) : storing_(storing) {}

    void RequireStoring() const;
    // Throws EndOfFile unless n more bytes can be read; then returns their start.
    const std::uint8_t* Take(std::size_t n);
    template <class U> void WriteLe(U v);
    template <class U> U ReadLe();

    bool storing_;
    bool exactComplex_ = false;
    std::vector<std::uint8_t> out_;
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
};

} // namespace fw
