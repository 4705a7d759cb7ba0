#pragma once

class LinkStore;

struct MergeCounts {
    int onlyFirst = 0;
    int onlySecond = 0;
    int both = 0;
    bool complete = true;  // false when a record could not be added (no memory): out is not the union
};

// Fills out (empty) with the union of two collections: first's records in their order,
// then second's that first does not have. A record is the same when title, link,
// description, category and both dates are; each copy in one is matched with at most
// one in the other, so a link kept twice on purpose stays twice. Categories are united.
[[nodiscard]] MergeCounts MergeStores(const LinkStore& first, const LinkStore& second, LinkStore& out);
