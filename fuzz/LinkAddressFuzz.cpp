// Address normalisation and classification on any link: no crash, a web link always has
// a host to count requests against, and no user name survives WithoutUserInfo.
#include "fuzz/FuzzInput.h"
#include "health/LinkAddress.h"
#include "store/NaturalCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string link(reinterpret_cast<const char*>(data), size);
    const LinkKind kind = KindOfLink(link);
    const std::string key = DuplicateKey(link);
    FUZZ_CHECK(key.empty() == TrimView(link).empty());
    if (kind == LinkKind::Web) FUZZ_CHECK(!HostKey(link).empty() && key.compare(0, 7, "http://") == 0);
    if (kind == LinkKind::LocalFile) FUZZ_CHECK(!LocalPathOfLink(link).empty());
    AddressParts parts, shown;
    if (SplitAddress(link, parts) && !parts.userInfo.empty()) {
        const std::string without = WithoutUserInfo(link);
        FUZZ_CHECK(SplitAddress(without, shown) && shown.host == parts.host);
    }
    return 0;
}
