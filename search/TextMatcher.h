#pragma once
#include <memory>
#include <string>
#include <string_view>

// Decides whether a field contains the search text. Matchers are byte algorithms
// over ASCII case; reading at or past the end of either string yields NUL.
class CTextMatcher {
public:
    // emptyMatch: the result when both text and pattern are empty.
    explicit CTextMatcher(bool emptyMatch) : m_emptyMatch(emptyMatch) {}
    virtual ~CTextMatcher() = default;
    virtual bool Match(std::string_view text, std::string_view pattern) const = 0;
    // Takes the pattern that MatchPrepared looks for, and makes what Match keeps for it,
    // before threads share the matcher: afterwards matching with it only reads.
    virtual void Prepare(std::string_view pattern) const { m_prepared = pattern; }
    // Match with the prepared pattern, which a search asks for every field of every row.
    virtual bool MatchPrepared(std::string_view text) const { return Match(text, m_prepared); }

protected:
    bool m_emptyMatch;
    mutable std::string m_prepared;
};

// Case-insensitive search where a pattern blank matches any run of white space,
// also none.
class CExactMatcher : public CTextMatcher {
public:
    using CTextMatcher::CTextMatcher;
    bool Match(std::string_view text, std::string_view pattern) const override;
};

// Case-insensitive search that forgives swapped, left-out, extra and wrong
// characters, at most one per word and then only after separation-level exact ones.
class CTypoMatcher : public CTextMatcher {
public:
    // A separation outside 1..9 becomes 2.
    CTypoMatcher(bool emptyMatch, int separation);
    ~CTypoMatcher() override;
    bool Match(std::string_view text, std::string_view pattern) const override;
    void Prepare(std::string_view pattern) const override;
    bool MatchPrepared(std::string_view text) const override;
    int Separation() const { return m_separation; }

private:
    struct Plan;
    const Plan& PlanFor(std::string_view pattern) const;
    bool MatchPlanned(std::string_view text, const Plan& plan) const;

    int m_separation;
    // What Match looks for, made once for the last pattern seen, as callers that give the
    // pattern ask with one pattern for many texts.
    mutable std::unique_ptr<Plan> m_plan;
    mutable std::unique_ptr<Plan> m_preparedPlan;  // the prepared pattern's, made by Prepare
};

// Whether the matchers compare thirty-two bytes at a time, which they do where the
// processor has AVX2, or sixteen. Returns the setting before; the tests and the fuzz target
// ask for each in turn, since both must find the same.
bool UseWideVectors(bool use);

// The typo rule tried from every place of the text, with none of CTypoMatcher::Match's
// shortcuts: what Match must agree with (the tests and the fuzz target hold it to that).
bool TypoMatchEverywhere(std::string_view text, std::string_view pattern, int separation);
