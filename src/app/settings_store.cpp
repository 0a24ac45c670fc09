#include "app/settings_store.h"

namespace tarvo {
namespace {

QString KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

} // namespace

SettingsStore::SettingsStore() : settings_(QStringLiteral("Morvane"), QStringLiteral("TarvoIIR")) {}

SettingsStore::SettingsStore(const QString& fileName) : settings_(fileName, QSettings::IniFormat) {}

std::int32_t SettingsStore::GetProfileInt(const std::string& section, const std::string& key,
                                          std::int32_t defaultValue) const {
    const QVariant value = settings_.value(KeyOf(section, key));
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const int v = value.toString().trimmed().toInt(&ok);
    return ok ? v : defaultValue;
}

bool SettingsStore::WriteProfileInt(const std::string& section, const std::string& key,
                                    std::int32_t value) {
    settings_.setValue(KeyOf(section, key), value);
    return settings_.status() == QSettings::NoError;
}

std::string SettingsStore::GetProfileString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    const QVariant value = settings_.value(KeyOf(section, key));
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

bool SettingsStore::WriteProfileString(const std::string& section, const std::string& key,
                                       const std::string& value) {
    settings_.setValue(KeyOf(section, key), QString::fromStdString(value));
    return settings_.status() == QSettings::NoError;
}

void SettingsStore::Sync() {
    settings_.sync();
}

} // namespace tarvo
