#pragma once
// A settings store in memory, for tests and for runs that must not touch the
// user's settings. It keeps every value as text, as a settings file would, and
// logs the writes in order.

#include "fw/profile_store.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fw {

class MemoryProfileStore : public ProfileStore {
public:
    struct Write {
        std::string section;
        std::string key;
        std::string value;
        bool isInt = false;
    };

    // An integer is read from its decimal text (surrounding blanks allowed);
    // any other text gives the default.
    std::int32_t GetProfileInt(const std::string& section, const std::string& key,
                               std::int32_t defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& key,
                         std::int32_t value) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const override;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;

    // The stored text of a key, if any.
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;
    void Erase(const std::string& section, const std::string& key);
    std::size_t Size() const { return values_.size(); }
    // Every write since construction (or ClearLog), in order.
    const std::vector<Write>& WriteLog() const { return log_; }
    void ClearLog() { log_.clear(); }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
    std::vector<Write> log_;
};

} // namespace fw
