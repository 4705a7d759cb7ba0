#include "sync/ConflictCopies.h"

#include <algorithm>
#include <filesystem>

#include "store/FileIO.h"
#include "store/NaturalCompare.h"

namespace fs = std::filesystem;

namespace {

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }
bool EndsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

}  // namespace

bool IsConflictCopyName(const std::string& dataFileName, const std::string& name)
{
    if (name == dataFileName) return false;
    const size_t dot = dataFileName.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? dataFileName : dataFileName.substr(0, dot);
    const std::string extension = stem.size() == dataFileName.size() ? "" : dataFileName.substr(stem.size());
    if (StartsWith(name, stem + ".sync-conflict-") && EndsWith(name, extension)) return true;
    if (StartsWith(name, dataFileName + ".conflict")) return true;
    return StartsWith(name, stem + " (") && EndsWith(name, ")" + extension) &&
           Lower(name).find("conflicted copy", stem.size()) != std::string::npos;
}

namespace {

// The conflict copies of the data file named name in folder, appended to copies.
void CopiesIn(const fs::path& folder, const std::string& name, std::vector<ConflictCopy>& copies)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::u8string entry8 = it->path().filename().u8string();
        const std::string entry(entry8.begin(), entry8.end());
        std::error_code fileEc;
        if (!IsConflictCopyName(name, entry) || !it->is_regular_file(fileEc)) continue;
        const std::u8string full8 = it->path().u8string();
        const std::string full(full8.begin(), full8.end());
        copies.push_back({full, FileLastWriteSeconds(full), uint64_t(it->file_size(fileEc))});
    }
}

}  // namespace

std::vector<ConflictCopy> FindConflictCopies(const std::string& dataFile)
{
    std::vector<ConflictCopy> copies;
    const fs::path path(std::u8string(dataFile.begin(), dataFile.end()));
    const std::u8string name8 = path.filename().u8string();
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    CopiesIn(folder, std::string(name8.begin(), name8.end()), copies);
    // A data file reached through a link is synced where it really is: the copies a sync
    // tool leaves are beside that file, under its name.
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    if (!ec && fs::canonical(folder, ec) / path.filename() != real) {
        const std::u8string realName = real.filename().u8string();
        CopiesIn(real.parent_path(), std::string(realName.begin(), realName.end()), copies);
    }
    std::sort(copies.begin(), copies.end(), [](const ConflictCopy& a, const ConflictCopy& b) {
        return a.modified != b.modified ? a.modified > b.modified : a.path < b.path;
    });
    // A folder reached both ways lists its copies once.
    std::vector<fs::path> seen;
    std::erase_if(copies, [&seen](const ConflictCopy& copy) {
        std::error_code e;
        fs::path real = fs::canonical(Utf8Path(copy.path), e);
        if (e) real = Utf8Path(copy.path);
        if (std::find(seen.begin(), seen.end(), real) != seen.end()) return true;
        seen.push_back(real);
        return false;
    });
    return copies;
}

OfferedConflictCopies::OfferedConflictCopies(const std::string& text)
{
    for (std::string_view entry : SplitView(text, '\n'))
        if (!entry.empty()) m_entries.emplace_back(entry);
}

std::string OfferedConflictCopies::Entry(const std::string& dataFile, const ConflictCopy& copy)
{
    const std::u8string name8 = fs::path(std::u8string(copy.path.begin(), copy.path.end())).filename().u8string();
    return dataFile + '\t' + std::string(name8.begin(), name8.end()) + '\t' + std::to_string(copy.size);
}

bool OfferedConflictCopies::Contains(const std::string& dataFile, const ConflictCopy& copy) const
{
    return std::find(m_entries.begin(), m_entries.end(), Entry(dataFile, copy)) != m_entries.end();
}

void OfferedConflictCopies::Add(const std::string& dataFile, const ConflictCopy& copy)
{
    if (Contains(dataFile, copy)) return;
    m_entries.push_back(Entry(dataFile, copy));
    constexpr size_t kKept = 300;
    if (m_entries.size() > kKept) m_entries.erase(m_entries.begin(), m_entries.end() - kKept);
}

void OfferedConflictCopies::Remove(const std::string& dataFile, const ConflictCopy& copy)
{
    std::erase(m_entries, Entry(dataFile, copy));
}

std::string OfferedConflictCopies::Text() const
{
    std::string text;
    for (const std::string& entry : m_entries) text += entry + '\n';
    return text;
}
