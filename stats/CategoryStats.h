#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class LinkStore;

struct CategoryCount {
    std::string name;
    int count;
};

// Counts links per category: "TOTAL", "SELECTED", "NO CATEGORY", then one row per name
// of the Category list. A record counts under the name its Category equals exactly
// (letter case included), else under NO CATEGORY.
class CCategoryCounter {
public:
    CCategoryCounter(const std::vector<std::string>& categories, int selected);
    void Count(std::string_view category);
    const std::vector<CategoryCount>& Rows() const { return m_rows; }

private:
    std::vector<CategoryCount> m_rows;
    // Looked up by the record's own bytes, without a copy.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    std::unordered_map<std::string, size_t, NameHash, std::equal_to<>> m_slots;
};

// The rows of the Statistics window for the whole store, reading each record once.
std::vector<CategoryCount> CountCategories(const LinkStore& store, int selected);
