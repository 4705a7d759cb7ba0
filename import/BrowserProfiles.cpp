#include "import/BrowserProfiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "options/CountFormatter.h"
#include "store/FileIO.h"
#include "store/NaturalCompare.h"
#include "platform/Translate.h"

namespace fs = std::filesystem;

namespace {

struct Place {
    const char* browser;
    const char* folder;  // below home
};

// The folders of the Firefox family that hold a profiles.ini.
const Place kLinuxFirefox[] = {
    {"Firefox", ".mozilla/firefox"},
    {"Firefox", ".config/mozilla/firefox"},
    {"Firefox (Snap)", "snap/firefox/common/.mozilla/firefox"},
    {"Firefox (Flatpak)", ".var/app/org.mozilla.firefox/.mozilla/firefox"},
    {"Firefox (Flatpak)", ".var/app/org.mozilla.firefox/config/mozilla/firefox"},
    {"LibreWolf", ".librewolf"},
    {"LibreWolf (Flatpak)", ".var/app/io.gitlab.librewolf-community/.librewolf"},
    {"Waterfox", ".waterfox"},
    {"Waterfox (Flatpak)", ".var/app/net.waterfox.waterfox/.waterfox"},
};
const Place kWindowsFirefox[] = {
    {"Firefox", "AppData/Roaming/Mozilla/Firefox"},
    {"LibreWolf", "AppData/Roaming/librewolf"},
    {"Waterfox", "AppData/Roaming/Waterfox"},
};
const Place kMacFirefox[] = {
    {"Firefox", "Library/Application Support/Firefox"},
    {"LibreWolf", "Library/Application Support/librewolf"},
    {"Waterfox", "Library/Application Support/Waterfox"},
};

// The user-data folders of the Chromium family; each profile is a folder in it.
const Place kLinuxChromium[] = {
    {"Chromium", ".config/chromium"},
    {"Chromium (Snap)", "snap/chromium/common/chromium"},
    {"Chromium (Flatpak)", ".var/app/org.chromium.Chromium/config/chromium"},
    {"Chrome", ".config/google-chrome"},
    {"Chrome (Flatpak)", ".var/app/com.google.Chrome/config/google-chrome"},
    {"Edge", ".config/microsoft-edge"},
    {"Edge (Flatpak)", ".var/app/com.microsoft.Edge/config/microsoft-edge"},
    {"Brave", ".config/BraveSoftware/Brave-Browser"},
    {"Brave (Flatpak)", ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"},
    {"Vivaldi", ".config/vivaldi"},
    {"Vivaldi (Flatpak)", ".var/app/com.vivaldi.Vivaldi/config/vivaldi"},
    {"Opera", ".config/opera"},
    {"Opera (Flatpak)", ".var/app/com.opera.Opera/config/opera"},
};
const Place kWindowsChromium[] = {
    {"Chromium", "AppData/Local/Chromium/User Data"},
    {"Chrome", "AppData/Local/Google/Chrome/User Data"},
    {"Edge", "AppData/Local/Microsoft/Edge/User Data"},
    {"Brave", "AppData/Local/BraveSoftware/Brave-Browser/User Data"},
    {"Vivaldi", "AppData/Local/Vivaldi/User Data"},
    {"Opera", "AppData/Roaming/Opera Software/Opera Stable"},
};
const Place kMacChromium[] = {
    {"Chromium", "Library/Application Support/Chromium"},
    {"Chrome", "Library/Application Support/Google/Chrome"},
    {"Edge", "Library/Application Support/Microsoft Edge"},
    {"Brave", "Library/Application Support/BraveSoftware/Brave-Browser"},
    {"Vivaldi", "Library/Application Support/Vivaldi"},
    {"Opera", "Library/Application Support/com.operasoftware.Opera"},
};

std::string Utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool IsFile(const fs::path& path) { return FileExists(Utf8(path)); }

// The subfolders of folder, in natural order of their names.
std::vector<fs::path> Subfolders(const fs::path& folder)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec)) found.push_back(it->path());
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        return NaturalCompare(Utf8(a.filename()), Utf8(b.filename())) < 0;
    });
    return found;
}

std::string TrimLine(std::string line)
{
    return std::string(TrimView(line));
}

