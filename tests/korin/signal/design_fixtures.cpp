#include "design_fixtures.h"

#include "support/fixtures.h"

#include <charconv>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvo::test {

namespace {

class Tokens {
public:
    explicit Tokens(const std::string& text) {
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line[0] == '#') continue;
            std::istringstream words(line);
            std::string word;
            while (words >> word)
                words_.push_back(word);
        }
    }

    bool AtEnd() const { return next_ >= words_.size(); }

    std::string Word() {
        if (AtEnd()) {
            ok_ = false;
            return {};
        }
        return words_[next_++];
    }

    double Number() {
        const std::string w = Word();
        double value = 0.0;
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
        if (ec != std::errc() || end != w.data() + w.size()) ok_ = false;
        return value;
    }

    std::size_t Count(const std::string& keyword) {
        if (Word() != keyword) ok_ = false;
        return static_cast<std::size_t>(Number());
    }

    korin::mvect Complexes(const std::string& keyword) {
        const std::size_t n = Count(keyword);
        korin::mvect v;
        for (std::size_t i = 0; i < n && ok_; ++i) {
            const double re = Number();
            v.push_back(korin::mcplx(re, Number()));
        }
        return v;
    }

    std::vector<double> Reals(const std::string& keyword) {
        const std::size_t n = Count(keyword);
        std::vector<double> v;
        for (std::size_t i = 0; i < n && ok_; ++i)
            v.push_back(Number());
        return v;
    }

    bool Ok() const { return ok_; }

private:
    std::vector<std::string> words_;
    std::size_t next_ = 0;
    bool ok_ = true;
};

DesignFixtures Parse(const std::string& text) {
    DesignFixtures result;
    Tokens tokens(text);
    result.grid = tokens.Reals("grid");
    while (tokens.Ok() && !tokens.AtEnd()) {
        DesignFixture d;
        if (tokens.Word() != "design") break;
        d.family = tokens.Word();
        d.type = tokens.Word();
        d.order = static_cast<int>(tokens.Number());
        d.name = d.family + " " + d.type + " " + std::to_string(d.order);
        for (std::string w = tokens.Word(); tokens.Ok() && w != "z"; w = tokens.Word()) {
            d.name += " " + w;
        }
        // "z" was consumed by the parameter loop; read the zeros' count directly.
        const auto zeros = static_cast<std::size_t>(tokens.Number());
        for (std::size_t i = 0; i < zeros && tokens.Ok(); ++i) {
            const double re = tokens.Number();
            d.z.push_back(korin::mcplx(re, tokens.Number()));
        }
        d.p = tokens.Complexes("p");
        if (tokens.Word() != "k") break;
        d.k = tokens.Number();
        const std::size_t rows = tokens.Count("sos");
        for (std::size_t r = 0; r < rows && tokens.Ok(); ++r) {
            korin::mvect& row = d.sos.AddRow();
            row.column = false;
            for (int c = 0; c < 6; ++c)
                row.push_back(korin::mcplx(tokens.Number()));
        }
        d.h = tokens.Complexes("h");
        d.impulse = tokens.Reals("impulse");
        d.step = tokens.Reals("step");
        if (tokens.Word() != "rounding") break;
        d.rounding = tokens.Number();
        if (tokens.Word() != "end") break;
        result.designs.push_back(std::move(d));
    }
    if (!tokens.Ok() || !tokens.AtEnd()) ADD_FAILURE() << "malformed signal/designs.txt";
    return result;
}

} // namespace

const DesignFixtures& LoadDesignFixtures() {
    static const DesignFixtures fixtures = Parse(ReadFixture("signal/designs.txt"));
    return fixtures;
}

korin::mvect GridPoints(const std::vector<double>& grid) {
    korin::mvect s;
    for (const double w : grid)
        s.push_back(korin::mcplx(0.0, w));
    return s;
}

} // namespace tarvo::test
