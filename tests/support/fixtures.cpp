#include "support/fixtures.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvo::test {

std::string FixturePath(const std::string& name) {
    return std::string(TARVO_FIXTURE_DIR) + "/" + name;
}

std::string ReadFixture(const std::string& name) {
    std::ifstream in(FixturePath(name), std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read fixture " << FixturePath(name);
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace tarvo::test
