#include "fw/archive.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace fw {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

template <class F> Bytes Store(F&& write) {
    Archive ar = Archive::ForStoring();
    write(ar);
    return ar.TakeBuffer();
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

Bytes Repeat(std::uint8_t b, std::size_t n) {
    return Bytes(n, b);
}

Bytes AsBytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string ReadStringFrom(const Bytes& bytes) {
    Archive ar = Archive::ForLoading(bytes);
    std::string s = ar.ReadString();
    EXPECT_EQ(ar.Remaining(), 0U);
    return s;
}

ArchiveError::Kind ErrorKindOf(const Bytes& bytes, void (*read)(Archive&)) {
    Archive ar = Archive::ForLoading(bytes);
    try {
        read(ar);
    } catch (const ArchiveError& e) {
        return e.GetKind();
    }
    ADD_FAILURE() << "no ArchiveError";
    return ArchiveError::Kind::BadMode;
}

// 0.0625, the offset real part of a stored complex 0.
const Bytes kF64Sixteenth = {0, 0, 0, 0, 0, 0, 0xB0, 0x3F};
const Bytes kF64Zero = Repeat(0, 8);

TEST(ArchiveNumbers, AreLittleEndianWithoutPadding) {
    const Bytes b = Store([](Archive& ar) {
        ar << std::uint8_t{0xAB} << std::uint16_t{0x1234} << std::int32_t{-2}
           << std::uint32_t{0xDEADBEEF} << std::uint64_t{0x0102030405060708} << 1.0F << -130.0;
    });
    EXPECT_THAT(b, ElementsAreArray(Concat({
                       {0xAB},
                       {0x34, 0x12},
                       {0xFE, 0xFF, 0xFF, 0xFF},
                       {0xEF, 0xBE, 0xAD, 0xDE},
                       {8, 7, 6, 5, 4, 3, 2, 1},
                       {0x00, 0x00, 0x80, 0x3F},
                       {0, 0, 0, 0, 0, 0x40, 0x60, 0xC0},
                   })));

    Archive in = Archive::ForLoading(b);
    EXPECT_EQ(in.ReadU8(), 0xAB);
    EXPECT_EQ(in.ReadU16(), 0x1234);
    EXPECT_EQ(in.ReadI32(), -2);
    EXPECT_EQ(in.ReadU32(), 0xDEADBEEFU);
    EXPECT_EQ(in.ReadU64(), 0x0102030405060708U);
    EXPECT_EQ(in.ReadF32(), 1.0F);
    EXPECT_EQ(in.ReadF64(), -130.0);
    EXPECT_EQ(in.Remaining(), 0U);
    EXPECT_EQ(in.Position(), b.size());
}

TEST(ArchiveNumbers, FloatingPointKeepsEveryBit) {
    const double nanWithPayload = std::bit_cast<double>(std::uint64_t{0x7FF8000000012345});
    const std::vector<double> values = {0.0,
                                        -0.0,
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        nanWithPayload,
                                        std::numeric_limits<double>::denorm_min(),
                                        std::numeric_limits<double>::max(),
                                        -1.0 / 3.0};
    Archive out = Archive::ForStoring();
    for (const double v : values) {
        out << v << static_cast<float>(v);
    }
    const Bytes b = out.TakeBuffer();
    ASSERT_EQ(b.size(), values.size() * 12);
    Archive in = Archive::ForLoading(b);
    for (const double v : values) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(in.ReadF64()), std::bit_cast<std::uint64_t>(v));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(in.ReadF32()),
                  std::bit_cast<std::uint32_t>(static_cast<float>(v)));
    }
}

TEST(ArchiveComplex, RealPartIsStoredWithOffset) {
    EXPECT_THAT(Store([](Archive& ar) { ar << korin::mcplx(0.0, 0.0); }),
                ElementsAreArray(Concat({kF64Sixteenth, kF64Zero})));
    // 1.0625 and -2.0.
    EXPECT_THAT(Store([](Archive& ar) { ar << korin::mcplx(1.0, -2.0); }),
                ElementsAre(0, 0, 0, 0, 0, 0, 0xF1, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0xC0));

    const Bytes zero = Concat({kF64Sixteenth, kF64Zero});
    Archive in = Archive::ForLoading(zero);
    const korin::mcplx z = in.ReadComplex();
    EXPECT_EQ(z.real(), 0.0);
    EXPECT_FALSE(std::signbit(z.real()));
    EXPECT_EQ(z.imag(), 0.0);
}

