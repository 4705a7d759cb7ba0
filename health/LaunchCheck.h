#pragma once
#include <string>
#include <string_view>

// What opening a link would do, decided before anything is handed to the system: links
// come from other people's files, and what opens must be what the person sees.
struct LaunchCheck {
    enum class Verdict {
        Open,    // a web address, a mail address, a document or a folder
        Ask,     // it starts a program: only on the person's Yes (No is the default)
        Refuse,  // it cannot be opened as shown; message says why
    };
    Verdict verdict = Verdict::Open;
    std::string target;   // what is handed to the system: the link, or the file's full path
    std::string message;  // the question (Ask) or the refusal (Refuse)
};

// link: as stored (trimmed). A relative file name is taken from dataFolder, the folder
// of the data file, not from wherever the program was started.
LaunchCheck CheckLaunch(const std::string& link, const std::string& dataFolder);

// The text with every control character and every invisible format character (right-to-
// left overrides, zero-width spaces, byte-order marks...) written out as "<U+202E>", so
// that "Holiday\u202Efdp.sh" cannot pass for a PDF.
std::string VisibleText(std::string_view utf8);

// The longest link the system is handed, in bytes.
size_t LongestLaunchableLink();
