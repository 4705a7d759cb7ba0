#pragma once
#include <cstdint>
#include <string>

// A per-user store of integers and strings by section and key. Write failures are ignored.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    virtual int32_t ReadInt(const std::string& section, const std::string& key, int32_t def) = 0;
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& def = std::string()) = 0;
    virtual void WriteInt(const std::string& section, const std::string& key, int32_t value) = 0;
    virtual bool Contains(const std::string& section, const std::string& key) = 0;
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
};
