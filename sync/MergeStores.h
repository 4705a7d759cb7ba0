#pragma once

class LinkStore;

struct MergeCounts {
    int onlyFirst = 0;
    int onlySecond = 0;
    int both = 0;
};

// Fills out (empty) with the union of two collections: first's records in their order,
// then second's that first does not have. A record is the same when title, link,
// description, category and both dates are; each copy in one is matched with at most
// one in the other, so a link kept twice on purpose stays twice. Categories are united.
MergeCounts MergeStores(const LinkStore& first, const LinkStore& second, LinkStore& out);
