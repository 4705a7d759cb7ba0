#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <utility>
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
    // of the one chosen. The default button is the answer that keeps the person's links,
    // and Escape and closing the box choose it too. Where no one can answer (the
    // command-line tool) the text is shown and the default is taken.
    virtual int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton)
    {
        Show(text, Icon::Question, Buttons::Ok);
        return SafeChoice(buttons, defaultButton);
    }

    // A Yes/No question with a check box under it ("Do not ask again"); checked tells
    // whether it was ticked. Where no box can be shown, the question comes without it.
    virtual Answer AskWithCheckBox(const std::string& text, const std::string& checkBox, bool& checked,
                                   bool defaultYes = false)
    {
        (void)checkBox;
        checked = false;
        return Show(text, Icon::Question, Buttons::YesNo, defaultYes);
    }

    // Once the system ends the program, no one is there to answer: implementations then
    // show nothing, and every question takes its default answer, the one that keeps links.
    void SetUnattended(bool unattended) { m_unattended = unattended; }
    bool Unattended() const { return m_unattended; }
    // The messages (not questions) that were held back meanwhile, for the next start to show.
    std::vector<std::string> TakeHeldMessages()
    {
        std::lock_guard lock(m_heldMutex);
        return std::exchange(m_held, {});
    }

    void Error(const std::string& text) { Show(text, Icon::Exclamation, Buttons::Ok); }
    void Notice(const std::string& text) { Show(text, Icon::Information, Buttons::Ok); }
    bool Ask(const std::string& text) { return Show(text, Icon::Question, Buttons::YesNo) == Answer::Yes; }

protected:
    // The button that Enter, Esc and an unattended end give: the default, else the last.
    static int SafeChoice(const std::vector<std::string>& buttons, int defaultButton)
    {
        return defaultButton >= 0 && defaultButton < int(buttons.size()) ? defaultButton : int(buttons.size()) - 1;
    }
    // The answer of a question that no one is there to answer; a message is held back.
    Answer UnattendedAnswer(const std::string& text, Buttons buttons, bool defaultYes)
    {
        if (buttons == Buttons::Ok) {
            std::lock_guard lock(m_heldMutex);
            m_held.push_back(text);
            return Answer::Ok;
        }
        return defaultYes ? Answer::Yes : Answer::No;
    }

private:
    std::atomic<bool> m_unattended{false};
    std::mutex m_heldMutex;
    std::vector<std::string> m_held;
};
