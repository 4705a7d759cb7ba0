// norvelle-cli browsers: the browser profiles that Import Favorites lists.
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "import/BrowserProfiles.h"
#include "import/BrowserStores.h"

int BrowsersCommand(const std::string& home, std::ostream& out, std::ostream&)
{
    const std::vector<BrowserProfile> profiles = FindBrowserProfiles(home, ThisSystem());
    for (const BrowserProfile& profile : profiles) {
        const int links = CountStoreLinks(profile.store);
        out << PlainText(profile.browser) << '\t' << PlainText(profile.profile) << '\t' << PlainText(profile.store)
            << '\t' << (links >= 0 ? std::to_string(links) : std::string("unreadable")) << '\n';
    }
    return profiles.empty() ? kExitFailed : kExitOk;
}
