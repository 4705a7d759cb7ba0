#pragma once
#include <cstddef>
#include <string>

class LinkStore;

// Fills a store with count deterministic records of realistic size: titles of about
// 40 bytes, links of about 60, descriptions of about 150 on two lines, 30 categories.
// Every 100th title (index % 100 == 7) holds "quasar", every other one "nebula".
void GenerateLinks(LinkStore& store, int count, unsigned seed = 1);

// Writes such a store to path as a data file; false on failure.
bool WriteGeneratedFile(const std::string& path, int count, unsigned seed = 1);

// Peak resident memory of this process so far, in bytes.
long PeakResidentBytes();
// Bytes currently allocated on the heap.
size_t AllocatedBytes();
