// norvelle-cli: inspect, repair and script a Norvelle data file from the command line.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "cli/CliCommands.h"
#include "search/RecordSearch.h"
#include "sort/SortKeys.h"

namespace {

const char* const kHelp = R"(Usage: norvelle-cli COMMAND ARGUMENTS

Commands:
  dump FILE
      Reads the data file FILE as the program would load it and prints its
      contents as JSON on standard output:
        {"version": V, "categories": [...], "clearSelection": "...",
         "records": [{"title": "...", "link": "...", "description": "...",
                      "category": "...",
                      "added": {"status": S, "value": D},
                      "modified": {"status": S, "value": D}}, ...]}
      V is the version number stored in the file; D is the date as a number of
      days since 30 December 1899 (the fraction is the time of day); S is 0 for
      a valid date, 1 for an invalid one, 2 for none.
      Texts are UTF-8. A text whose bytes are not valid UTF-8 (a file written
      with an older Windows code page) is shown decoded as Windows-1252 and its
      exact bytes are given beside it in hexadecimal under the same name plus
      "Bytes" ("titleBytes", "clearSelectionBytes"; for a category name the
      entry becomes {"text": "...", "textBytes": "..."}). A date value that is
      not a finite number, or is negative zero, is given as "value": null with
      its 8 bytes in "valueBits" (16 hex digits, most significant first).
      Exit status: 0 when the whole file was read; 1 when reading failed part
      way (what was read is still printed, the error goes to standard error);
      3 when the file has a higher version (message on standard error, {} on
      standard output); 2 for bad usage or a file that cannot be opened.

  build JSON_FILE DATA_FILE [--replace]
      Writes DATA_FILE (version 2) from JSON in the form that dump prints. A
      "...Bytes" or "valueBits" field takes precedence over its plain twin, so
      dump followed by build reproduces a version 2 data file byte for byte.
      The data file is replaced only once it has been written whole. An
      existing DATA_FILE that holds links, or is no data file, is replaced
      only after a Yes on the terminal, or with --replace.
      Exit status: 0 on success; 1 when writing fails or is refused; 2 for bad
      usage or bad JSON (the message names what is wrong; nothing is written
      then).

  search FILE PATTERN [--typos S] [--fields LIST] [--last]
      Finds the links whose fields contain PATTERN, as the Search box does:
      without regard to letter case, a blank matching any run of white space.
      --typos S   forgive typing errors, with the typo separation S (1 to 9:
                  how many characters must match exactly between two typos)
      --fields    which fields to look in, a comma-separated list of title,
                  description, category and link (default: title,description)
      --last      the current match is the last one instead of the first
      Prints one line per matching link in list order: a '*' on the current
      match (a blank on the others), the row number counted from 0, a tab and
      the title; then the line "N of M links match".
      Exit status: 0 when something matched; 1 when nothing did; 2 for bad
      usage or a file that cannot be read.

  stats FILE
      Counts the links of the data file FILE per category, as the Statistics
      window does, and prints one line per row: the name, a tab and the count.
      The rows are TOTAL, NO CATEGORY (links whose category is not exactly a
      name of the category list, letter case included), then each name of the
      category list in its order.
      Exit status: 0 when the whole file was read; 1 when reading failed part
      way (nothing is printed then); 3 when the file has a higher version; 2
      for bad usage or a file that cannot be opened.

  sort FILE --keys KEYS [--output OUT] [--replace]
      Puts the links of FILE in order and writes the file back (or to OUT),
      replacing it only once the new file is complete. An OUT that holds links
      is replaced only after a Yes on the terminal, or with --replace. KEYS is a comma-
      separated list of up to five distinct columns, each optionally followed
      by :asc (the default) or :desc; the columns are title, category,
      description, added and modified. The first key decides first; texts
      are compared without regard to letter case, dates by value. Links that
      are equal on every key keep their order.
      Example: --keys added:desc,title puts the newest links first.
      Exit status: 0 on success; 1 when the file could not be read whole
      (nothing is written then) or the new file could not be written; 3 when
      the file has a higher version (nothing is written); 2 for bad usage,
      bad keys or a file that cannot be opened.

