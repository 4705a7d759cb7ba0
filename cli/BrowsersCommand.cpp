// norvelle-cli browsers: the browser profiles that Import Favorites lists.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "import/BrowserProfiles.h"
#include "import/BrowserStores.h"

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
