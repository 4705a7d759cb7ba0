#include "platform/HugePages.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#if defined(__linux__) && defined(__GLIBC__)
#include <unistd.h>
#endif

namespace {

constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr const char* kHugePages = "glibc.malloc.hugetlb=1";
// Set for the restarted program: "unset", or "was:" and the person's own tunables.
constexpr const char* kMarker = "NORVELLE_RESTARTED_TUNABLES";

}  // namespace

std::optional<std::string> TunablesWithHugePages(const char* current)
{
    if (current == nullptr || *current == '\0') return std::string(kHugePages);
    if (std::strstr(current, "glibc.malloc.hugetlb") != nullptr) return std::nullopt;
    return std::string(current) + ":" + kHugePages;
}

bool RestoreEnvironmentAfterRestart()
{
#if defined(__linux__) && defined(__GLIBC__)
    const char* marker = std::getenv(kMarker);
    if (marker == nullptr) return false;
    const std::string was = marker;
    if (was.rfind("was:", 0) == 0)
        setenv(kTunables, was.c_str() + 4, 1);
    else
        unsetenv(kTunables);
    unsetenv(kMarker);
    return true;
#else
    return false;
#endif
}

void UseHugePagesForTheHeap(char** argv)
{
#if defined(__linux__) && defined(__GLIBC__)
    if (RestoreEnvironmentAfterRestart()) return;
    // Where the system gives no huge pages, a restart gains nothing.
    std::string modes;
    std::getline(std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"), modes);
    if (modes.empty() || modes.find("[never]") != std::string::npos) return;
    const char* current = std::getenv(kTunables);
    const std::optional<std::string> tunables = TunablesWithHugePages(current);
    if (!tunables) return;
    const std::string marker = current ? std::string("was:") + current : std::string("unset");
    setenv(kMarker, marker.c_str(), 1);
    setenv(kTunables, tunables->c_str(), 1);
    execv("/proc/self/exe", argv);
    // Not restarted: on as it was.
    RestoreEnvironmentAfterRestart();
#else
    (void)argv;
#endif
}
