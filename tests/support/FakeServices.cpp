#include "tests/support/FakeServices.h"

int32_t MemorySettings::ReadInt(const std::string& section, const std::string& key, int32_t def)
{
    auto it = values.find({section, key});
    if (it == values.end() || !std::holds_alternative<int32_t>(it->second)) return def;
    return std::get<int32_t>(it->second);
}

std::string MemorySettings::ReadString(const std::string& section, const std::string& key, const std::string& def)
{
    auto it = values.find({section, key});
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return def;
    return std::get<std::string>(it->second);
}

void MemorySettings::WriteInt(const std::string& section, const std::string& key, int32_t value)
{
    values[{section, key}] = value;
    writeOrder.emplace_back(section, key);
}

void MemorySettings::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    values[{section, key}] = value;
    writeOrder.emplace_back(section, key);
}

bool MemorySettings::Has(const std::string& section, const std::string& key) const
{
    return values.count({section, key}) != 0;
}
