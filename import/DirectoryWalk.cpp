#include "import/DirectoryWalk.h"

#include <filesystem>
#include <new>
#include <system_error>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {
#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

std::string WithSeparator(std::string name)
{
    if (name.empty() || (name.back() != kSeparator && name.back() != '/')) name += kSeparator;
    return name;
}

bool IsPseudoFileSystem(const std::string& path)
{
#ifdef _WIN32
    (void)path;
    return false;
#else
    for (const char* pseudo : {"/proc/", "/sys/", "/dev/", "/run/"})
        if (path == pseudo) return true;
    return false;
#endif
}
}  // namespace

CDirectoryWalk::CDirectoryWalk(const std::string& start)
{
    m_root = new Node{WithSeparator(start)};
    m_current = m_root;
}

CDirectoryWalk::~CDirectoryWalk() { Free(m_root); }

void CDirectoryWalk::Free(Node* node)
{
    // Iteratively, so that a deep tree cannot exhaust the stack.
    std::vector<Node*> pending;
    if (node) pending.push_back(node);
    while (!pending.empty()) {
        Node* n = pending.back();
        pending.pop_back();
        for (Node* child = n->firstChild; child; child = child->next) pending.push_back(child);
        delete n;
    }
}

std::string CDirectoryWalk::PathOf(const Node* node) const
{
    std::vector<const Node*> chain;
    for (; node; node = node->parent) chain.push_back(node);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) path += (*it)->name;
    return path;
}

std::string CDirectoryWalk::Current() const { return m_current ? PathOf(m_current) : std::string(); }

bool CDirectoryWalk::AddSubdirectory(const std::string& name)
{
    if (!m_current) return false;
    Node* node = new (std::nothrow) Node;
    if (!node) return false;
    node->name = WithSeparator(name);
    node->parent = m_current;
    node->next = m_current->firstChild;
    if (m_current->firstChild) m_current->firstChild->previous = node;
    m_current->firstChild = node;
    return true;
}

bool CDirectoryWalk::Next(std::string& path)
{
    for (;;) {
        if (!m_current) return false;
        if (m_current->firstChild) {
            m_current = m_current->firstChild;
            path = PathOf(m_current);
            return true;
        }
        m_current->name.clear();
        if (m_current->next) {
            m_current = m_current->next;
            path = PathOf(m_current);
            return true;
        }
        Node* done = m_current;
        if (done->previous) {
            m_current = done->previous;
            m_current->next = nullptr;
        } else if (done->parent) {
            m_current = done->parent;
            m_current->firstChild = nullptr;
        } else {
            m_current = m_root = nullptr;
        }
        delete done;
    }
}

CBookmarkFinder::CBookmarkFinder(const std::string& root, const std::string& pattern, bool typos)
    : m_filter(pattern, typos), m_walk(root)
{
}

bool CBookmarkFinder::Wanted(const std::string& name) const
{
    // Browsers' own stores are found whatever the pattern: they import as a file does.
    return m_filter.Matches(name) || name == "places.sqlite" || name == "Bookmarks";
}

bool CBookmarkFinder::Step(std::vector<std::string>& found)
{
    if (m_done) return false;
    const std::string folder = m_walk.Current();
#ifndef _WIN32
    // The listing tells each entry's kind, so no entry needs a call of its own, as with find(1).
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
            unsigned char kind = entry->d_type;
            struct stat st;
            if (kind == DT_UNKNOWN && ::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                kind = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
            if (kind == DT_DIR) {
                if (!IsPseudoFileSystem(folder + name + kSeparator)) m_walk.AddSubdirectory(name);
                continue;
            }
            // A link to a folder is never followed: the walk could loop.
            if (kind == DT_LNK && ::fstatat(::dirfd(dir), name, &st, 0) == 0 && S_ISDIR(st.st_mode)) continue;
            if (Wanted(name)) found.push_back(folder + name);
        }
        ::closedir(dir);
    }
#else
    std::error_code ec;
    fs::directory_iterator it(fs::path(std::u8string(folder.begin(), folder.end())), fs::directory_options::skip_permission_denied, ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        const std::u8string utf8 = entry.path().filename().u8string();
        const std::string name(utf8.begin(), utf8.end());
        std::error_code kindError;
        const fs::file_status own = entry.symlink_status(kindError);
        if (fs::is_directory(own)) {
            if (!IsPseudoFileSystem(folder + name + kSeparator)) m_walk.AddSubdirectory(name);
            continue;
        }
        // A link to a folder is never followed: the walk could loop.
        if (fs::is_symlink(own) && fs::is_directory(entry.status(kindError))) continue;
        if (Wanted(name)) found.push_back(folder + name);
    }
#endif
    std::string next;
    m_done = !m_walk.Next(next);
    return true;
}
