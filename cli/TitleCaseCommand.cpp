// norvelle-cli titlecase: the Title Case command of the window, for titles given on the
// command line or read line by line from standard input.
#include <iostream>

#include "cli/CliCommands.h"
#include "titlecase/TitleCaser.h"

int TitleCaseCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    CTitleCaser caser;
    std::vector<std::string> titles;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--exceptions") {
            if (++i >= args.size()) {
                err << "norvelle-cli: --exceptions needs a comma-separated list of words\n";
                return kExitUsage;
            }
            std::vector<std::string> words;
            std::string list = args[i] + ",";
            for (size_t start = 0, comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1)
                words.push_back(list.substr(start, comma - start));
            caser.SetExceptions(words);
        } else if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0) {
            err << "norvelle-cli: unknown option \"" << args[i] << "\"\n";
            return kExitUsage;
        } else {
            titles.push_back(args[i]);
        }
    }
    auto print = [&](std::string title) {
        caser.Convert(title);
        out << title << '\n';
    };
    if (!titles.empty()) {
        for (const auto& title : titles) print(title);
    } else {
        for (std::string line; std::getline(in, line);) print(line);
    }
    return kExitOk;
}
