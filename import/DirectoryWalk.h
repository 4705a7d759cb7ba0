#pragma once
#include <string>
#include <vector>

#include "import/FileNameMatch.h"

// A depth-first walk over folders that keeps only what is still to be visited: each
// folder's subfolders are visited in the reverse of the order they were added, each with
// its whole subtree. A node holds one path component.
class CDirectoryWalk {
public:
    explicit CDirectoryWalk(const std::string& start);
    ~CDirectoryWalk();
    CDirectoryWalk(const CDirectoryWalk&) = delete;
    CDirectoryWalk& operator=(const CDirectoryWalk&) = delete;

    // The folder being visited (ends with a separator).
    std::string Current() const;
    // A subfolder of the current folder, to be visited later; false without a current
    // folder or memory.
    bool AddSubdirectory(const std::string& name);
    // Moves to the next folder; false when the walk is over.
    bool Next(std::string& path);

private:
    struct Node {
        std::string name;
        Node* parent = nullptr;
        Node* firstChild = nullptr;
        Node* previous = nullptr;
        Node* next = nullptr;
    };
    std::string PathOf(const Node* node) const;
    void Free(Node* node);

    Node* m_root = nullptr;
    Node* m_current = nullptr;
};

// The bookmark file finder: walks from a root folder and lists the files whose names
// match, one folder at a time. Symbolic links to folders are never followed, pseudo file
// systems (/proc, /sys, /dev, /run) never entered, unreadable folders skipped.
class CBookmarkFinder {
public:
    CBookmarkFinder(const std::string& root, const std::string& pattern, bool typos);
    // Lists the current folder, adding the full paths of its matching files to found,
    // and moves on; false once every folder has been listed.
    bool Step(std::vector<std::string>& found);
    // The folder that the next Step lists.
    std::string Folder() const { return m_walk.Current(); }

private:
    bool Wanted(const std::string& name) const;

    CFileNameFilter m_filter;
    CDirectoryWalk m_walk;
    bool m_done = false;
};
