#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "import/BrowserProfiles.h"

// The browsers learn where our host is, and which extension may start it, from a small
// manifest per browser family: a file in a folder the browser reads (Linux, macOS), or a
// file named by a registry key (Windows).
// The names are the build's (see the top CMakeLists.txt), shared with the extension.
inline constexpr const char* kHostName = NORVELLE_HOST_NAME;
inline constexpr const char* kChromiumExtensionId = NORVELLE_CHROMIUM_EXTENSION_ID;
inline constexpr const char* kFirefoxExtensionId = NORVELLE_FIREFOX_EXTENSION_ID;

enum class BrowserFamily { Chromium, Firefox };

struct HostManifestPlace {
    std::string browser;      // "Chromium", "Google Chrome", "Firefox", ...
    BrowserFamily family;
    std::string folder;       // the browser's own folder: the manifest is written only when it exists
    std::string file;         // where the manifest goes
    std::string registryKey;  // Windows: the key under HKEY_CURRENT_USER whose default value is file
};

// Every place the browsers of the system read a per-user manifest from, under home.
std::vector<HostManifestPlace> HostManifestPlaces(const std::string& home, HostSystem system);

// The manifest of a family for the host program at hostPath.
std::string HostManifestText(BrowserFamily family, const std::string& hostPath);

// Windows' registry, where a Windows build keeps the keys; tests keep them in a map.
class HostRegistry {
public:
    virtual ~HostRegistry() = default;
    virtual bool SetDefaultValue(const std::string& key, const std::string& value) = 0;
    virtual bool RemoveKey(const std::string& key) = 0;
};

// Writes the manifest for every browser found under home (and its registry key), or takes
// them away; done lists the places written or removed. False after a message on err when a
// place could not be written or removed; a browser not there is passed over.
bool InstallHostManifests(const std::string& home, HostSystem system, const std::string& hostPath,
                          HostRegistry* registry, std::vector<HostManifestPlace>& done, std::ostream& err);
bool RemoveHostManifests(const std::string& home, HostSystem system, HostRegistry* registry,
                         std::vector<HostManifestPlace>& done, std::ostream& err);