  import SOURCE DATA_FILE [--yes] [--now] [--skip-existing]
      Appends the links of SOURCE to DATA_FILE, which is made when it does
      not exist, as Import Favorites does. SOURCE is told apart by its
      content: the HTML bookmark file that browsers export, a Firefox store
      (places.sqlite), a Chromium store (Bookmarks), or a browser profile
      folder holding one of them, a service's export (Pocket CSV and HTML,
      Pinboard JSON, Raindrop.io CSV, Instapaper CSV, Wallabag JSON, OneTab
      text, XBEL, linkding and Shaarli HTML), or what export writes (xbel,
      markdown, csv, json). A service's file of up to 256 MiB is read
      whole before any link is taken: a broken one imports nothing, and
      the message names the line or entry at fault. Each folder becomes a category
      ("Work|Clients" for Clients inside Work); the Bookmarks Menu of
      Firefox and the Other bookmarks of Chromium are the top level, the
      toolbar or bar is a category of its name. A link keeps its
      description, its tags as the description's last line ("Tags: a, b")
      and the dates the browser saved. A browser's store is read from a
      copy, so the browser may be running; its profile is never changed.
      --now            give the links today's date instead of the saved ones
      --skip-existing  leave out links already in DATA_FILE (the address
                       rule of duplicates)
      Prints "Imported N links." (and how many were skipped) once they are
      saved; when they cannot be, says why and that they were not saved.
      The data file is written once, and only when it was read whole.
      A file that does not begin like a standard bookmark file is refused
      unless --yes is given. Only a plain file is read (not a fifo or a
      device); a browser's store over 2 GiB is refused, and texts are cut
      at 1 MiB. Messages quote files with control characters escaped.
      Exit status: 0 on success; 1 when the file is not a standard bookmark
      file (without --yes), when a browser's store cannot be read, when
      DATA_FILE could not be read whole, or when it could not be written; 3
      when DATA_FILE has a higher version; 2 for bad usage or a file that
      cannot be opened.

  browsers --install-host [HOME]
  browsers --remove-host [HOME]
      Writes (or takes away) the manifest that lets Norvelle's browser
      extension start norvelle-host (the one installed beside norvelle-cli),
      for every browser of the Firefox and Chromium families that has its
      folder in HOME (yours by default), and prints one line per manifest:
      the browser, a tab and the manifest's path. Exits 1 when a manifest
      could not be written or removed, or when --install-host found no
      browser.

  browsers [HOME]
      Lists the browser profiles with bookmarks found in the home folder HOME
      (yours by default), as Import Favorites lists them, one per line: the
      browser, a tab, the profile, a tab, the path of its store (to give to
      import), a tab and its number of links ("unreadable" when the store
      cannot be read). Firefox, Firefox ESR, LibreWolf and Waterfox are
      found through their profiles.ini (also as Snap and Flatpak), Chromium,
      Chrome, Edge, Brave, Vivaldi and Opera through their profile folders.
      A profiles.ini that is not a plain file of at most 1 MiB is not read
      (its profile folders are still found), and standard error says so.
      Exit status: 0 when a profile was found; 1 when none was.

  export DATA_FILE OUT [--format html|xbel|markdown|csv|json] [--replace]
      Writes every link of DATA_FILE into OUT. html (the default, and for
      an OUT ending in .html) is the standard bookmark file that browsers
      import: a folder per level of each category, each link with its
      title, its dates and its description. xbel (.xbel) is the XML of KDE
      and Floccus, markdown (.md) a heading per category and a list of
      [title](<link>) with the description under it, csv (.csv) one row a
      link (title,link,category,description,tags,added,modified), json
      (.json) {"norvelle-links": [...]} with the same fields. Every format
      reads back through import with the same links, categories,
      descriptions, tags and dates. Prints "Exported N links." (on standard
      error when OUT is /dev/stdout). OUT is never DATA_FILE itself, and a
      data file with links only with --replace.
      With no links in DATA_FILE, says "There are no links to export." on
      standard error and writes nothing.
      Exit status: 0 on success; 1 when DATA_FILE could not be read whole,
      holds no links or BOOKMARKS could not be written; 3 for a higher version; 2 for bad usage
      or a file that cannot be opened.

  find ROOT PATTERN [--typos]
      Lists, one per line, the files below the folder ROOT whose names match
      PATTERN, as the Find button of Import Favorites does: '*' stands for
      any characters, '?' for one, letter case does not matter, and with a
      dot in PATTERN the parts before and after the last dot are matched each
      on their own ("bookmark.htm*"). --typos forgives a wrong, swapped,
      extra or missing character. Browsers' own stores (places.sqlite,
      Bookmarks) are listed whatever the pattern. Links to folders are not
      followed.
      Exit status: 0 when a file was found; 1 when none was; 2 for bad usage,
      a pattern of 256 characters or more, or a ROOT that does not exist.

  titlecase [--exceptions WORDS] [TITLE...]
      Prints each TITLE converted to title case, one per line, as the Title
      Case command of the window converts titles: every word capitalized
      except the exception words, which take their listed letter case; the
      first word, the last word and the first word after a colon always
      capitalized; words with two or more capitals (IBM, McDonald) kept. With
      no TITLE, converts each line of standard input.
      --exceptions WORDS   a comma-separated list of exception words that
                           replaces the default one (a, an, the, and, but,
                           for, nor, or, as, at, by, down, from, in, into,
                           near, of, off, on, onto, out, over, to, up, upon,
                           with, vs, via)
      Exit status: 0; 2 for bad usage.

  check FILE [--jobs N] [--timeout S] [--archived]
        [--use-archived --output OUT [--replace]] [--archive-service URL]
      Checks every link of the data file FILE, as Check Links does, and prints
      one line per link in row order, tab-separated: the row number counted
      from 0, the state, the HTTP status code ("-" when there was none), the
      final address ("-" when there was no redirect) and the title.
      Web links (http, https) are asked for their first bytes, redirects are
      followed up to 10 times. The states are: OK; moved permanently (the
      final address is the new one); not found (404, 410); refused or
      forbidden (401, 403, 429); server error (5xx); no such host; timed
      out; could not connect; other (with the status code or what went
      wrong). Links to files on this machine are exists, missing or not
      readable (a file is never read). Other links (mailto:, ftp:, a file on
      another machine) are not checked. A user name and password in an
      address are never printed.
      --jobs N      check N links at a time (1 to 64, default 6); never more
                    than 2 to one host at once
      --timeout S   give up on an answer after S seconds (default 15)
      --archived    asks the Internet Archive's Wayback Machine for each dead
                    link (not found, no such host, refused, could not
                    connect, timed out): its address and the day it was
                    added are sent to URL/wayback/available, with the same
                    limits as the check. The lines are printed once every
                    answer is in, each dead link's line ending with a tab
                    and the address of the copy nearest that day, "none"
                    when there is none, or "unknown" when the service could
                    not say (why goes to standard error).
      --use-archived --output OUT
                    as --archived, and writes OUT: FILE with every dead link
                    that has a copy given the copy's address, its old
                    address kept as the description's line "Original link:
                    ..." (above a last "Tags: " line). FILE itself is never
                    written; OUT with links only with --replace. Standard
                    error says "Used the archived copies of N links."
      --archive-service URL
                    the service asked (default https://archive.org)
      Exit status: 0 when every checked link was OK (or an existing file); 1
      otherwise, or when FILE could not be read whole; 3 for a higher
      version; 2 for bad usage or a file that cannot be opened.

  duplicates FILE
      Prints the groups of links of FILE that point to the same place, one
      group per paragraph, one line per link: a '*' on every copy but the
      oldest (by date added), the row number, a tab, the title, a tab and the
      link. Addresses are compared with http and https alike, the host in
      lower case without "www.", the default port left out, an empty path and
      "/" alike, a trailing "/" ignored, the query's parameters sorted and
      tracking parameters (utm_*, fbclid, gclid, mc_cid, mc_eid, yclid,
      _hsenc, _hsmi) left out, escapes of letters and digits decoded; the part
      after '#' counts. Files on this machine are compared by their full
      path, "." and ".." resolved.
      Exit status: 0 when there are no duplicates; 1 when there are some, or
      when FILE could not be read whole; 3 for a higher version; 2 for bad
      usage or a file that cannot be opened.

  merge A.dat B.dat OUT.dat [--replace]
      Writes OUT.dat with the links of both data files, as when a sync tool
      left a conflicted copy of your data file: every link of A.dat in its
      order, then those of B.dat that A.dat does not have. A link is the same
      in both when its title, link, description, category and both dates
      are; a link kept twice in one file on purpose stays twice. The
      categories of both files are kept. OUT.dat is replaced only once it is
      written whole; A.dat and B.dat are not changed. Prints how many links
      were only in A.dat, only in B.dat and in both. OUT.dat is never A.dat
      or B.dat, and an OUT.dat that holds links is replaced only after a Yes
      on the terminal, or with --replace.
      Exit status: 0 on success; 1 when a file could not be read whole
      (nothing is written then) or OUT.dat could not be written; 3 for a
      higher version; 2 for bad usage or a file that cannot be opened.

Files written:
  A file that a command writes is replaced only once the new one is complete
  and on the disk. A command never writes over a file it reads from, nor over
  a folder; a device, a pipe or a terminal (/dev/stdout) is written into as a
  stream. Where the folder lets no new file be made but the file itself may
  be written, the file is written in place after a copy of the new content
  has been kept in ~/.local/state/norvelle/recovery; a write cut off there is
  put right the next time the file is read, and the message says so.

Output:
  When standard output cannot be written (a full disk, a closed pipe), a
  command says so on standard error and exits 1 rather than 0.
  check, search, duplicates, find and stats print each text of a link (a
  title, an address, a category, a file name) on one line: a control
  character is written as an escape (\n, \r, \t, \0, \x1b) and a character
  that turns text around as \u202e, so that no title can add a line or hide
  what stands beside it. JSON (dump) keeps its own escapes.

Options:
  -h, --help    Show this help.
)";

