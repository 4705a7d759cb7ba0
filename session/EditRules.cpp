#include "session/EditRules.h"

#include "store/NaturalCompare.h"

void ApplyMoveRules(FormTexts& form, bool moveToTitle, bool moveToLink)
{
    std::string& d = form.description;
    d = std::string(TrimView(d));
    if (moveToTitle && form.title.empty()) {
        size_t brk = d.find_first_of("\r\n");
        if (brk != std::string::npos) {
            form.title = std::string(TrimView(std::string_view(d).substr(0, brk)));
            d.erase(0, brk);
        }
    }
    if (moveToLink && form.link.empty()) {
        size_t brk = d.find_last_of("\r\n");
        if (brk != std::string::npos) {
            form.link = std::string(TrimView(std::string_view(d).substr(brk + 1)));
            d.erase(brk + 1);
        }
    }
    d = std::string(TrimView(d));
}
