#pragma once
// The per-user settings store: integers and texts under a section and a key.
// The desktop program keeps them in its settings file; tests keep them in memory.

#include <cstdint>
#include <string>

namespace fw {

class ProfileStore {
public:
    ProfileStore() = default;
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;
    virtual ~ProfileStore() = default;

    // The stored integer, or defaultValue when the key is missing or holds no integer.
    virtual std::int32_t GetProfileInt(const std::string& section, const std::string& key,
                                       std::int32_t defaultValue) const = 0;
    // False when the store refused the value.
    virtual bool WriteProfileInt(const std::string& section, const std::string& key,
                                 std::int32_t value) = 0;
    // The stored text, or defaultValue when the key is missing.
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
};

} // namespace fw
