#include "tests/support/FakePrompter.h"

Prompter::Answer FakePrompter::Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes)
{
    if (Unattended()) return UnattendedAnswer(text, buttons, defaultYes);
    std::unique_lock lock(m_mutex);
    m_messages.push_back({text, icon, buttons, defaultYes});
    if (buttons != Buttons::Ok && answerMode == Mode::Enter) return defaultYes ? Answer::Yes : Answer::No;
    if (buttons != Buttons::Ok && answerMode == Mode::Escape) return Answer::No;
    if (buttons == Buttons::Ok) return Answer::Ok;
    if (answerQuestion) {
        lock.unlock();
        return answerQuestion(text);
    }
    if (m_answers.empty()) return Answer::Yes;
    Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

int FakePrompter::Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton)
{
    const int safe = SafeChoice(buttons, defaultButton);
    if (Unattended()) return safe;
    std::unique_lock lock(m_mutex);
    std::string shown = text;
    for (const std::string& b : buttons) shown += " [" + b + "]";
    m_messages.push_back({shown, Icon::Question, Buttons::YesNo, true, defaultButton});
    // Enter and Esc both give the default button, as the real box does.
    if (answerMode != Mode::Script) return safe;
    if (answerChoice) {
        lock.unlock();
        return answerChoice(text, buttons);
    }
    if (m_choices.empty()) return defaultButton;
    const int choice = m_choices.front();
    m_choices.pop_front();
    return choice;
}

std::vector<FakePrompter::Message> FakePrompter::Messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::vector<std::string> FakePrompter::Texts() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> texts;
    for (const auto& m : m_messages) texts.push_back(m.text);
    return texts;
}

void FakePrompter::Clear()
{
    std::lock_guard lock(m_mutex);
    m_messages.clear();
}
