#include "host/HostSession.h"

#include <istream>
#include <memory>
#include <ostream>
#include <sstream>

#include "capture/CaptureRequests.h"
#include "capture/NativeMessaging.h"
#include "cli/CliCommands.h"
#include "cli/PlainText.h"
#include "platform/Clock.h"
#include "store/DataFile.h"
#include "store/DiskStamp.h"
#include "store/FileIO.h"
#include "store/GuardedWrite.h"
#include "store/LinkStore.h"
#include "store/WriterTurn.h"

namespace {

// What the CLI's helpers would print, as one line for an answer.
std::string OneLine(const std::ostringstream& text)
{
    std::string line = text.str();
    while (!line.empty() && line.back() == '\n') line.pop_back();
    for (char& c : line)
        if (c == '\n') c = ' ';
    return line.empty() ? "The data file could not be read." : line;
}

// The links last read, kept while the file holds the same bytes: the extension asks about
// every page the person opens, and a collection is read whole only when it changed.
struct ReadCache {
    std::unique_ptr<CommandStore> holder;
    DiskStamp version;
    bool valid = false;
    CAddressIndex addresses;
};

std::string Read(const CaptureRequest& request, const HostEnvironment& env, ReadCache& cache)
{
    const DiskStamp now = StampOf(env.dataPath);
    if (!cache.valid || !now.SameContent(cache.version)) {
        cache.valid = false;
        cache.holder = std::make_unique<CommandStore>();
        LinkStore& store = **cache.holder;
        std::ostringstream problems;
        if (ReadWholeDataFile(env.dataPath, store, true, problems, &cache.version) != kExitOk)
            return ErrorAnswer(OneLine(problems));
        cache.addresses.Build(store);
        cache.valid = true;
    }
    const LinkStore& store = **cache.holder;
    switch (request.kind) {
    case CaptureRequest::Kind::Lookup: return LookupAnswerAt(store, cache.addresses.Find(request.url));
    case CaptureRequest::Kind::Search: return SearchAnswer(store, request);
    default: return CategoriesAnswer(store);
    }
}

std::string Answer(const std::string& message, const CaptureRequest& request, const HostEnvironment& env,
                   ReadCache& cache)
{
    if (request.kind == CaptureRequest::Kind::Hello)
        return HelloAnswer(env.version, env.dataPath, env.windowOpen());
    // The open window holds the newest links, and only it may change them.
    if (env.windowOpen()) {
        std::string answer;
        if (env.askWindow && env.askWindow(message, answer)) return answer;
        // A window that closed meanwhile has saved; one still open did not answer.
        if (env.windowOpen())
            return ErrorAnswer(request.Changes() ? "Norvelle did not answer. The link was not saved."
                                                 : "Norvelle did not answer.");
    }
    if (!request.Changes()) return Read(request, env, cache);
    cache.valid = false;
    CommandStore holder;
    LinkStore& store = *holder;
    std::ostringstream problems;
    // Held from the read to the write: no other writer's links can come in between.
    WriterTurn turn;
    if (!TakeWriterTurn(env.dataPath, turn, problems)) return ErrorAnswer(OneLine(problems));
    DiskStamp version;
    if (ReadWholeDataFile(env.dataPath, store, true, problems, &version) != kExitOk)
        return ErrorAnswer(OneLine(problems));
    const bool existed = PathExists(env.dataPath);
    const CLinkDate now = NowDate(env.clock);
    int row = -1;
    bool added = false;
    if (request.kind == CaptureRequest::Kind::Add) {
        if (!AddCaptured(store, request, now, row, added)) return ErrorAnswer(kOutOfMemoryMessage);
        if (!added) return StoredAnswer(store, row, false);
    } else if (!UpdateCaptured(store, request, now, row)) {
        return ErrorAnswer("That address is not in the collection.");
    }
    // The first link of a person who never opened the window: its folder is made as the window makes it.
    if (!existed) MakeFolders(ParentFolder(env.dataPath));
    WritePolicy policy;
    policy.dataFile = true;
    policy.target = existed ? TargetRead::Whole : TargetRead::NotRead;
    policy.expected = version;
    if (!WriteOutputFile(env.dataPath, policy, false, "Could not save annotated links into \"%.259s\".",
                         [&](ByteSink& sink) { return WriteDataFile(store, sink); }, problems,
                         "The link was not saved."))
        return ErrorAnswer(OneLine(problems));
    return StoredAnswer(store, row, added);
}

}  // namespace

int RunHost(std::istream& in, std::ostream& out, const HostEnvironment& environment)
{
    std::string message;
    ReadCache cache;
    for (;;) {
        std::string answer;
        switch (ReadFrame(in, message)) {
        case FrameRead::End: return 0;
        case FrameRead::Cut: return 1;
        case FrameRead::TooLarge: answer = ErrorAnswer("The message is larger than 4 MiB."); break;
        case FrameRead::Ok: {
            CaptureRequest request;
            std::string error;
            answer = ParseCaptureRequest(message, request, error) ? Answer(message, request, environment, cache) : ErrorAnswer(error);
            break;
        }
        }
        if (answer.size() > kMaxAnswerBytes) answer = ErrorAnswer("The answer would be larger than 1 MB.");
        if (!WriteFrame(out, answer)) return 1;
    }
}
