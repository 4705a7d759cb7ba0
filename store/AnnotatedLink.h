#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/LinkDate.h"
#include "store/TextBlock.h"

// One annotated link. Texts are bytes, kept exactly as read or typed.
//
// The four texts live one after another in a single block (see TextBlock), packed one
// after another with other records' blocks, so that a record costs its bytes and little
// else: at a million links, a string object and a heap block for each text would cost
// more than the texts.
// A view of a text holds until the record changes.
class CAnnotatedLink {
public:
    // In the order the block holds them: the category, short and read alone by Statistics
    // and renames, in the block's first line; a title followed by its description, which
    // the search reads together.
    enum class Text { Category, Title, Description, Link };

    CAnnotatedLink() = default;
    CAnnotatedLink(std::string_view title, std::string_view link, std::string_view description,
                   std::string_view category, const CLinkDate& added = {}, const CLinkDate& modified = {});
    CAnnotatedLink(const CAnnotatedLink& other);
    CAnnotatedLink(CAnnotatedLink&& other) noexcept;
    CAnnotatedLink& operator=(const CAnnotatedLink& other);
    CAnnotatedLink& operator=(CAnnotatedLink&& other) noexcept;
    ~CAnnotatedLink();

    std::string_view Title() const { return Get(Text::Title); }
    std::string_view Link() const { return Get(Text::Link); }
    std::string_view Description() const { return Get(Text::Description); }  // lines separated by CR LF
    std::string_view Category() const { return Get(Text::Category); }      // need not be in the Category list
    std::string_view Get(Text text) const { return TextBlock::Text(Block(), size_t(text)); }
    // The record's texts as one block, which the search reads.
    const char* Block() const { return m_block ? m_block : TextBlock::kEmpty; }
    CLinkDate Added() const { return {m_addedStatus, m_addedValue}; }
    CLinkDate Modified() const { return {m_modifiedStatus, m_modifiedValue}; }

    void SetTitle(std::string_view title) { Set(Text::Title, title); }
    void SetLink(std::string_view link) { Set(Text::Link, link); }
    void SetDescription(std::string_view description) { Set(Text::Description, description); }
    void SetCategory(std::string_view category) { Set(Text::Category, category); }
    // The value may be a view of this record's own bytes.
    void Set(Text text, std::string_view value);
    void SetAdded(const CLinkDate& added)
    {
        m_addedStatus = added.status;
        m_addedValue = added.value;
    }
    void SetModified(const CLinkDate& modified)
    {
        m_modifiedStatus = modified.status;
        m_modifiedValue = modified.value;
    }

    bool operator==(const CAnnotatedLink& other) const;

    // Records made one by one come from slabs of many, without the heap's bookkeeping
    // for each: at a million links that is 16 MB.
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size) noexcept;

private:
    // The texts in the block's order.
    void TextsOf(std::string_view (&texts)[TextBlock::kTexts]) const;
    // Replaces the block with one holding the given texts; nothing changes when it fails.
    void Assign(const std::string_view (&texts)[TextBlock::kTexts]);

    char* m_block = nullptr;  // null when every text is empty
    int32_t m_addedStatus = CLinkDate::Valid;
    int32_t m_modifiedStatus = CLinkDate::Valid;
    double m_addedValue = 0.0;
    double m_modifiedValue = 0.0;
};

// One text kept apart from its record (the old title an Undo step keeps), packed as a
// record's texts are, in chunks of its own, so that a step over a million titles costs
// their bytes and a pointer each, and its chunks go whole when the step goes.
class CPackedText {
public:
    CPackedText() = default;
    explicit CPackedText(std::string_view text);
    CPackedText(CPackedText&& other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }
    CPackedText& operator=(CPackedText&& other) noexcept;
    CPackedText(const CPackedText&) = delete;
    CPackedText& operator=(const CPackedText&) = delete;
    ~CPackedText();

    std::string_view View() const { return TextBlock::Text(m_block ? m_block : TextBlock::kEmpty, 0); }

private:
    char* m_block = nullptr;
};
