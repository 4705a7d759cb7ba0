#pragma once
#include <string>
#include <vector>

class CCountFormatter;

// Where browsers keep their bookmarks, on each system a person may run Norvelle on.
enum class HostSystem { Linux, Windows, MacOS };

struct BrowserProfile {
    std::string browser;  // "Firefox", "Chromium (Snap)", ...
    std::string profile;  // "default-release", "Default", ...
    std::string store;    // the full path of its places.sqlite or Bookmarks
};

// The system this build runs on.
HostSystem ThisSystem();

// Every browser profile with a bookmark store under home (a person's home folder; on
// Windows its AppData folders are found below it): the Firefox family through each
// folder's profiles.ini (or, without one, the folders holding places.sqlite), the
// Chromium family through every profile folder holding Bookmarks. In a fixed order:
// browser by browser, each one's profiles as its files list them. A profiles.ini that is
// not a plain file of a size an ini has is not read, and skipped (if given) says so.
std::vector<BrowserProfile> FindBrowserProfiles(const std::string& home, HostSystem system,
                                                std::vector<std::string>* skipped = nullptr);

// A profile's links not counted yet.
constexpr int kLinksNotCounted = -2;

// "Firefox: default-release (1,234 links)"; links -1 for a store that cannot be read, and
// kLinksNotCounted while they are being counted.
std::string ProfileLabel(const BrowserProfile& profile, int links, const CCountFormatter& counts);
