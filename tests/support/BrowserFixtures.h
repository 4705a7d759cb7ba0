#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

// The browser stores of the import tests, put into a test's own home folder.
namespace browser_fixtures {

namespace fs = std::filesystem;

inline fs::path DataFolder() { return fs::path(NORVELLE_TEST_DATA) / "browsers"; }

// The Firefox profile that Firefox ESR wrote, its last bookmarks still in the write-ahead
// log; the profile's places.sqlite under home.
inline fs::path PutFirefoxProfile(const fs::path& home)
{
    fs::create_directories(home);
    fs::copy(fs::path(NORVELLE_FIREFOX_HOME) / ".mozilla", home / ".mozilla", fs::copy_options::recursive);
    return home / ".mozilla/firefox/k3x9q2lp.default-release/places.sqlite";
}

// The Chromium Bookmarks file, as profile folder of the user-data folder below home.
inline fs::path PutChromiumProfile(const fs::path& home, const std::string& userData, const std::string& profile)
{
    const fs::path folder = profile.empty() ? home / userData : home / userData / profile;
    fs::create_directories(folder);
    fs::copy_file(DataFolder() / "chromium-Bookmarks", folder / "Bookmarks", fs::copy_options::overwrite_existing);
    return folder / "Bookmarks";
}

// Every file below folder with its bytes, to show that nothing was changed or added.
inline std::map<std::string, std::string> Snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), folder).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

}  // namespace browser_fixtures
