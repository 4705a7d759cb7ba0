#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "capture/CaptureRequests.h"
#include "capture/HostManifests.h"
#include "bench/DataGen.h"
#include "capture/NativeMessaging.h"
#include "cli/CliCommands.h"
#include "host/HostSession.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "store/LinkStore.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempFolder.h"

using nlohmann::json;

namespace {

std::string Frame(std::string_view message)
{
    const auto length = uint32_t(message.size());
    std::string frame(4, '\0');
    std::memcpy(frame.data(), &length, 4);
    return frame + std::string(message);
}

std::vector<json> Answers(const std::string& out)
{
    std::istringstream in(out);
    std::vector<json> answers;
    std::string message;
    while (ReadFrame(in, message) == FrameRead::Ok) answers.push_back(json::parse(message));
    return answers;
}

// The host over a data file in a folder of its own, with or without a window on it.
struct Host {
    TempFolder folder;
    std::string dataPath = (folder.path / "links.dat").string();
    FixedClock clock{LocalTime{2026, 12, 8, 10, 0, 0}};
    bool windowOpen = false;
    // The window's side of the connection: its answer, or none (it did not answer).
    std::function<bool(const std::string&, std::string&)> window;
    std::vector<std::string> handedOver;

    std::vector<json> Run(const std::vector<json>& messages, int* exit = nullptr)
    {
        std::string input;
        for (const json& message : messages) input += Frame(message.dump());
        std::istringstream in(input);
        std::ostringstream out;
        HostEnvironment environment{dataPath, [this] { return windowOpen; },
                                    [this](const std::string& message, std::string& answer) {
                                        handedOver.push_back(message);
                                        return window && window(message, answer);
                                    },
                                    "2.0", clock};
        const int code = RunHost(in, out, environment);
        if (exit) *exit = code;
        return Answers(out.str());
    }
    json One(const json& message) { return Run({message}).at(0); }
    std::vector<std::string> Titles()
    {
        CommandStore holder;
        std::ostringstream err;
        EXPECT_EQ(ReadWholeDataFile(dataPath, *holder, true, err), kExitOk);
        std::vector<std::string> titles;
        for (int row = 0; row < (*holder).Count(); ++row) titles.emplace_back((*holder).At(row).Title());
        return titles;
    }
};

}  // namespace

TEST(NativeMessaging, FramesAreReadWholeOrReportedAndNeverOverTheirLimits)
{
    struct Case {
        std::string input;
        size_t limit;
        std::vector<FrameRead> reads;
    } cases[] = {
        {"", 100, {FrameRead::End}},
        {std::string("\x05\0", 2), 100, {FrameRead::Cut}},                  // a cut length
        {Frame("{\"a\":1}").substr(0, 8), 100, {FrameRead::Cut}},          // a cut message
        {Frame("{}") + Frame("[]"), 100, {FrameRead::Ok, FrameRead::Ok, FrameRead::End}},
        {Frame(std::string(200, 'x')) + Frame("{}"), 100, {FrameRead::TooLarge, FrameRead::Ok, FrameRead::End}},
        {Frame(std::string(200, 'x')).substr(0, 50), 100, {FrameRead::Cut}},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        std::string message;
        for (FrameRead expected : c.reads) EXPECT_EQ(ReadFrame(in, message, c.limit), expected) << c.input.size();
        EXPECT_LE(message.size(), c.limit);
    }
    std::ostringstream out;
    EXPECT_TRUE(WriteFrame(out, "{\"ok\":true}"));
    EXPECT_EQ(out.str(), Frame("{\"ok\":true}"));
    EXPECT_FALSE(WriteFrame(out, std::string(kMaxAnswerBytes + 1, ' ')));  // a browser would drop it
    EXPECT_EQ(out.str(), Frame("{\"ok\":true}"));
}

