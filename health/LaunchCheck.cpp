#include "health/LaunchCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <sys/stat.h>
#include <unicode/uchar.h>

#include "health/LinkAddress.h"
#include "store/CaseFold.h"
#include "store/NaturalCompare.h"
#include "store/Utf.h"
#include "platform/Translate.h"

namespace fs = std::filesystem;

namespace {

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

bool IsInvisible(char32_t cp)
{
    if (cp & kNotUtf8) return false;
    if (IsControl(cp)) return true;
    const int type = u_charType(UChar32(cp));
    return type == U_FORMAT_CHAR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

std::string CodeName(char32_t cp)
{
    char name[16];
    std::snprintf(name, sizeof name, "<U+%04X>", unsigned(cp));
    return name;
}

// The scheme of an address ("https"), lower case; empty for a file name ("C:\x", "/x", "x").
std::string SchemeOf(const std::string& link)
{
    AddressParts parts;
    return SplitAddress(link, parts) ? parts.scheme : std::string();
}

// Files that run something when they are opened, rather than show something.
bool IsProgramName(const std::string& name)
{
    // Besides scripts and programs: shortcuts and launchers that name another program
    // (.url, .fileloc, .jnlp, .flatpakref), and files their system runs (.hta, .reg, .scpt).
    static const std::array<const char*, 45> kPrograms = {
        ".desktop", ".sh",       ".bash",  ".zsh",     ".csh",      ".ksh",     ".fish",    ".exe",    ".bat",
        ".cmd",     ".com",      ".lnk",   ".app",     ".jar",      ".py",      ".pyw",     ".pl",     ".rb",
        ".php",     ".ps1",      ".psm1",  ".vbs",     ".vbe",      ".js",      ".jse",     ".wsf",    ".wsh",
        ".msi",     ".scr",      ".pif",   ".appimage", ".run",     ".command", ".jnlp",    ".hta",    ".reg",
        ".url",     ".scpt",     ".terminal", ".fileloc", ".flatpakref", ".webloc", ".inetloc", ".cpl", ".msc"};
    std::string lower = LowerAscii(name);
    // "X.app/" is the program X.app.
    while (!lower.empty() && (lower.back() == '/' || lower.back() == '\\')) lower.pop_back();
    return std::any_of(kPrograms.begin(), kPrograms.end(), [&](const char* extension) {
        const std::string e = extension;
        return lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
    });
}

// A file whose first bytes make it a launcher or a program, whatever its name: a desktop
// entry, an Internet shortcut, a script, or a program of this system.
bool StartsAsProgram(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return false;
    char head[512] = {};
    std::string text(head, std::fread(head, 1, sizeof head, file.get()));
    if (text.rfind("#!", 0) == 0 || text.rfind("\x7F" "ELF", 0) == 0) return true;
    // Past a byte-order mark, blank lines and comments, the first section's name.
    size_t at = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    for (;;) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) ++at;
        if (at >= text.size() || (text[at] != '#' && text[at] != ';')) break;
        at = text.find('\n', at);
    }
    const std::string_view first = std::string_view(text).substr(std::min(at, text.size()));
    return first.starts_with("[Desktop Entry]") || first.starts_with("[InternetShortcut]");
}

bool IsProgramFile(std::string path)
{
    // "X.app/" names the folder X.app, the program.
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    const std::u8string name8 = fs::path(std::u8string(path.begin(), path.end())).filename().u8string();
    if (IsProgramName(std::string(name8.begin(), name8.end()))) return true;
#ifndef _WIN32
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (st.st_mode & 0111) return true;
#endif
    // Where the name does not tell, the content does (a regular file only: a fifo would
    // keep Launch waiting).
    return StartsAsProgram(path);
}

// Whether a mailto: link asks the mail program to attach a file: a parameter named
// "attach" or "attachment", in any case and however its letters are escaped.
bool AttachesAFile(const std::string& link)
{
    const size_t query = link.find('?');
    if (query == std::string::npos) return false;
    for (std::string_view param : SplitView(std::string_view(link).substr(query + 1), '&')) {
        const std::string name = LowerAscii(TrimView(PercentDecoded(param.substr(0, param.find('=')))));
        if (name == "attach" || name == "attachment") return true;
    }
    return false;
}

