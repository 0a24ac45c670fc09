#pragma once
// Little-endian bytes written by hand, independent of the archive, for the
// expected contents of project streams.

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvo::test {

class ByteBuilder {
public:
    ByteBuilder& U8(std::uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    ByteBuilder& U16(std::uint16_t v) { return Le(v, 2); }
    ByteBuilder& I32(std::int32_t v) { return Le(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& F32(float v) { return Le(std::bit_cast<std::uint32_t>(v), 4); }
    ByteBuilder& F64(double v) { return Le(std::bit_cast<std::uint64_t>(v), 8); }
    // A short string: one length byte and the text.
    ByteBuilder& Str(const std::string& s) {
        U8(static_cast<std::uint8_t>(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    // A complex value as stored: real part plus 1/16, then the imaginary part.
    ByteBuilder& Cplx(double re, double im) { return F64(re + 0.0625).F64(im); }
    ByteBuilder& Append(const std::vector<std::uint8_t>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

private:
    ByteBuilder& Le(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
        return *this;
    }

    std::vector<std::uint8_t> bytes_;
};

} // namespace tarvo::test
