#pragma once
#include "store/LinkStore.h"

// A follower that finds no room for one more row, as when memory runs out: every insert
// into the store it follows fails and changes nothing.
struct NoRoom : StoreListener {
    bool MakeRoom(size_t) override { return false; }
    void AboutToInsert(int, int) override {}
    void Inserted(int, int) override {}
    void AboutToRemove(const std::vector<int>&) override {}
    void Removed(const std::vector<int>&) override {}
    void AboutToReorder() override {}
    void Reordered(const std::vector<int>&) override {}
    void AboutToReset() override {}
    void WasReset() override {}
};
