#pragma once
// Field exchange of the dialogs: the text of a number field is read in the C
// locale, whatever the program's locale, and a value that does not parse, is
// not finite or lies outside its range gives the message the dialog shows
// before it keeps the field selected. Doubles are shown in the shortest text
// that reads back to the same value, so a value survives a trip through a field.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

inline constexpr const char* kEnterNumberMessage = "Please enter a number.";
// %1 and %2 are the bounds of the field's range.
inline constexpr const char* kEnterNumberRangeMessage = "Please enter a number between %1 and %2.";

// A field's value, or the message that refuses its text.
template <class T> struct FieldValue {
    std::optional<T> value;
    std::string message; // empty when value is set

    bool Ok() const { return value.has_value(); }
};

// A finite double, blanks around it allowed ("1e3", " -2.5 "); nothing for empty
// text, trailing characters, "inf", "nan" or an overflow such as "1e999".
std::optional<double> ParseDouble(std::string_view text);
// A decimal integer with an optional sign, blanks around it allowed.
std::optional<std::int64_t> ParseInteger(std::string_view text);

// A double field; with a range, values outside [lo, hi] give the range message.
FieldValue<double> ReadDoubleField(std::string_view text);
FieldValue<double> ReadDoubleField(std::string_view text, double lo, double hi);
// An integer field with its range [lo, hi] (the type's range when the field has
// none): an integer outside it, or a number that is not an integer, gives the
// range message; text that is no number at all gives the plain message.
FieldValue<std::int64_t> ReadIntegerField(std::string_view text, std::int64_t lo, std::int64_t hi);

// "Please enter a number between %1 and %2." with both bounds filled in.
std::string RangeMessage(double lo, double hi);
std::string RangeMessage(std::int64_t lo, std::int64_t hi);

// The shortest C-locale text that reads back to exactly v ("0.1", "1e-07",
// "-130"); "nan", "inf" and "-inf" for the values that have no other form.
std::string FormatShortest(double v);

} // namespace fw
