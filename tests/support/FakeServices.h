#pragma once
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/SettingsBackend.h"

// Settings kept in memory, inspectable by tests.
class MemorySettings : public SettingsBackend {
public:
    using Value = std::variant<int32_t, std::string>;
    int32_t ReadInt(const std::string& section, const std::string& key, int32_t def) override;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def = {}) override;
    void WriteInt(const std::string& section, const std::string& key, int32_t value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;

    bool Contains(const std::string& section, const std::string& key) override { return Has(section, key); }
    bool Has(const std::string& section, const std::string& key) const;
    std::map<std::pair<std::string, std::string>, Value> values;
    std::vector<std::pair<std::string, std::string>> writeOrder;
};

// A clock that says what the test tells it.
class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime now = {2009, 1, 1, 12, 0, 0}) : now(now) {}
    LocalTime Now() override { return now; }
    LocalTime now;
};

// Documents and program folders chosen by the test.
class FakePaths : public Paths {
public:
    explicit FakePaths(std::string docs) : docs(docs), state(docs + "-state") {}
    std::string DocumentsFolder() override { return docs; }
    std::string ProgramFolder() override { return docs; }
    std::string StateFolder() override { return state; }
    std::string HomeFolder() override { return home; }
    std::string docs;
    std::string state;  // beside the documents folder, so that each test has its own
    std::string home = docs + "-home";  // no browser profiles unless a test puts them there
};