TEST(Host, BadMessagesGetAPlainAnswerAndChangeNothing)
{
    Host host;
    const std::string big(kMaxFieldBytes + 1, 'a');
    struct Case {
        std::string message;
        const char* error;
    } cases[] = {
        {"{\"type\": \"add\", \"url\": \"https://a.example/\"", "not a JSON object"},
        {"[1, 2]", "not a JSON object"},
        {std::string("{\"type\": \"add\", \"url\": \"https://a.example/\xff\"}"), "not UTF-8"},
        {"{\"url\": \"https://a.example/\"}", "no \"type\""},
        {"{\"type\": \"delete\", \"url\": \"https://a.example/\"}", "Unknown message"},
        {"{\"type\": \"add\"}", "no address"},
        {"{\"type\": \"add\", \"url\": \"  \"}", "no address"},
        {"{\"type\": \"add\", \"url\": \"https://a.example/\\u0000x\"}", "NUL"},
        {"{\"type\": \"add\", \"url\": \"https://a.example/\\nx\"}", "control characters"},
        {"{\"type\": \"add\", \"url\": \"https://a.example/\", \"title\": 5}", "must be a text"},
        {"{\"type\": \"add\", \"url\": \"https://a.example/\", \"title\": \"" + big + "\"}", "longer than 1 MiB"},
        {"{\"type\": \"search\", \"query\": \"a\", \"offset\": -1}", "offset"},
    };
    for (const Case& c : cases) {
        std::istringstream in(Frame(c.message));
        std::ostringstream out;
        HostEnvironment environment{host.dataPath, [] { return false; }, {}, "2.0", host.clock};
        EXPECT_EQ(RunHost(in, out, environment), 0);
        const std::vector<json> answers = Answers(out.str());
        ASSERT_EQ(answers.size(), 1u) << c.message.substr(0, 60);
        EXPECT_FALSE(answers[0]["ok"].get<bool>());
        EXPECT_NE(answers[0]["error"].get<std::string>().find(c.error), std::string::npos)
            << answers[0]["error"] << " for " << c.message.substr(0, 60);
    }
    // A frame over the host's limit is answered and skipped; the next one is read.
    std::istringstream in(Frame(std::string(kMaxMessageBytes + 1, ' ')) + Frame("{\"type\": \"hello\"}"));
    std::ostringstream out;
    HostEnvironment environment{host.dataPath, [] { return false; }, {}, "2.0", host.clock};
    EXPECT_EQ(RunHost(in, out, environment), 0);
    const std::vector<json> answers = Answers(out.str());
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0]["error"], "The message is larger than 4 MiB.");
    EXPECT_TRUE(answers[1]["ok"].get<bool>());
    EXPECT_FALSE(std::filesystem::exists(host.dataPath));
    // A cut frame ends the host with 1.
    std::istringstream cut(Frame("{\"type\": \"hello\"}").substr(0, 9));
    EXPECT_EQ(RunHost(cut, out, environment), 1);
}

