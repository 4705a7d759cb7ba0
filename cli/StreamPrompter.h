#pragma once
#include <ostream>

#include "platform/Prompter.h"

// Messages of the reader go to standard error; questions are answered No.
class StreamPrompter : public Prompter {
public:
    explicit StreamPrompter(std::ostream& err) : m_err(err) {}
    Answer Show(const std::string& text, Icon, Buttons buttons, bool) override
    {
        m_err << text << '\n';
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }

private:
    std::ostream& m_err;
};
