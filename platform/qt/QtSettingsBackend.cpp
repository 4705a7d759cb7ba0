#include "platform/qt/QtSettingsBackend.h"

namespace {
QString KeyOf(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}
}  // namespace

QtSettingsBackend::QtSettingsBackend()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, "Quenby Software", "Norvelle")
{
}

int32_t QtSettingsBackend::ReadInt(const std::string& section, const std::string& key, int32_t def)
{
    QVariant v = m_settings.value(KeyOf(section, key));
    bool ok = false;
    int value = v.toInt(&ok);
    return ok ? value : def;
}

std::string QtSettingsBackend::ReadString(const std::string& section, const std::string& key, const std::string& def)
{
    QVariant v = m_settings.value(KeyOf(section, key));
    return v.isValid() ? v.toString().toStdString() : def;
}

bool QtSettingsBackend::Contains(const std::string& section, const std::string& key)
{
    return m_settings.contains(KeyOf(section, key));
}

void QtSettingsBackend::WriteInt(const std::string& section, const std::string& key, int32_t value)
{
    m_settings.setValue(KeyOf(section, key), value);
}

void QtSettingsBackend::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    m_settings.setValue(KeyOf(section, key), QString::fromStdString(value));
}
