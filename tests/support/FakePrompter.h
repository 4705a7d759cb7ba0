#pragma once
#include <deque>
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
    };

    Answer Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes = true) override;
    // Takes the scripted choice; the default button when none is left.
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton) override;
    void ScriptChoices(std::initializer_list<int> choices) { m_choices.insert(m_choices.end(), choices); }

    void Script(std::initializer_list<Answer> answers) { m_answers.insert(m_answers.end(), answers); }
    std::vector<Message> Messages() const;
    std::vector<std::string> Texts() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<Message> m_messages;
    std::deque<Answer> m_answers;
    std::deque<int> m_choices;
};
