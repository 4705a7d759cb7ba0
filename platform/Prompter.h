#pragma once
#include <string>
#include <vector>

// Message boxes. Implementations show them modally over the main window.
class Prompter {
public:
    enum class Icon { None, Exclamation, Question, Information, Stop };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompter() = default;
    // defaultYes chooses the default button of a Yes/No question.
    virtual Answer Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes = true) = 0;
    // A question whose answers are buttons with captions of their own; returns the index
    // of the one chosen. Escape and closing the box choose the last one. Where no one can
    // answer (the command-line tool) the text is shown and the last one is taken.
    virtual int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton)
    {
        (void)defaultButton;
        Show(text, Icon::Question, Buttons::Ok);
        return int(buttons.size()) - 1;
    }

    void Error(const std::string& text) { Show(text, Icon::Exclamation, Buttons::Ok); }
    void Notice(const std::string& text) { Show(text, Icon::Information, Buttons::Ok); }
    bool Ask(const std::string& text) { return Show(text, Icon::Question, Buttons::YesNo) == Answer::Yes; }
};
