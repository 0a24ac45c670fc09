#include "export/export_test_support.h"

#include "design/design_action.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace tarvo::test {

namespace {

using korin::mcplx;

void AddRow(korin::msos& sos, std::initializer_list<double> values) {
    korin::mvect& row = sos.AddRow();
    for (const double v : values)
        row.push_back(mcplx(v, 0.0));
}

korin::mvect Real(std::initializer_list<double> values) {
    korin::mvect v;
    for (const double x : values)
        v.push_back(mcplx(x, 0.0));
    return v;
}

} // namespace

CIirFilter TwoSectionFilter() {
    CIirFilter f;
    f.z = {mcplx(-1, 0), mcplx(-0.5, 0), mcplx(0, 1), mcplx(0, -1)};
    f.p = {mcplx(0.5, 0.5), mcplx(0.5, -0.5), mcplx(0, 0.5), mcplx(0, -0.5)};
    f.k = 0.125;
    f.b = Real({0.125, 0.1875, 0.1875, 0.1875, 0.0625});
    f.a = Real({1.0, -1.0, 0.75, -0.25, 0.125});
    AddRow(f.sos, {1, 1.5, 0.5, 1, 0, 0.25});
    AddRow(f.sos, {1, 0, 1, 1, -1, 0.5});
    f.sos.gain = 0.125;
    return f;
}

CIirFilter DesignedFilter(const IirDesignSpec& form) {
    CIirFilter f;
    const DesignOutcome outcome = RunDesign(f, form, -130.0);
    EXPECT_TRUE(outcome.Designed()) << outcome.message;
    return f;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Printf(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value); // NOLINT(cert-err33-c)
    return buffer;
}

} // namespace tarvo::test
