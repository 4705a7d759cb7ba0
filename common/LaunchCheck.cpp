#include "common/LaunchCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include <sys/stat.h>
#include <unicode/uchar.h>

#include "health/LinkAddress.h"
#include "store/CaseFold.h"
#include "store/Utf.h"

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
    static const std::array<const char*, 33> kPrograms = {
        ".desktop", ".sh",  ".bash", ".zsh", ".csh", ".ksh",   ".fish",    ".exe", ".bat",      ".cmd",  ".com",
        ".lnk",     ".app", ".jar",  ".py",  ".pyw", ".pl",    ".rb",      ".php", ".ps1",      ".psm1", ".vbs",
        ".vbe",     ".js",  ".jse",  ".wsf", ".wsh", ".msi",   ".scr",     ".pif", ".appimage", ".run",  ".command"};
    const std::string lower = LowerAscii(name);
    return std::any_of(kPrograms.begin(), kPrograms.end(), [&](const char* extension) {
        const std::string e = extension;
        return lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
    });
}

bool IsProgramFile(const std::string& path)
{
    const std::u8string name8 = fs::path(std::u8string(path.begin(), path.end())).filename().u8string();
    if (IsProgramName(std::string(name8.begin(), name8.end()))) return true;
#ifndef _WIN32
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111)) return true;
#endif
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
            return Refuse("Could not launch \"" + Shown(link) + "\".  It holds a control character (" + CodeName(cp) +
                          "), so what would be opened is not what is shown.");
    }
    if (link.size() > LongestLaunchableLink())
        return Refuse("Could not launch \"" + Shown(link) + "...\".  The link is " + std::to_string(link.size()) +
                      " characters long, and this system opens links of at most " +
                      std::to_string(LongestLaunchableLink()) + ".");
    LaunchCheck check;
    check.target = link;
    const std::string scheme = SchemeOf(link);
    if (!scheme.empty() && scheme != "file") {
        static const std::array<const char*, 4> kDocuments = {"http", "https", "ftp", "mailto"};
        if (std::find(kDocuments.begin(), kDocuments.end(), scheme) == kDocuments.end()) {
            check.verdict = LaunchCheck::Verdict::Ask;
            check.message = "This link starts a program:  " + Shown(link) + "  Start it?";
        }
        return check;
    }
    // A file: its full name, a relative one taken from the data file's folder.
    std::string path = scheme == "file" ? LocalPathOfLink(link) : link;
    if (path.empty()) {
        // A file on another machine: handed over as written.
        if (IsProgramName(link)) {
            check.verdict = LaunchCheck::Verdict::Ask;
            check.message = "This link starts a program:  " + Shown(link) + "  Start it?";
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
    if (IsProgramFile(path)) {
        check.verdict = LaunchCheck::Verdict::Ask;
        check.message = "This link starts a program:  " + Shown(path) + "  Start it?";
    }
    return check;
}
