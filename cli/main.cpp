// norvelle-cli: inspect, repair and script a Norvelle data file from the command line.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "cli/CliCommands.h"

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

  build JSON_FILE DATA_FILE
      Writes DATA_FILE (version 2) from JSON in the form that dump prints. A
      "...Bytes" or "valueBits" field takes precedence over its plain twin, so
      dump followed by build reproduces a version 2 data file byte for byte.
      The data file is replaced only once it has been written whole.
      Exit status: 0 on success; 1 when writing fails; 2 for bad usage or bad
      JSON (the message names what is wrong; nothing is written then).

Options:
  -h, --help    Show this help.
)";

int Usage(const char* problem)
{
    std::cerr << "norvelle-cli: " << problem << "\nTry 'norvelle-cli --help'.\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage("no command given");
    if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
        std::cout << kHelp;
        return kExitOk;
    }
    if (args[0] == "dump") {
        if (args.size() != 2) return Usage("dump takes one data file");
        std::ios::sync_with_stdio(false);
        return DumpCommand(args[1], std::cout, std::cerr);
    }
    if (args[0] == "build") {
        if (args.size() != 3) return Usage("build takes a JSON file and a data file");
        return BuildCommand(args[1], args[2], std::cerr);
    }
    return Usage(("unknown command \"" + args[0] + "\"").c_str());
}
