#include "qsettings_store.h"

namespace verbanta::app {

QSettingsStore::QSettingsStore()
    : m_settings(
          std::make_unique<QSettings>(QStringLiteral("Quandel Soft"), QStringLiteral("Verbanta")))
{
}

QSettingsStore::QSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QString QSettingsStore::keyOf(std::string_view section, std::string_view name)
{
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) +
           QLatin1Char('/') + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<std::int32_t> QSettingsStore::readInt(std::string_view section,
                                                    std::string_view name) const
{
    const QVariant value = m_settings->value(keyOf(section, name));
    if (!value.isValid())
        return std::nullopt;
    // An INI file gives every value back as text; the registry gives numbers.
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<std::string> QSettingsStore::readString(std::string_view section,
                                                      std::string_view name) const
{
    const QVariant value = m_settings->value(keyOf(section, name));
    if (!value.isValid())
        return std::nullopt;
    // A settings file written by hand may leave "1,2,3" unquoted, which reads as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

void QSettingsStore::writeInt(std::string_view section, std::string_view name, std::int32_t value)
{
    m_settings->setValue(keyOf(section, name), value);
}

void QSettingsStore::writeString(std::string_view section, std::string_view name,
                                 std::string_view value)
{
    m_settings->setValue(keyOf(section, name),
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

bool QSettingsStore::writable() const
{
    return m_settings->isWritable() && m_settings->status() == QSettings::NoError;
}

}  // namespace verbanta::app
