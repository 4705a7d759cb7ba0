#pragma once
#include <string>
#include <vector>

// Where the title-case exception words live (the title caser). The settings fill it on
// load and read it on save.
class ExceptionSet {
public:
    virtual ~ExceptionSet() = default;
    virtual void SetExceptions(const std::vector<std::string>& words) = 0;
    virtual void GetExceptions(std::vector<std::string>& words) const = 0;
};

// Rewrites titles in title case: every word capitalized, except the exception words
// (articles, short conjunctions and prepositions by default), which take the letter
// case stored for them; the first word, the last word and the first word after a colon
// are always capitalized. Text is UTF-8: a word character is a Unicode letter or digit
// and case changes are Unicode's; bytes that are not UTF-8 are kept as they are.
class CTitleCaser : public ExceptionSet {
public:
    CTitleCaser();

    void Convert(std::string& title) const;

    // In the order the words were first inserted, each in its stored case.
    void GetExceptions(std::vector<std::string>& words) const override;
    // Empties the set, then inserts the words in order; a word already present in
    // another letter case keeps its first case. Empty words and words with blanks are
    // kept but can never match, since words hold neither.
    void SetExceptions(const std::vector<std::string>& words) override;
    static void DefaultExceptions(std::vector<std::string>& words);

private:
    // A word as code points, and its upper-case form for membership.
    struct Entry {
        std::u32string word;
        std::u32string upper;
        std::string text;
    };
    static constexpr unsigned kBuckets = 61;
    const Entry* Find(std::u32string_view word) const;

    // The words in insertion order; each bucket holds the indexes of its words.
    std::vector<Entry> m_words;
    std::vector<size_t> m_buckets[kBuckets];
};
