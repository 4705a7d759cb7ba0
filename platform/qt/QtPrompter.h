#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/Prompter.h"

// Message boxes over the main window, captioned with the program's name. Callable from
// any thread: a worker's message is shown on the window thread while the worker waits.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }
    Answer Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes = true) override;
    int Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton) override;
    Answer AskWithCheckBox(const std::string& text, const std::string& checkBox, bool& checked,
                           bool defaultYes = false) override;

private:
    QPointer<QWidget> m_owner;
};
