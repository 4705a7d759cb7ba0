// The browser extension's messages to the host, framed or not: no crash, a message is
// taken only with a bounded, control-free address, and every answer is JSON under the
// browsers' 1 MB.
#include <nlohmann/json.hpp>
#include <sstream>

#include "capture/CaptureRequests.h"
#include "capture/NativeMessaging.h"
#include "fuzz/FuzzInput.h"
#include "store/LinkStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream framed(input);
    std::string message;
    while (ReadFrame(framed, message, 4096) != FrameRead::End && framed) FUZZ_CHECK(message.size() <= 4096);

    CaptureRequest request;
    std::string error;
    if (!ParseCaptureRequest(input, request, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(request.title.size() <= kMaxFieldBytes && request.url.size() <= kMaxFieldBytes);
    static LinkStore store;
    if (store.Count() > 64) store.FreeAllLinks();
    std::vector<std::string> answers;
    if (request.kind == CaptureRequest::Kind::Lookup || request.Changes()) {
        for (unsigned char c : request.url) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
        int row = -1;
        bool added = false;
        if (AddCaptured(store, request, CLinkDate{}, row, added)) answers.push_back(StoredAnswer(store, row, added));
        answers.push_back(LookupAnswer(store, request.url));
    }
    answers.push_back(SearchAnswer(store, request));
    answers.push_back(CategoriesAnswer(store));
    for (const std::string& answer : answers) {
        FUZZ_CHECK(answer.size() < kMaxAnswerBytes);
        FUZZ_CHECK(!nlohmann::json::parse(answer, nullptr, false).is_discarded());
    }
    return 0;
}