TEST(ArchiveComplex, StoredValuesSurviveLoadAndStoreBitForBit) {
    // The offset loses low bits of tiny real parts once; a value read from a
    // stream must store back to exactly the same bytes.
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> exponent(-30.0, 30.0);
    korin::mvect v;
    for (int i = 0; i < 2000; ++i) {
        const double re = (i % 2 == 0 ? 1.0 : -1.0) * std::pow(10.0, exponent(rng));
        v.push_back({re, std::pow(10.0, exponent(rng))});
    }
    const Bytes first = Store([&v](Archive& ar) { ar << v; });
    korin::mvect back;
    Archive in = Archive::ForLoading(first);
    in >> back;
    EXPECT_EQ(Store([&back](Archive& ar) { ar << back; }), first);

    // Values on a coarse grid come back exactly.
    const korin::mvect exact = {{1.0, 2.0}, {-0.5, 0.25}, {1e3, -7.0}, {-0.0625, 0.0}};
    const Bytes b = Store([&exact](Archive& ar) { ar << exact; });
    korin::mvect got;
    Archive in2 = Archive::ForLoading(b);
    in2 >> got;
    EXPECT_EQ(got, exact);
}

TEST(ArchiveComplexVector, CountThenElements) {
    EXPECT_THAT(Store([](Archive& ar) { ar << korin::mvect(); }), ElementsAre(0, 0, 0, 0));
    const korin::mvect two = {{0.0, 0.0}, {0.0, 0.0}};
    const Bytes b = Store([&two](Archive& ar) { ar << two; });
    EXPECT_THAT(b, ElementsAreArray(
                       Concat({{2, 0, 0, 0}, kF64Sixteenth, kF64Zero, kF64Sixteenth, kF64Zero})));

    // Loading replaces the elements and keeps the target's orientation.
    korin::mvect target = {{5.0, 5.0}, {6.0, 6.0}, {7.0, 7.0}};
    target.column = false;
    Archive in = Archive::ForLoading(b);
    in >> target;
    EXPECT_EQ(target, two);
    EXPECT_FALSE(target.column);
}

TEST(ArchiveString, LengthPrefixBoundaries) {
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {3, {0x03}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        const Bytes b = Store([&text](Archive& ar) { ar << text; });
        ASSERT_EQ(b.size(), c.prefix.size() + c.length);
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), b.begin()));
        EXPECT_EQ(ReadStringFrom(b), text);
    }
}

TEST(ArchiveString, SixtyFourBitLengthIsRead) {
    const Bytes b = Concat(
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {2, 0, 0, 0, 0, 0, 0, 0}, AsBytes("ok")});
    EXPECT_EQ(ReadStringFrom(b), "ok");
}

TEST(ArchiveString, Utf8IsWrittenAndReadAsIs) {
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
    const Bytes b = Store([&text](Archive& ar) { ar << text; });
    EXPECT_EQ(b.size(), 1 + text.size());
    EXPECT_EQ(b[0], text.size());
    EXPECT_EQ(ReadStringFrom(b), text);
}

TEST(ArchiveString, OtherBytesAreReadAsWindows1252) {
    // "café" and "€5" as a Windows program writes them.
    EXPECT_EQ(ReadStringFrom({4, 'c', 'a', 'f', 0xE9}), "caf\xC3\xA9");
    EXPECT_EQ(ReadStringFrom({2, 0x80, '5'}), "\xE2\x82\xAC"
                                              "5");
    EXPECT_EQ(ReadStringFrom({3, 0x93, 'q', 0x94}), "\xE2\x80\x9Cq\xE2\x80\x9D");
    // A byte the code page leaves undefined keeps its value as a C1 control.
    EXPECT_EQ(ReadStringFrom({1, 0x81}), "\xC2\x81");
}