TEST(Host, AddLookupUpdateAndCategoriesGoThroughTheDataFile)
{
    Host host;
    EXPECT_EQ(host.One({{"type", "hello"}})["dataFile"], host.dataPath);
    json added = host.One({{"type", "add"},
                           {"url", "https://www.example.com/page/"},
                           {"title", " A Page "},
                           {"description", "the selected text"},
                           {"category", "Reading"}});
    EXPECT_TRUE(added["added"].get<bool>());
    EXPECT_EQ(added["link"]["title"], "A Page");
    EXPECT_EQ(host.Titles(), std::vector<std::string>{"A Page"});

    // The same address by Find Duplicates' rule, however it is spelt.
    for (const char* spelling : {"https://www.example.com/page/", "http://example.com/page", "HTTPS://EXAMPLE.COM/page/"}) {
        const json found = host.One({{"type", "lookup"}, {"url", spelling}});
        EXPECT_TRUE(found["found"].get<bool>()) << spelling;
        EXPECT_EQ(found["link"]["category"], "Reading") << spelling;
    }
    EXPECT_FALSE(host.One({{"type", "lookup"}, {"url", "https://example.com/other"}})["found"].get<bool>());
    const json again = host.One({{"type", "add"}, {"url", "http://example.com/page"}, {"title", "Twice"}});
    EXPECT_FALSE(again["added"].get<bool>());
    EXPECT_EQ(host.Titles(), std::vector<std::string>{"A Page"});

    const json updated = host.One({{"type", "update"}, {"url", "http://example.com/page"}, {"title", "Renamed"}, {"category", "Later"}});
    EXPECT_TRUE(updated["ok"].get<bool>());
    EXPECT_EQ(host.Titles(), std::vector<std::string>{"Renamed"});
    EXPECT_EQ(host.One({{"type", "update"}, {"url", "https://nowhere.example/"}})["error"],
              "That address is not in the collection.");
    EXPECT_EQ(host.One({{"type", "categories"}})["categories"], (json{"Later", "Reading"}));
    const json found = host.One({{"type", "search"}, {"query", "renamd"}, {"typos", true}});
    ASSERT_EQ(found["links"].size(), 1u);
    EXPECT_EQ(found["links"][0]["title"], "Renamed");
    EXPECT_TRUE(host.One({{"type", "search"}, {"query", "renamd"}})["links"].empty());

    // With a window on the file, the window answers every message but hello, and the host
    // writes nothing itself; a window that does not answer is said so.
    host.windowOpen = true;
    host.window = [](const std::string&, std::string& answer) {
        answer = R"({"ok":true,"added":true,"from":"window"})";
        return true;
    };
    const json add = json{{"type", "add"}, {"url", "https://example.org/"}, {"title", "New"}};
    EXPECT_EQ(host.One(add)["from"], "window");
    EXPECT_EQ(json::parse(host.handedOver.back()), add);
    EXPECT_FALSE(host.One({{"type", "hello"}}).contains("from"));
    host.window = nullptr;
    EXPECT_EQ(host.One(add)["error"], "Norvelle did not answer. The link was not saved.");
    EXPECT_EQ(host.One({{"type", "lookup"}, {"url", "http://example.com/page"}})["error"], "Norvelle did not answer.");
    EXPECT_EQ(host.Titles(), std::vector<std::string>{"Renamed"});
    // A window that closed while it was asked has saved its links: the host adds to the file.
    host.window = [&host](const std::string&, std::string&) { return host.windowOpen = false; };
    EXPECT_TRUE(host.One(add)["added"].get<bool>());
    EXPECT_EQ(host.Titles(), (std::vector<std::string>{"Renamed", "New"}));
}

TEST(Host, SearchPagesStayUnderTheBrowsersLimitAndCoverEveryMatch)
{
    LinkStore store;
    const std::string longTitle = "nebula " + std::string(5000, 't');
    for (int i = 0; i < 100000; ++i)
        ASSERT_TRUE(store.InsertLink(i, i % 2 ? longTitle : "other", "https://example.com/" + std::to_string(i), "", "",
                                     CLinkDate{}, CLinkDate{}));
    CaptureRequest request;
    request.kind = CaptureRequest::Kind::Search;
    request.query = "nebula";
    int matches = 0;
    for (int pages = 0; request.offset >= 0; ++pages) {
        ASSERT_LT(pages, 1000);
        const std::string answer = SearchAnswer(store, request);
        EXPECT_LT(answer.size(), kMaxAnswerBytes);
        const json page = json::parse(answer);
        matches += int(page["links"].size());
        request.offset = page["next"].get<int>();
    }
    EXPECT_EQ(matches, 50000);
}

