#pragma once

// The sorted insert by bisection that every ordered list of names uses: compareAt(i)
// compares the new name with item i. An equal item gets the new name before it.
template <class CompareAt>
int SortedInsertIndex(int count, CompareAt compareAt)
{
    int lo = 0, hi = count - 1;
    while (hi >= lo) {
        const int mid = (lo + hi) / 2;
        const int c = compareAt(mid);
        if (c > 0)
            lo = mid + 1;
        else if (c < 0)
            hi = mid - 1;
        else
            return mid;
    }
    return lo;
}
