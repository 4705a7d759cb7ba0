#pragma once
#include <string>

// The form's texts as Add and Modify store them.
struct FormTexts {
    std::string title;
    std::string link;
    std::string description;
};

// The Misc page's "Move to Title" and "Move to Link".
struct MoveRules {
    bool toTitle = false;
    bool toLink = false;
};

// Trims the description, moves its first line into an empty Title ("Move to Title")
// and its last line into an empty Link ("Move to Link"), then trims it again.
void ApplyMoveRules(FormTexts& form, bool moveToTitle, bool moveToLink);
