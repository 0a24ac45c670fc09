#pragma once
// The per-user settings store of the desktop program: QSettings of the company
// "Morvane" and the application "TarvoIIR", in the native format
// (~/.config/Morvane/TarvoIIR.conf); a section is a settings group.

#include "fw/profile_store.h"

#include <QSettings>

namespace tarvo {

class SettingsStore : public fw::ProfileStore {
public:
    SettingsStore();
    // A store kept in the given file (tests, and runs that must leave the
    // user's settings alone).
    explicit SettingsStore(const QString& fileName);

    std::int32_t GetProfileInt(const std::string& section, const std::string& key,
                               std::int32_t defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& key,
                         std::int32_t value) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const override;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;

    // Writes pending changes to the file.
    void Sync();

private:
    mutable QSettings settings_;
};

} // namespace tarvo