int Usage(const char* problem)
{
    std::cerr << "norvelle-cli: " << problem << "\nTry 'norvelle-cli --help'.\n";
    return kExitUsage;
}

}  // namespace

int Search(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    SearchOptions options;
    bool last = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--last") {
            last = true;
        } else if (a == "--typos") {
            if (++i >= args.size()) return Usage("--typos needs a separation from 1 to 9");
            const std::string& s = args[i];
            if (s.size() != 1 || s[0] < '1' || s[0] > '9') return Usage("--typos needs a separation from 1 to 9");
            options.allowTypos = true;
            options.separation = s[0] - '0';
        } else if (a == "--fields") {
            if (++i >= args.size()) return Usage("--fields needs a list of fields");
            options.title = options.description = options.category = options.link = false;
            std::string list = args[i] + ",";
            for (size_t start = 0, comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1) {
                std::string field = list.substr(start, comma - start);
                if (field == "title") options.title = true;
                else if (field == "description") options.description = true;
                else if (field == "category") options.category = true;
                else if (field == "link") options.link = true;
                else return Usage(("unknown field \"" + field + "\"").c_str());
            }
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            return Usage(("unknown option \"" + a + "\"").c_str());
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return Usage("search takes a data file and a pattern");
    std::ios::sync_with_stdio(false);
    return SearchCommand(positional[0], positional[1], options, last, std::cout, std::cerr);
}