// The browsers' manifests, written into a fake home for each system: only for browsers
// that are there, each family allowing exactly our extension, and taken away again.
TEST(HostManifests, WrittenWhereEachBrowserLooksAndRemoved)
{
    struct FakeRegistry : HostRegistry {
        std::map<std::string, std::string> keys;
        bool SetDefaultValue(const std::string& key, const std::string& value) override { return keys[key] = value, true; }
        bool RemoveKey(const std::string& key) override { return keys.erase(key), true; }
    };
    const struct {
        HostSystem system;
        std::vector<std::string> browserFolders;
        std::vector<std::string> manifests;  // below home
        std::vector<std::string> registryKeys;
    } cases[] = {
        {HostSystem::Linux, {".config/chromium", ".mozilla"},
         {".config/chromium/NativeMessagingHosts/com.quenbysoftware.norvelle.json",
          ".mozilla/native-messaging-hosts/com.quenbysoftware.norvelle.json"}, {}},
        {HostSystem::MacOS, {"Library/Application Support/Google/Chrome"},
         {"Library/Application Support/Google/Chrome/NativeMessagingHosts/com.quenbysoftware.norvelle.json"}, {}},
        {HostSystem::Windows, {"AppData/Local/Microsoft/Edge", "AppData/Roaming/Mozilla"},
         {"AppData/Local/Norvelle/NativeMessagingHosts/chromium-com.quenbysoftware.norvelle.json",
          "AppData/Local/Norvelle/NativeMessagingHosts/firefox-com.quenbysoftware.norvelle.json"},
         {"Software\\Microsoft\\Edge\\NativeMessagingHosts\\com.quenbysoftware.norvelle",
          "Software\\Mozilla\\NativeMessagingHosts\\com.quenbysoftware.norvelle"}},
    };
    for (const auto& c : cases) {
        TempFolder home;
        const std::string root = home.path.string();
        for (const std::string& folder : c.browserFolders) std::filesystem::create_directories(home.path / folder);
        FakeRegistry registry;
        std::vector<HostManifestPlace> done;
        std::ostringstream err;
        ASSERT_TRUE(InstallHostManifests(root, c.system, "/opt/n/norvelle-host", &registry, done, err)) << err.str();
        ASSERT_EQ(done.size(), c.manifests.size());
        for (size_t i = 0; i < done.size(); ++i) {
            EXPECT_EQ(done[i].file, root + "/" + c.manifests[i]);
            const json manifest = json::parse(std::ifstream(done[i].file));
            EXPECT_EQ(manifest["name"], "com.quenbysoftware.norvelle");
            EXPECT_EQ(manifest["path"], "/opt/n/norvelle-host");
            EXPECT_EQ(manifest["type"], "stdio");
            if (done[i].family == BrowserFamily::Chromium)
                EXPECT_EQ(manifest["allowed_origins"], json{"chrome-extension://hglopfokmcgjijhledkddbpdenfmoicm/"});
            else
                EXPECT_EQ(manifest["allowed_extensions"], json{"norvelle@quenbysoftware.com"});
        }
        std::vector<std::string> keys;
        for (const auto& [key, file] : registry.keys) {
            keys.push_back(key);
            EXPECT_TRUE(std::filesystem::exists(file));
        }
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(keys, c.registryKeys);

        done.clear();
        ASSERT_TRUE(RemoveHostManifests(root, c.system, &registry, done, err));
        EXPECT_EQ(done.size(), c.manifests.size());
        for (const std::string& manifest : c.manifests) EXPECT_FALSE(std::filesystem::exists(home.path / manifest));
        EXPECT_TRUE(registry.keys.empty());
    }
    // No browser: nothing written, and the CLI says so.
    TempFolder empty;
    std::ostringstream out, err;
    EXPECT_EQ(BrowserHostCommand(true, empty.path.string(), NORVELLE_HOST_FOLDER, out, err), kExitFailed);
    EXPECT_NE(err.str().find("no browser"), std::string::npos) << err.str();
}