TEST(ArchiveString, WideFormIsConvertedFromUtf16) {
    // 0xFF, 0xFFFE, then a length in UTF-16 units: "hé€".
    EXPECT_EQ(ReadStringFrom({0xFF, 0xFE, 0xFF, 3, 'h', 0, 0xE9, 0, 0xAC, 0x20}),
              "h\xC3\xA9\xE2\x82\xAC");
    // A surrogate pair (U+1F600).
    EXPECT_EQ(ReadStringFrom({0xFF, 0xFE, 0xFF, 2, 0x3D, 0xD8, 0x00, 0xDE}), "\xF0\x9F\x98\x80");
    // Unpaired surrogates become U+FFFD; the text around them survives.
    EXPECT_EQ(ReadStringFrom({0xFF, 0xFE, 0xFF, 3, 0x00, 0xD8, 'a', 0, 0x00, 0xDC}),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
    // The wide length uses the same escapes: 300 units.
    Bytes longWide = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
    for (int i = 0; i < 300; ++i) {
        longWide.push_back('z');
        longWide.push_back(0);
    }
    EXPECT_EQ(ReadStringFrom(longWide), std::string(300, 'z'));
    EXPECT_EQ(ReadStringFrom({0xFF, 0xFE, 0xFF, 0}), "");
}

TEST(ArchiveErrors, EveryTruncationOfAStreamFails) {
    const Bytes full = Store([](Archive& ar) {
        ar << std::int32_t{7} << std::string(300, 'a') << korin::mvect{{1.0, 2.0}, {3.0, 4.0}}
           << 2.5 << std::uint16_t{9} << std::string("end");
    });
    const auto readAll = [](Archive& ar) {
        ar.ReadI32();
        ar.ReadString();
        korin::mvect v;
        ar.ReadVector(v);
        ar.ReadF64();
        ar.ReadU16();
        ar.ReadString();
    };
    {
        Archive ar = Archive::ForLoading(full);
        readAll(ar);
        EXPECT_EQ(ar.Remaining(), 0U);
    }
    for (std::size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        Archive ar = Archive::ForLoading(part);
        EXPECT_THROW(readAll(ar), ArchiveError);
    }
}

TEST(ArchiveErrors, ReadingPastTheEndIsEndOfFile) {
    EXPECT_EQ(ErrorKindOf({}, [](Archive& ar) { ar.ReadU8(); }), ArchiveError::Kind::EndOfFile);
    EXPECT_EQ(ErrorKindOf({1, 2, 3}, [](Archive& ar) { ar.ReadI32(); }),
              ArchiveError::Kind::EndOfFile);
    EXPECT_EQ(ErrorKindOf({1, 2, 3, 4, 5, 6, 7}, [](Archive& ar) { ar.ReadF64(); }),
              ArchiveError::Kind::EndOfFile);
    // The prefix itself cut short.
    EXPECT_EQ(ErrorKindOf({0xFF, 0x10}, [](Archive& ar) { ar.ReadString(); }),
              ArchiveError::Kind::EndOfFile);
    // A failed read consumes nothing that a caller could mistake for data.
    const Bytes three = {1, 2, 3};
    Archive ar = Archive::ForLoading(three);
    EXPECT_THROW(ar.ReadI32(), ArchiveError);
    EXPECT_EQ(ar.Position(), 0U);
}

TEST(ArchiveErrors, VectorCountsAreCheckedAgainstTheData) {
    const auto readVector = [](Archive& ar) {
        korin::mvect v;
        ar.ReadVector(v);
    };
    // Negative.
    EXPECT_EQ(ErrorKindOf({0xFF, 0xFF, 0xFF, 0xFF}, readVector), ArchiveError::Kind::BadCount);
    // 2^31 - 1 elements would need 32 GiB: refused without trying.
    EXPECT_EQ(ErrorKindOf({0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3}, readVector),
              ArchiveError::Kind::BadCount);
    // Two elements need 32 bytes; 31 are not enough, 32 are.
    EXPECT_EQ(ErrorKindOf(Concat({{2, 0, 0, 0}, Repeat(0, 31)}), readVector),
              ArchiveError::Kind::BadCount);
    const Bytes exact = Concat({{2, 0, 0, 0}, Repeat(0, 32)});
    korin::mvect v;
    Archive ar = Archive::ForLoading(exact);
    ar.ReadVector(v);
    EXPECT_EQ(v.size(), 2U);
}

TEST(ArchiveErrors, StringLengthsAreCheckedAgainstTheData) {
    const auto readString = [](Archive& ar) { ar.ReadString(); };
    EXPECT_EQ(ErrorKindOf({5, 'a', 'b'}, readString), ArchiveError::Kind::BadCount);
    // 0xFFFFFFFE bytes announced in a 7-byte prefix.
    EXPECT_EQ(ErrorKindOf({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'x'}, readString),
              ArchiveError::Kind::BadCount);
    // 2^63 bytes announced in the 64-bit form.
    EXPECT_EQ(ErrorKindOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0x80},
                          readString),
              ArchiveError::Kind::BadCount);
    // A wide length counts pairs of bytes: 2 units need 4 bytes.
    EXPECT_EQ(ErrorKindOf({0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b'}, readString),
              ArchiveError::Kind::BadCount);
    // The wide marker twice is malformed.
    EXPECT_EQ(ErrorKindOf({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0}, readString),
              ArchiveError::Kind::BadCount);
}

TEST(ArchiveErrors, ListCountsHaveALimitAndAMinimumItemSize) {
    const Bytes nine = Concat({{9, 0, 0, 0}, Repeat(0, 100)});
    {
        Archive ar = Archive::ForLoading(nine);
        EXPECT_EQ(ar.ReadCount(4, 9), 9);
    }
    {
        Archive ar = Archive::ForLoading(nine);
        try {
            ar.ReadCount(4, 8);
            ADD_FAILURE() << "count above the limit accepted";
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.GetKind(), ArchiveError::Kind::BadCount);
        }
    }
    {
        // Nine items of at least 12 bytes do not fit in 100.
        Archive ar = Archive::ForLoading(nine);
        EXPECT_THROW(ar.ReadCount(12), ArchiveError);
    }
    const Bytes negative = {0xFE, 0xFF, 0xFF, 0xFF};
    Archive ar = Archive::ForLoading(negative);
    EXPECT_THROW(ar.ReadCount(0), ArchiveError);
}