int Sort(const std::vector<std::string>& args, bool replace)
{
    std::string file, keysText, output;
    bool haveKeys = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--keys" || args[i] == "--output") {
            if (i + 1 >= args.size()) return Usage((args[i] + " needs a value").c_str());
            (args[i] == "--keys" ? keysText : output) = args[i + 1];
            haveKeys = haveKeys || args[i] == "--keys";
            ++i;
        } else if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0) {
            return Usage(("unknown option \"" + args[i] + "\"").c_str());
        } else if (file.empty()) {
            file = args[i];
        } else {
            return Usage("sort takes one data file");
        }
    }
    if (file.empty() || !haveKeys) return Usage("sort takes a data file and --keys");
    std::vector<SortKey> keys;
    std::string problem;
    if (!ParseSortKeys(keysText, keys, problem)) return Usage(problem.c_str());
    return SortCommand(file, keys, output, std::cerr, replace);
}

int Check(const std::vector<std::string>& args, bool replace)
{
    std::string file;
    CLinkChecker::Options options;
    ArchiveOptions archive;
    archive.replace = replace;
    bool useArchived = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--archived") {
            archive.archived = true;
        } else if (args[i] == "--use-archived") {
            useArchived = true;
        } else if (args[i] == "--output" || args[i] == "--archive-service") {
            if (i + 1 >= args.size()) return Usage((args[i] + " needs a value").c_str());
            const std::string& value = args[++i];
            if (args[i - 1] == "--output") {
                archive.useArchivedOutput = value;
            } else {
                if (value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0)
                    return Usage("--archive-service needs a web address (http or https)");
                archive.service = value;
            }
        } else if (args[i] == "--jobs" || args[i] == "--timeout") {
            if (i + 1 >= args.size()) return Usage((args[i] + " needs a value").c_str());
            const std::string& value = args[++i];
            char* end = nullptr;
            const double number = std::strtod(value.c_str(), &end);
            if (args[i - 1] == "--jobs") {
                if (value.empty() || *end || number < 1 || number > 64 || number != int(number))
                    return Usage("--jobs needs a number from 1 to 64");
                options.jobs = int(number);
            } else {
                if (value.empty() || *end || !(number > 0 && number <= 3600))
                    return Usage("--timeout needs a number of seconds above 0, at most 3600");
                options.timeoutMs = std::max(1, int(number * 1000));
            }
        } else if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0) {
            return Usage(("unknown option \"" + args[i] + "\"").c_str());
        } else if (file.empty()) {
            file = args[i];
        } else {
            return Usage("check takes one data file");
        }
    }
    if (file.empty()) return Usage("check takes a data file");
    if (useArchived != !archive.useArchivedOutput.empty()) return Usage("--use-archived goes with --output FILE");
    return CheckCommand(file, options, std::cout, std::cerr, archive);
}