// One host answers many lookups from the links it read, and reads again whenever the file
// changed: by its own add, or by another program between two messages.
TEST(Host, LookupsFollowEveryChangeOfTheFile)
{
    Host host;
    int asked = 0;
    const json lookupA = {{"type", "lookup"}, {"url", "https://a.example/"}};
    const json lookupB = {{"type", "lookup"}, {"url", "https://b.example/"}};
    // Before the fourth message, another program adds b.example to the file.
    host.window = nullptr;
    std::string input;
    for (const json& message : {lookupA, json{{"type", "add"}, {"url", "https://a.example"}, {"title", "A"}}, lookupA,
                                lookupB, lookupB})
        input += Frame(message.dump());
    std::istringstream in(input);
    std::ostringstream out;
    HostEnvironment environment{host.dataPath,
                                [&] {
                                    if (++asked == 4) {
                                        CommandStore holder;
                                        std::ostringstream err;
                                        EXPECT_EQ(ReadWholeDataFile(host.dataPath, *holder, true, err), kExitOk);
                                        EXPECT_TRUE((*holder).InsertLink(1, "B", "https://b.example/", "", "", {}, {}));
                                        AtomicFileWriter writer(false);
                                        EXPECT_TRUE(writer.Open(host.dataPath) && WriteDataFile(*holder, writer) &&
                                                    writer.Commit());
                                    }
                                    return false;
                                },
                                {}, "2.0", host.clock};
    ASSERT_EQ(RunHost(in, out, environment), 0);
    const std::vector<json> answers = Answers(out.str());
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_FALSE(answers[0]["found"].get<bool>());
    EXPECT_TRUE(answers[1]["added"].get<bool>());
    EXPECT_EQ(answers[2]["link"]["title"], "A");
    EXPECT_EQ(answers[3]["link"]["title"], "B");
    EXPECT_EQ(answers[4]["link"]["row"], 1);
}

// The real host, as a browser starts it, killed at any moment of an add: the data file
// is always whole, with the link or without it, never half written.
TEST(Host, KilledDuringItsWriteLeavesTheFileWhole)
{
    TempFolder home;
    const std::string dataPath = (home.path / "Documents" / "Norvelle.dat").string();
    std::filesystem::create_directories(home.path / "Documents");
    std::filesystem::create_directories(home.path / "run");
    {
        LinkStore store;
        GenerateLinks(store, 20000);
        AtomicFileWriter writer(false);
        ASSERT_TRUE(writer.Open(dataPath) && WriteDataFile(store, writer) && writer.Commit());
    }
    const std::string host = std::string(NORVELLE_HOST_FOLDER) + "/norvelle-host";
    const std::string homeVariable = "HOME=" + home.path.string();
    const std::string runtimeVariable = "XDG_RUNTIME_DIR=" + (home.path / "run").string();
    const std::string configVariable = "XDG_CONFIG_HOME=" + (home.path / ".config").string();
    std::mt19937 random(7);
    int count = 20000, withLink = 0;
    for (int i = 0; i < 12; ++i) {
        int input[2];
        ASSERT_EQ(pipe(input), 0);
        const pid_t child = fork();
        if (child == 0) {
            dup2(input[0], 0);
            close(input[1]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            char* const argv[] = {const_cast<char*>(host.c_str()), nullptr};
            char* const envp[] = {const_cast<char*>(homeVariable.c_str()), const_cast<char*>(runtimeVariable.c_str()),
                                  const_cast<char*>(configVariable.c_str()), const_cast<char*>("QT_QPA_PLATFORM=offscreen"),
                                  nullptr};
            execve(host.c_str(), argv, envp);
            _exit(127);
        }
        close(input[0]);
        const std::string frame =
            Frame(json{{"type", "add"}, {"url", "https://killed.example/" + std::to_string(i)}, {"title", "K"}}.dump());
        ASSERT_EQ(write(input[1], frame.data(), frame.size()), ssize_t(frame.size()));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 120000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(input[1]);
        CommandStore holder;
        std::ostringstream err;
        ASSERT_EQ(ReadWholeDataFile(dataPath, *holder, false, err), kExitOk) << err.str();
        const int now = (*holder).Count();
        EXPECT_TRUE(now == count || now == count + 1) << now << " links after " << count;
        withLink += now - count;
        count = now;
    }
    // The kills fell both before and after the replace (how many of each depends on the machine).
    std::printf("%d of 12 adds reached the file before the kill\n", withLink);
}
