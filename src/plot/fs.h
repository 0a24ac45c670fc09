#pragma once
// CFs: a sampling frequency together with the unit the user sees it in. Every
// frequency of a specification is a number in this unit, so changing the unit
// without the number changes the frequency.

#include "fw/object.h"

#include <string>
#include <string_view>

namespace fw {
class Archive;
}

namespace tarvo {

class CFs : public fw::Object {
public:
    // Unit indices: 0 Hz (sec), 1 kHz (ms), 2 MHz (us), 3 GHz (ns).
    static constexpr int kUnitCount = 4;

    explicit CFs(double value = 0.0) : m_dValue(value) {}

    // The value in the current unit; the unit's multiplier to hertz goes to
    // *multiplier when one is given.
    double GetValue(double* multiplier = nullptr) const;
    void SetValue(double value) { m_dValue = value; }
    // The value in hertz.
    double GetHz() const;

    int GetUnit() const { return m_nUnit; }
    // u in 0..3; another value is refused (reported) and the unit stays.
    void SetUnit(int u);

    std::string GetFreqUnitName() const;
    std::string GetTimeUnitName() const;
    // "kHz,ms" for unit 1: the frequency and time unit texts joined by a comma.
    std::string GetUnitPairText() const;

    // Moves a power-of-ten label exponent into the unit: returns the frequency unit
    // that absorbs whole thousands of it (as far as the table reaches) and leaves the
    // exponent at 3 times the thousands that remain. The remainder of exponent / 3 is
    // dropped (truncating division).
    int FreqUnitFor(int& exponent) const;
    // The same for time units, which run the other way (sec, ms, us, ns).
    int TimeUnitFor(int& exponent) const;
    // The texts of the units FreqUnitFor and TimeUnitFor give.
    std::string GetFreqUnitName(int& exponent) const;
    std::string GetTimeUnitName(int& exponent) const;

    // Sets the unit from a frequency unit text compared without letter case (only the
    // part before a first comma counts, so a unit-pair text works). Unknown text:
    // unit 0 and false.
    bool SetUnitFromText(std::string_view text);

    // The value with up to six decimals, trailing zeros (and a bare point) removed,
    // a space and the frequency unit: "48 kHz", "0.5 MHz".
    std::string Format() const;

    // The project file's form: the value as an 8-byte double (a 4-byte float in
    // files before version 20), then the unit-pair text. An unknown unit text
    // loads as Hz.
    void Serialize(fw::Archive& ar, int fileVersion);

private:
    double m_dValue = 0.0;
    int m_nUnit = 0;
};

} // namespace tarvo
