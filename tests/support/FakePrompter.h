#pragma once
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Prompter.h"

// Records every message and answers questions from a script (Yes when it runs out).
class FakePrompter : public Prompter {
public:
    struct Message {
        std::string text;
        Icon icon;
        Buttons buttons;
        bool defaultYes = true;  // of a Yes/No question
        int defaultChoice = -1;  // of a question with buttons of its own
    };
    // How questions are answered: from the script or the answerers below, or as a person
    // pressing Enter (the default button) or Esc at every one.
    enum class Mode { Script, Enter, Escape };
    Mode answerMode = Mode::Script;

    Answer Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes = true) override;
    // Takes the scripted choice; the default button when none is left.
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton) override;
    void ScriptChoices(std::initializer_list<int> choices) { m_choices.insert(m_choices.end(), choices); }

    void Script(std::initializer_list<Answer> answers) { m_answers.insert(m_answers.end(), answers); }
    // Whether the person ticks the check box of a question that has one.
    bool tickCheckBox = false;
    Answer AskWithCheckBox(const std::string& text, const std::string& checkBox, bool& checked,
                           bool defaultYes = false) override
    {
        const Answer answer = Show(text + " [" + checkBox + "]", Icon::Question, Buttons::YesNo, defaultYes);
        checked = tickCheckBox;
        return answer;
    }
    // Answers every question by its text instead of the script (Show: Yes or No; Choose:
    // the index of the button), as a person who reads each question would.
    std::function<Answer(const std::string&)> answerQuestion;
    std::function<int(const std::string&, const std::vector<std::string>&)> answerChoice;
    std::vector<Message> Messages() const;
    std::vector<std::string> Texts() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<Message> m_messages;
    std::deque<Answer> m_answers;
    std::deque<int> m_choices;
};
