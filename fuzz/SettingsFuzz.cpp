// The settings loader on any stored values: every value it takes is in its range, and
// what it saves loads back the same.
#include <map>

#include "fuzz/FuzzInput.h"
#include "options/Settings.h"
#include "platform/SettingsBackend.h"
#include "titlecase/TitleCaser.h"

namespace {
// Lines "section/key=value": a number where the value is one, else text.
struct Memory : SettingsBackend {
    std::map<std::string, std::string> values;
    std::string Key(const std::string& s, const std::string& k) { return s + "/" + k; }
    int32_t ReadInt(const std::string& s, const std::string& k, int32_t def) override
    {
        auto it = values.find(Key(s, k));
        if (it == values.end() || it->second.empty() || it->second.size() > 11) return def;
        char* end = nullptr;
        const long v = std::strtol(it->second.c_str(), &end, 10);
        return *end == '\0' && v >= INT32_MIN && v <= INT32_MAX ? int32_t(v) : def;
    }
    std::string ReadString(const std::string& s, const std::string& k, const std::string& def) override
    {
        auto it = values.find(Key(s, k));
        return it == values.end() ? def : it->second;
    }
    bool Contains(const std::string& s, const std::string& k) override { return values.count(Key(s, k)) != 0; }
    void WriteInt(const std::string& s, const std::string& k, int32_t v) override { values[Key(s, k)] = std::to_string(v); }
    void WriteString(const std::string& s, const std::string& k, const std::string& v) override { values[Key(s, k)] = v; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Memory stored;
    std::string_view all(reinterpret_cast<const char*>(data), size);
    while (!all.empty()) {
        const size_t nl = all.find('\n');
        const std::string_view line = all.substr(0, nl);
        const size_t eq = line.find('=');
        if (eq != std::string_view::npos) stored.values[std::string(line.substr(0, eq))] = std::string(line.substr(eq + 1));
        if (nl == std::string_view::npos) break;
        all.remove_prefix(nl + 1);
    }
    CSettings settings;
    CTitleCaser caser;
    LoadSettings(stored, settings, caser);
    FUZZ_CHECK(settings.saveLimit >= 1 && settings.saveLimit <= 99);
    FUZZ_CHECK(settings.timerIndex >= 0 && settings.timerIndex <= 5);
    FUZZ_CHECK(settings.separation >= 1 && settings.separation <= 9);
    FUZZ_CHECK(settings.TimerPeriodMs() > 0);
    FUZZ_CHECK(!settings.thousandsSeparator.empty());
    Memory saved;
    SaveSettings(saved, settings, caser);
    CSettings back;
    CTitleCaser backCaser;
    LoadSettings(saved, back, backCaser);
    std::vector<std::string> a, b;
    caser.GetExceptions(a);
    backCaser.GetExceptions(b);
    FUZZ_CHECK(a == b);
    FUZZ_CHECK(back.saveLimit == settings.saveLimit && back.timerIndex == settings.timerIndex &&
               back.dataFile == settings.dataFile && back.dataFiles == settings.dataFiles &&
               back.thousandsSeparator == settings.thousandsSeparator && back.separation == settings.separation);
    return 0;
}
