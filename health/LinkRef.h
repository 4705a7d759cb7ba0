#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

class HttpFetcher;
class LinkStore;
class CAnnotatedLink;

// A record that a result window names while the list may change under it: the record
// and the link it had. It still stands for a row only while that record is in the store
// with that link, so a deleted or edited record is never touched by mistake.
struct LinkRef {
    const CAnnotatedLink* record = nullptr;
    std::string link;
};

// The rows, ascending, of the references that still stand for one; -1 for the others
// in rowOf (same order as refs) when it is given. The caller holds the store lock.
std::vector<int> RowsOfLinks(const LinkStore& store, const std::vector<LinkRef>& refs, std::vector<int>* rowOf = nullptr);

// The link each record has now, or none for a record no longer in the store. The caller
// holds the store lock.
std::vector<std::optional<std::string>> CurrentLinks(const LinkStore& store,
                                                     const std::vector<const CAnnotatedLink*>& records);

// What the result windows of the link checks ask of the main list.
class LinkListHost {
public:
    virtual ~LinkListHost() = default;
    // Selects exactly the rows that the references still stand for, as a user would;
    // returns how many.
    virtual int SelectLinks(const std::vector<LinkRef>& refs) = 0;
    // Gives each record that a reference still stands for its new link, an undoable
    // Modify each; tells which were changed.
    virtual std::vector<bool> ReplaceLinks(const std::vector<LinkRef>& refs, const std::vector<std::string>& links) = 0;
    // The link each record has now (none for one no longer in the list).
    virtual std::vector<std::optional<std::string>> CurrentLinks(const std::vector<const CAnnotatedLink*>& records) = 0;
    // Gives each record that a reference still stands for the address of its archived
    // copy, with its old address as the description's line "Original link: ...", all as
    // one undoable step; tells which were changed.
    virtual std::vector<bool> UseArchivedCopies(const std::vector<LinkRef>& refs, const std::vector<std::string>& copies) = 0;
    // Whether the archive may be asked: the setting allows it, and the person agreed now or
    // for good. Asks the first time.
    virtual bool MayAskTheArchive() = 0;
    virtual std::string ArchiveService() = 0;
    virtual std::unique_ptr<HttpFetcher> MakeArchiveFetcher() = 0;
    virtual void OpenInBrowser(const std::string& address) = 0;
};
