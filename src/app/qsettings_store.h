#pragma once

#include <QSettings>

#include <memory>

#include "settings/key_value_store.h"

namespace verbanta::app {

/// The settings store of the running program: QSettings under the organisation
/// "Quandel Soft" and the application "Verbanta" (the registry key
/// Software\Quandel Soft\Verbanta on Windows); a section is a group.
class QSettingsStore : public KeyValueStore {
public:
    /// The program's own settings of the current user.
    QSettingsStore();
    /// Settings kept in an INI file, for tests and portable runs.
    explicit QSettingsStore(const QString& iniPath);

    std::optional<std::int32_t> readInt(std::string_view section,
                                        std::string_view name) const override;
    std::optional<std::string> readString(std::string_view section,
                                          std::string_view name) const override;
    void writeInt(std::string_view section, std::string_view name, std::int32_t value) override;
    void writeString(std::string_view section, std::string_view name,
                     std::string_view value) override;

    /// Writes everything to its storage now.
    void sync() { m_settings->sync(); }
    /// True when the storage can be written.
    bool writable() const;
    QSettings& settings() { return *m_settings; }

private:
    static QString keyOf(std::string_view section, std::string_view name);
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace verbanta::app