// Takes "--replace" out of args; true when it was there.
bool TakeReplace(std::vector<std::string>& args)
{
    auto it = std::find(args.begin() + 1, args.end(), "--replace");
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

// A command's output that could not be written (a full disk, a closed pipe) is a failure,
// not a success with half the output.
int OutputChecked(int code)
{
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed) return code;
    std::cerr << "norvelle-cli: could not write the output: " << std::strerror(errno ? errno : EIO) << '\n';
    return code == kExitOk ? kExitFailed : code;
}

int Run(std::vector<std::string> args, int argc, char** argv);

// The person's home folder, where browsers keep their profiles.
std::string HomeFolder()
{
#ifdef _WIN32
    const char* home = std::getenv("USERPROFILE");
#else
    const char* home = std::getenv("HOME");
#endif
    return home ? home : "";
}

// The folder of this program, where norvelle-host is installed beside it.
std::string ProgramFolder(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path().string();
}

int main(int argc, char** argv)
{
    CommandStore::LeaveToProcessEnd();
    return OutputChecked(Run(std::vector<std::string>(argv + 1, argv + argc), argc, argv));
}

int Run(std::vector<std::string> args, int argc, char** argv)
{
    // Searching needs nothing of Qt; starting it would only cost time.
    if (!args.empty() && args[0] == "search") return Search(args);
    if (!args.empty() && args[0] == "stats") {
        if (args.size() != 2) return Usage("stats takes one data file");
        return StatsCommand(args[1], std::cout, std::cerr);
    }
    const bool replace = !args.empty() && TakeReplace(args);
    if (replace && args[0] != "sort" && args[0] != "export" && args[0] != "merge" && args[0] != "build" &&
        args[0] != "check")
        return Usage("--replace goes with build, check, export, merge and sort");
    if (!args.empty() && args[0] == "sort") return Sort(args, replace);
    if (!args.empty() && args[0] == "import") {
        std::vector<std::string> files;
        bool yes = false;
        IntakeOptions options;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--yes") yes = true;
            else if (args[i] == "--now") options.keepDates = false;
            else if (args[i] == "--skip-existing") options.skipExisting = true;
            else if (args[i].compare(0, 2, "--") == 0) return Usage(("unknown option \"" + args[i] + "\"").c_str());
            else files.push_back(args[i]);
        }
        if (files.size() != 2) return Usage("import takes a bookmark file or a browser's store, and a data file");
        return ImportBookmarksCommand(files[0], files[1], yes, std::cout, std::cerr, options);
    }
    if (!args.empty() && args[0] == "browsers" && args.size() > 1 &&
        (args[1] == "--install-host" || args[1] == "--remove-host")) {
        if (args.size() > 3) return Usage("browsers --install-host and --remove-host take at most a home folder");
        return BrowserHostCommand(args[1] == "--install-host", args.size() == 3 ? args[2] : HomeFolder(),
                                  ProgramFolder(argv[0]), std::cout, std::cerr);
    }
    if (!args.empty() && args[0] == "browsers") {
        if (args.size() > 2) return Usage("browsers takes at most a home folder");
        return BrowsersCommand(args.size() == 2 ? args[1] : HomeFolder(), std::cout, std::cerr);
    }
    if (!args.empty() && args[0] == "export") {
        std::vector<std::string> rest;
        std::string formatName;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--format" && i + 1 < args.size()) formatName = args[++i];
            else rest.push_back(args[i]);
        }
        if (rest.size() != 2) return Usage("export takes a data file and an output file");
        ExportFormat format = ExportFormatOfFileName(rest[1]);
        if (!formatName.empty() && !ExportFormatNamed(formatName, format))
            return Usage("--format is html, xbel, markdown, csv or json");
        return ExportBookmarksCommand(rest[0], rest[1], format, std::cout, std::cerr, replace);
    }
    if (!args.empty() && args[0] == "find") {
        std::vector<std::string> rest;
        bool typos = false;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--typos") typos = true;
            else rest.push_back(args[i]);
        }
        if (rest.size() != 2) return Usage("find takes a folder and a pattern");
        return FindBookmarksCommand(rest[0], rest[1], typos, std::cout, std::cerr);
    }
    if (!args.empty() && args[0] == "titlecase") return TitleCaseCommand(args, std::cin, std::cout, std::cerr);
    QCoreApplication app(argc, argv);
    if (args.empty()) return Usage("no command given");
    if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
        std::cout << kHelp;
        return kExitOk;
    }
    if (args[0] == "check") return Check(args, replace);
    if (args[0] == "merge") {
        if (args.size() != 4) return Usage("merge takes two data files and the file to write");
        return MergeCommand(args[1], args[2], args[3], std::cout, std::cerr, replace);
    }
    if (args[0] == "duplicates") {
        if (args.size() != 2) return Usage("duplicates takes one data file");
        return DuplicatesCommand(args[1], std::cout, std::cerr);
    }
    if (args[0] == "dump") {
        if (args.size() != 2) return Usage("dump takes one data file");
        std::ios::sync_with_stdio(false);
        return DumpCommand(args[1], std::cout, std::cerr);
    }
    if (args[0] == "build") {
        if (args.size() != 3) return Usage("build takes a JSON file and a data file");
        return BuildCommand(args[1], args[2], std::cerr, replace);
    }
    return Usage(("unknown command \"" + args[0] + "\"").c_str());
}