std::string Shown(const std::string& link)
{
    // Cut as every path in a message is, after the invisible characters are made visible.
    const std::string visible = VisibleText(DisplayUtf8(link));
    return FirstCharacters(visible, 259);
}

LaunchCheck Refuse(std::string message)
{
    LaunchCheck check;
    check.verdict = LaunchCheck::Verdict::Refuse;
    check.message = std::move(message);
    return check;
}

}  // namespace

std::string VisibleText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const char32_t cp = NextCodePoint(utf8, i);
        if (IsInvisible(cp))
            out += CodeName(cp);
        else
            out.append(utf8.substr(start, i - start));
    }
    return out;
}

size_t LongestLaunchableLink()
{
#ifdef _WIN32
    return 32767;
#else
    // One argument of a program may be at most 32 pages long on Linux.
    return 131071;
#endif
}

LaunchCheck CheckLaunch(const std::string& link, const std::string& dataFolder)
{
    // A control character cuts the link short on its way to the system, or changes it.
    for (size_t i = 0; i < link.size();) {
        const char32_t cp = NextCodePoint(link, i);
        if (!(cp & kNotUtf8) && IsControl(cp))
            return Refuse(Fill(Tr("Health", "Could not launch \"%1\".  It holds a control character (%2), so what would be "
                                      "opened is not what is shown."),
                               {Shown(link), CodeName(cp)}));
    }
    if (link.size() > LongestLaunchableLink())
        return Refuse(Fill(Tr("Health", "Could not launch \"%1...\".  The link is %2 characters long, and this system "
                                  "opens links of at most %3."),
                           {Shown(link), std::to_string(link.size()), std::to_string(LongestLaunchableLink())}));
    LaunchCheck check;
    check.target = link;
    const std::string scheme = SchemeOf(link);
    if (!scheme.empty() && scheme != "file") {
        static const std::array<const char*, 4> kDocuments = {"http", "https", "ftp", "mailto"};
        // A mail that attaches a file sends that file away: asked as a program is.
        if (scheme == "mailto" && AttachesAFile(link)) {
            check.verdict = LaunchCheck::Verdict::Ask;
            check.message = Fill(Tr("Health", "This link starts a program:  %1  Start it?"), {Shown(link)});
            return check;
        }
        if ( std::find(kDocuments.begin(), kDocuments.end(), scheme) == kDocuments.end()) {
            check.verdict = LaunchCheck::Verdict::Ask;
            check.message = Fill(Tr("Health", "This link starts a program:  %1  Start it?"), {Shown(link)});
        }
        return check;
    }
    // A file: its full name, a relative one taken from the data file's folder.
    std::string path = scheme == "file" ? LocalPathOfLink(link) : link;
    if (path.empty()) {
        // A file on another machine: handed over as written.
        if (IsProgramName(link)) {
            check.verdict = LaunchCheck::Verdict::Ask;
            check.message = Fill(Tr("Health", "This link starts a program:  %1  Start it?"), {Shown(link)});
        }
        return check;
    }
    const fs::path asPath(std::u8string(path.begin(), path.end()));
    if (asPath.is_relative() && !dataFolder.empty()) {
        const std::u8string full =
            (fs::path(std::u8string(dataFolder.begin(), dataFolder.end())) / asPath).lexically_normal().u8string();
        path.assign(full.begin(), full.end());
    }
    check.target = path;
    if (!IsPossibleFileName(path))
        return Refuse(Fill(Tr("Health", "Could not launch \"%1\".  This file was not found."), {Shown(link)}));
    if (IsProgramFile(path)) {
        check.verdict = LaunchCheck::Verdict::Ask;
        check.message = Fill(Tr("Health", "This link starts a program:  %1  Start it?"), {Shown(path)});
    }
    return check;
}
