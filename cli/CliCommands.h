#pragma once
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "health/LinkCheck.h"
#include "import/LinkExport.h"
#include "import/LinkIntake.h"

class LinkStore;

// A store for a command's records. In norvelle-cli itself it is left for the end of the
// process, which frees it all at once (freeing a large collection record by record took a
// quarter of a command's time); in tests and fuzzing it goes with its holder.
class CommandStore {
public:
    CommandStore();
    ~CommandStore();
    CommandStore(const CommandStore&) = delete;
    CommandStore& operator=(const CommandStore&) = delete;
    LinkStore& operator*() const { return *m_store; }
    // Called once by norvelle-cli's main.
    static void LeaveToProcessEnd();

private:
    LinkStore* m_store;
};

// Exit codes shared by the commands.
enum CliExit { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitRefused = 3 };

class ByteSink;
class FileSource;
class WriterTurn;
struct DiskStamp;
class LinkStore;
struct WritePolicy;
// Opens a data file for reading, saying so on err when it cannot. A save of it that was
// cut off is first put right (the message goes to err).
bool OpenDataFile(const std::string& dataFile, FileSource& source, std::ostream& err);
// Reads a data file whole into store, reporting why it cannot; kExitOk when it did. A
// missing file leaves the store empty when mayBeMissing.
// stamp, when given, gets the version that was read, for the write back to check.
int ReadWholeDataFile(const std::string& dataFile, LinkStore& store, bool mayBeMissing, std::ostream& err,
                      DiskStamp* stamp = nullptr);
// Takes the writer turn of a data file that a command reads and then writes back, held
// until turn ends; says why on err when another writer kept it too long.
bool TakeWriterTurn(const std::string& dataFile, WriterTurn& turn, std::ostream& err);

// Writes a file of the person's through the guarded path, reporting on err when it does
// not: failure (with "%.259s" for the path), the reason, then consequence. A file holding
// links that the command did not read is replaced only with replace (--replace) or after
// a Yes on a terminal.
bool WriteOutputFile(const std::string& target, WritePolicy policy, bool replace, const char* failure,
                     const std::function<bool(ByteSink&)>& produce, std::ostream& err,
                     const std::string& consequence = {});

int DumpCommand(const std::string& dataFile, std::ostream& out, std::ostream& err);
int BuildCommand(const std::string& jsonFile, const std::string& dataFile, std::ostream& err, bool replace = false);

struct SearchOptions;
// Prints the rows that match, then "N of M links match".
int SearchCommand(const std::string& dataFile, const std::string& pattern, const SearchOptions& options,
                  bool positionOnLast, std::ostream& out, std::ostream& err);

// Converts each title (or each line of in when none is given) to title case.
int TitleCaseCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// Prints TOTAL, NO CATEGORY and each category of the file with its count.
int StatsCommand(const std::string& dataFile, std::ostream& out, std::ostream& err);

struct SortKey;
// "added:desc,title": at most five distinct columns; false with the problem otherwise.
bool ParseSortKeys(const std::string& text, std::vector<SortKey>& keys, std::string& problem);
// Sorts the file by the keys and writes it to output (or back) once it was read whole.
int SortCommand(const std::string& dataFile, const std::vector<SortKey>& keys, const std::string& output,
                std::ostream& err, bool replace = false);

// Appends the links of a bookmark file or a browser's store to a data file (made when
// missing), saving once.
int ImportBookmarksCommand(const std::string& bookmarks, const std::string& dataFile, bool yes, std::ostream& out,
                           std::ostream& err, IntakeOptions options = {});
// Lists the browser profiles found under home, one a line: browser, profile, store, links.
int BrowsersCommand(const std::string& home, std::ostream& out, std::ostream& err);
// Writes or takes away the browsers' manifests for norvelle-host in programFolder.
int BrowserHostCommand(bool install, const std::string& home, const std::string& programFolder, std::ostream& out,
                       std::ostream& err);
// Writes every link of a data file as a standard bookmark file.
int ExportBookmarksCommand(const std::string& dataFile, const std::string& bookmarks, ExportFormat format, std::ostream& out,
                           std::ostream& err, bool replace = false);
// Lists the files below root whose names match the finder pattern.
int FindBookmarksCommand(const std::string& root, const std::string& pattern, bool typos, std::ostream& out,
                         std::ostream& err);

// Checks every link of a data file and prints one line per link in row order: the row,
// the state, the status code, the final address and the title, tab-separated.
// With archived, each dead link's line ends with the address of its archived copy ("none"
// when the service has none, "unknown" when it could not say, with why on err); with
// useArchivedOutput, a data file with those addresses applied is written there.
struct ArchiveOptions {
    bool archived = false;
    std::string useArchivedOutput;
    std::string service = "https://archive.org";
    bool replace = false;
};
int CheckCommand(const std::string& dataFile, const CLinkChecker::Options& options, std::ostream& out,
                 std::ostream& err, const ArchiveOptions& archive = {});
// Prints each group of links that point to the same place, one paragraph per group, the
// copies that Find Duplicates would select marked '*'.
int DuplicatesCommand(const std::string& dataFile, std::ostream& out, std::ostream& err);
// Writes the union of two data files to output and says how many links came from where.
int MergeCommand(const std::string& first, const std::string& second, const std::string& output, std::ostream& out,
                 std::ostream& err, bool replace = false);
