#pragma once
#include <QSettings>

#include "platform/SettingsBackend.h"

// The per-user settings under "Quenby Software"/"Norvelle": the registry on Windows,
// an INI file in the user's configuration folder elsewhere.
class QtSettingsBackend : public SettingsBackend {
public:
    QtSettingsBackend();
    int32_t ReadInt(const std::string& section, const std::string& key, int32_t def) override;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override;
    bool Contains(const std::string& section, const std::string& key) override;
    void WriteInt(const std::string& section, const std::string& key, int32_t value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;

private:
    QSettings m_settings;
};
