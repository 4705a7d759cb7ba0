#include "capture/HostManifests.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "store/FileIO.h"

namespace {

struct Browser {
    const char* name;
    BrowserFamily family;
    const char* onLinux;   // below home; the manifests' folder is inside it
    const char* mac;       // below home/Library/Application Support
    const char* registry;  // below HKEY_CURRENT_USER\Software
    const char* windows;   // the browser's folder below home
};

// Chromium's family names its folder "NativeMessagingHosts" inside its own; Firefox's
// family uses "native-messaging-hosts" on Linux and "NativeMessagingHosts" on macOS.
constexpr Browser kBrowsers[] = {
    {"Chromium", BrowserFamily::Chromium, ".config/chromium", "Chromium", "Chromium", "AppData/Local/Chromium"},
    {"Google Chrome", BrowserFamily::Chromium, ".config/google-chrome", "Google/Chrome", "Google\\Chrome", "AppData/Local/Google/Chrome"},
    {"Microsoft Edge", BrowserFamily::Chromium, ".config/microsoft-edge", "Microsoft Edge", "Microsoft\\Edge", "AppData/Local/Microsoft/Edge"},
    {"Brave", BrowserFamily::Chromium, ".config/BraveSoftware/Brave-Browser", "BraveSoftware/Brave-Browser",
     "BraveSoftware\\Brave-Browser", "AppData/Local/BraveSoftware/Brave-Browser"},
    {"Vivaldi", BrowserFamily::Chromium, ".config/vivaldi", "Vivaldi", "Vivaldi", "AppData/Local/Vivaldi"},
    {"Firefox", BrowserFamily::Firefox, ".mozilla", "Mozilla", "Mozilla", "AppData/Roaming/Mozilla"},
    {"LibreWolf", BrowserFamily::Firefox, ".librewolf", "LibreWolf", "LibreWolf", "AppData/Roaming/LibreWolf"},
};

std::string Join(const std::string& a, const std::string& b) { return a.empty() || a.back() == '/' ? a + b : a + "/" + b; }

}  // namespace

std::vector<HostManifestPlace> HostManifestPlaces(const std::string& home, HostSystem system)
{
    std::vector<HostManifestPlace> places;
    const std::string file = std::string(kHostName) + ".json";
    for (const Browser& b : kBrowsers) {
        HostManifestPlace place{b.name, b.family, {}, {}, {}};
        const bool firefox = b.family == BrowserFamily::Firefox;
        switch (system) {
        case HostSystem::Linux:
            place.folder = Join(home, b.onLinux);
            place.file = Join(Join(place.folder, firefox ? "native-messaging-hosts" : "NativeMessagingHosts"), file);
            break;
        case HostSystem::MacOS:
            place.folder = Join(Join(home, "Library/Application Support"), b.mac);
            place.file = Join(Join(place.folder, "NativeMessagingHosts"), file);
            break;
        case HostSystem::Windows:
            // The manifests live with our program's data; the registry says where.
            place.folder = Join(home, b.windows);
            place.file = Join(home, std::string("AppData/Local/Norvelle/NativeMessagingHosts/") +
                                        (firefox ? "firefox-" : "chromium-") + file);
            place.registryKey = std::string("Software\\") + b.registry + "\\NativeMessagingHosts\\" + kHostName;
            break;
        }
        places.push_back(std::move(place));
    }
    return places;
}

std::string HostManifestText(BrowserFamily family, const std::string& hostPath)
{
    nlohmann::json manifest{{"name", kHostName},
                            {"description", "Norvelle: saves links from the browser into your collection"},
                            {"path", hostPath},
                            {"type", "stdio"}};
    if (family == BrowserFamily::Chromium)
        manifest["allowed_origins"] = {std::string("chrome-extension://") + kChromiumExtensionId + "/"};
    else
        manifest["allowed_extensions"] = {kFirefoxExtensionId};
    return manifest.dump(2) + "\n";
}

bool InstallHostManifests(const std::string& home, HostSystem system, const std::string& hostPath,
                          HostRegistry* registry, std::vector<HostManifestPlace>& done, std::ostream& err)
{
    bool ok = true;
    for (const HostManifestPlace& place : HostManifestPlaces(home, system)) {
        std::error_code ec;
        if (!std::filesystem::is_directory(Utf8Path(place.folder), ec)) continue;
        const std::string text = HostManifestText(place.family, hostPath);
        const std::string folder = place.file.substr(0, place.file.rfind('/'));
        AtomicFileWriter writer;
        if (!MakeFolders(folder) || !writer.Open(place.file) || !writer.Write(text.data(), text.size()) ||
            !writer.Commit()) {
            err << "norvelle-cli: could not write \"" << place.file << "\": " << std::strerror(writer.Error() ? writer.Error() : errno)
                << '\n';
            ok = false;
            continue;
        }
        if (!place.registryKey.empty()) {
            if (!registry || !registry->SetDefaultValue(place.registryKey, place.file)) {
                err << "norvelle-cli: could not set the registry key \"" << place.registryKey << "\"\n";
                ok = false;
                continue;
            }
        }
        done.push_back(place);
    }
    return ok;
}

bool RemoveHostManifests(const std::string& home, HostSystem system, HostRegistry* registry,
                         std::vector<HostManifestPlace>& done, std::ostream& err)
{
    bool ok = true;
    for (const HostManifestPlace& place : HostManifestPlaces(home, system)) {
        if (!place.registryKey.empty() && registry) registry->RemoveKey(place.registryKey);
        if (!PathExists(place.file)) continue;
        std::error_code ec;
        if (!std::filesystem::remove(Utf8Path(place.file), ec)) {
            err << "norvelle-cli: could not remove \"" << place.file << "\": " << ec.message() << '\n';
            ok = false;
            continue;
        }
        done.push_back(place);
    }
    return ok;
}
