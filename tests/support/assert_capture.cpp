#include "support/assert_capture.h"

#include <gtest/gtest.h>

namespace tarvo::test {

namespace {
AssertCapture* g_active = nullptr;
}

AssertCapture::AssertCapture() : previous_(g_active) {
    g_active = this;
}

AssertCapture::~AssertCapture() {
    g_active = previous_;
}

bool AssertCapture::Saw(const std::string& expression) const {
    for (const auto& r : records_) {
        if (r.expression == expression) return true;
    }
    return false;
}

bool AssertCapture::SawFrom(const std::string& source) const {
    for (const auto& r : records_) {
        if (r.source == source) return true;
    }
    return false;
}

void RecordAssert(const char* expression, const char* source, int line) {
    if (g_active != nullptr) {
        g_active->records_.push_back({expression, source, line});
        return;
    }
    ADD_FAILURE() << "unexpected contract violation: " << expression << " in " << source << ":"
                  << line;
}

} // namespace tarvo::test
