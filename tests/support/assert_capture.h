#pragma once
// Records the numeric library's contract violations for the lifetime of the
// object. Without one, a violation fails the running test.

#include <string>
#include <vector>

namespace tarvo::test {

struct AssertRecord {
    std::string expression;
    std::string source;
    int line = 0;
};

class AssertCapture {
public:
    AssertCapture();
    ~AssertCapture();
    AssertCapture(const AssertCapture&) = delete;
    AssertCapture& operator=(const AssertCapture&) = delete;

    const std::vector<AssertRecord>& Records() const { return records_; }
    std::size_t Count() const { return records_.size(); }
    // True when a violation with exactly this expression text was reported.
    bool Saw(const std::string& expression) const;
    // True when a violation was reported from this source ("korin/poly/mpoly").
    bool SawFrom(const std::string& source) const;

private:
    friend void RecordAssert(const char* expression, const char* source, int line);
    std::vector<AssertRecord> records_;
    AssertCapture* previous_;
};

// The reporter the test main installs.
void RecordAssert(const char* expression, const char* source, int line);

} // namespace tarvo::test