TEST(ArchiveErrors, DirectionIsEnforced) {
    Archive out = Archive::ForStoring();
    EXPECT_TRUE(out.IsStoring());
    try {
        out.ReadU8();
        ADD_FAILURE() << "read from a storing archive";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.GetKind(), ArchiveError::Kind::BadMode);
    }
    const Bytes one = {1};
    Archive in = Archive::ForLoading(one);
    EXPECT_TRUE(in.IsLoading());
    EXPECT_THROW(in.WriteU8(1), ArchiveError);
    EXPECT_THROW(in << std::string("x"), ArchiveError);
}

struct Record {
    std::int32_t count = 0;
    double value = 0.0;
    std::string name;
    korin::mvect roots;

    void Serialize(Archive& ar) {
        ar.Exchange(count).Exchange(value).Exchange(name).Exchange(roots);
    }
};

TEST(ArchiveExchange, OneRoutineStoresAndLoads) {
    Record a{3, -1.5, "filter", {{0.5, 0.5}, {0.5, -0.5}}};
    Archive out = Archive::ForStoring();
    a.Serialize(out);
    const Bytes b = out.TakeBuffer();
    EXPECT_EQ(b.size(), 4U + 8U + 7U + 4U + 32U);

    Record back;
    Archive in = Archive::ForLoading(b);
    back.Serialize(in);
    EXPECT_EQ(back.count, 3);
    EXPECT_EQ(back.value, -1.5);
    EXPECT_EQ(back.name, "filter");
    EXPECT_EQ(back.roots, a.roots);
}

} // namespace
} // namespace fw
