#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "store/LinkDate.h"

// One annotated link. Texts are bytes, kept exactly as read or typed.
class CAnnotatedLink {
public:
    enum class Text { Title, Link, Description, Category };

    CAnnotatedLink() = default;
    CAnnotatedLink(std::string_view title, std::string_view link, std::string_view description,
                   std::string_view category, const CLinkDate& added = {}, const CLinkDate& modified = {});

    std::string_view Title() const { return Get(Text::Title); }
    std::string_view Link() const { return Get(Text::Link); }
    std::string_view Description() const { return Get(Text::Description); }  // lines separated by CR LF
    std::string_view Category() const { return Get(Text::Category); }      // need not be in the Category list
    std::string_view Get(Text text) const { return m_texts[size_t(text)]; }
    CLinkDate Added() const { return m_added; }
    CLinkDate Modified() const { return m_modified; }

    void SetTitle(std::string_view title) { Set(Text::Title, title); }
    void SetLink(std::string_view link) { Set(Text::Link, link); }
    void SetDescription(std::string_view description) { Set(Text::Description, description); }
    void SetCategory(std::string_view category) { Set(Text::Category, category); }
    void Set(Text text, std::string_view value) { m_texts[size_t(text)] = value; }
    // All four texts at once, as a record is read.
    void SetTexts(std::string_view title, std::string_view link, std::string_view description,
                  std::string_view category);
    void SetAdded(const CLinkDate& added) { m_added = added; }
    void SetModified(const CLinkDate& modified) { m_modified = modified; }

    bool operator==(const CAnnotatedLink&) const = default;

    // Records made one by one come from slabs of many, without the heap's bookkeeping
    // for each: at a million links that is 16 MB.
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size) noexcept;

private:
    std::string m_texts[4];
    CLinkDate m_added;
    CLinkDate m_modified;
};