// The profiles a profiles.ini lists: Name and Path of each [Profile...] section, a
// relative Path being below the ini's folder. Without an ini, each folder holding a
// places.sqlite is a profile of its folder's name.
void FirefoxProfiles(const char* browser, const fs::path& folder, std::vector<BrowserProfile>& out,
                     std::vector<std::string>& skipped)
{
    // Only a plain file of a size an ini has: a fifo would keep the listing waiting, and
    // a link to a device would be read without end.
    constexpr uintmax_t kLongestIni = 1 << 20;
    const fs::path iniPath = folder / "profiles.ini";
    std::error_code ec;
    const bool usable = IsFile(iniPath) && fs::file_size(iniPath, ec) <= kLongestIni && !ec;
    if (!usable && (fs::exists(iniPath, ec) || fs::is_symlink(iniPath, ec)))
        skipped.push_back(Utf8(iniPath) + " was not read: it is not a plain file of at most 1 MiB.");
    std::ifstream ini;
    if (usable) ini.open(iniPath);
    if (!usable || !ini) {
        for (const fs::path& sub : Subfolders(folder))
            if (IsFile(sub / "places.sqlite"))
                out.push_back({browser, Utf8(sub.filename()), Utf8(sub / "places.sqlite")});
        return;
    }
    struct Section {
        bool profile = false;
        std::string name, path;
        bool relative = true;
    } section;
    auto finish = [&] {
        if (!section.profile || section.path.empty()) return;
        fs::path dir = Utf8Path(section.path);
        if (section.relative) dir = folder / dir;
        if (IsFile(dir / "places.sqlite"))
            out.push_back({browser, section.name.empty() ? Utf8(dir.filename()) : section.name,
                           Utf8((dir / "places.sqlite").lexically_normal())});
    };
    std::string line;
    while (std::getline(ini, line)) {
        line = TrimLine(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            finish();
            section = Section();
            section.profile = line.compare(0, 8, "[Profile") == 0;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = TrimLine(line.substr(0, equals)), value = TrimLine(line.substr(equals + 1));
        if (key == "Name") section.name = value;
        else if (key == "Path") section.path = value;
        else if (key == "IsRelative") section.relative = value != "0";
    }
    finish();
}

// Each profile folder of a user-data folder that holds Bookmarks ("Default", "Profile 1");
// a browser that keeps one profile in the user-data folder itself has that one.
void ChromiumProfiles(const char* browser, const fs::path& folder, std::vector<BrowserProfile>& out)
{
    if (IsFile(folder / "Bookmarks")) out.push_back({browser, Utf8(folder.filename()), Utf8(folder / "Bookmarks")});
    std::vector<fs::path> profiles = Subfolders(folder);
    // The first profile a browser makes comes first, as the browser lists it.
    std::stable_partition(profiles.begin(), profiles.end(), [](const fs::path& p) { return p.filename() == "Default"; });
    for (const fs::path& sub : profiles)
        if (IsFile(sub / "Bookmarks")) out.push_back({browser, Utf8(sub.filename()), Utf8(sub / "Bookmarks")});
}

template <size_t N, size_t M>
std::vector<BrowserProfile> Look(const fs::path& home, const Place (&firefox)[N], const Place (&chromium)[M],
                                 std::vector<std::string>& skipped)
{
    std::vector<BrowserProfile> found;
    for (const Place& place : firefox) FirefoxProfiles(place.browser, home / place.folder, found, skipped);
    for (const Place& place : chromium) ChromiumProfiles(place.browser, home / place.folder, found);
    // The same folder reached twice (a link between two of the places) is listed once.
    std::vector<BrowserProfile> unique;
    std::vector<fs::path> seen;
    for (BrowserProfile& profile : found) {
        std::error_code ec;
        fs::path real = fs::weakly_canonical(Utf8Path(profile.store), ec);
        if (ec) real = Utf8Path(profile.store);
        if (std::find(seen.begin(), seen.end(), real) != seen.end()) continue;
        seen.push_back(real);
        unique.push_back(std::move(profile));
    }
    return unique;
}

}  // namespace

HostSystem ThisSystem()
{
#if defined(_WIN32)
    return HostSystem::Windows;
#elif defined(__APPLE__)
    return HostSystem::MacOS;
#else
    return HostSystem::Linux;
#endif
}

std::vector<BrowserProfile> FindBrowserProfiles(const std::string& home, HostSystem system,
                                                std::vector<std::string>* skipped)
{
    const fs::path base = Utf8Path(home);
    std::vector<std::string> ignored;
    std::vector<std::string>& notes = skipped ? *skipped : ignored;
    switch (system) {
    case HostSystem::Windows: return Look(base, kWindowsFirefox, kWindowsChromium, notes);
    case HostSystem::MacOS: return Look(base, kMacFirefox, kMacChromium, notes);
    case HostSystem::Linux: break;
    }
    return Look(base, kLinuxFirefox, kLinuxChromium, notes);
}

std::string ProfileLabel(const BrowserProfile& profile, int links, const CCountFormatter& counts)
{
    std::string label = profile.browser + ": " + profile.profile;
    if (links >= 0) label += " (" + counts.Plural(links, Tr("Import", "%1 link"), Tr("Import", "%1 links")) + ")";
    else if (links == kLinksNotCounted) label += Tr("Import", " (counting links...)");
    else label += Tr("Import", " (cannot be read)");
    return label;
}
