#pragma once
#include <string>

// Message boxes. Implementations show them modally over the main window.
class Prompter {
public:
    enum class Icon { None, Exclamation, Question, Information, Stop };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompter() = default;
    // defaultYes chooses the default button of a Yes/No question.
    virtual Answer Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes = true) = 0;

    void Error(const std::string& text) { Show(text, Icon::Exclamation, Buttons::Ok); }
    void Notice(const std::string& text) { Show(text, Icon::Information, Buttons::Ok); }
    bool Ask(const std::string& text) { return Show(text, Icon::Question, Buttons::YesNo) == Answer::Yes; }
};
