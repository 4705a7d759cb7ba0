// norvelle-cli browsers: the browser profiles that Import Favorites lists.
#include <ostream>

#include "capture/HostManifests.h"
#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "import/BrowserProfiles.h"
#include "import/BrowserStores.h"
#include "store/FileIO.h"

int BrowsersCommand(const std::string& home, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> skipped;
    const std::vector<BrowserProfile> profiles = FindBrowserProfiles(home, ThisSystem(), &skipped);
    for (const std::string& note : skipped) err << "norvelle-cli: " << PlainText(note) << '\n';
    for (const BrowserProfile& profile : profiles) {
        const int links = CountStoreLinks(profile.store);
        out << PlainText(profile.browser) << '\t' << PlainText(profile.profile) << '\t' << PlainText(profile.store)
            << '\t' << (links >= 0 ? std::to_string(links) : std::string("unreadable")) << '\n';
    }
    return profiles.empty() ? kExitFailed : kExitOk;
}

int BrowserHostCommand(bool install, const std::string& home, const std::string& programFolder, std::ostream& out,
                       std::ostream& err)
{
    // Installed, the host is beside this program; in the build tree, in its own folder.
    std::string host = programFolder + "/norvelle-host";
    if (!FileExists(host) && FileExists(programFolder + "/../host/norvelle-host"))
        host = programFolder.substr(0, programFolder.rfind('/')) + "/host/norvelle-host";
    if (install && !FileExists(host)) {
        err << "norvelle-cli: norvelle-host is not installed beside norvelle-cli (\"" << PlainText(host) << "\")\n";
        return kExitFailed;
    }
    std::vector<HostManifestPlace> done;
    const bool ok = install ? InstallHostManifests(home, ThisSystem(), host, nullptr, done, err)
                            : RemoveHostManifests(home, ThisSystem(), nullptr, done, err);
    for (const HostManifestPlace& place : done) out << PlainText(place.browser) << '\t' << PlainText(place.file) << '\n';
    if (install && ok && done.empty()) {
        err << "norvelle-cli: no browser of the Firefox or Chromium family was found in \"" << PlainText(home) << "\"\n";
        return kExitFailed;
    }
    return ok ? kExitOk : kExitFailed;
}
