#pragma once
#include <ostream>

#include "cli/PlainText.h"
#include "platform/Prompter.h"

// Messages of the reader go to standard error; questions are answered No. A message may
// quote a file (a store's own error text, a title), so each of its lines is written with
// its control characters escaped: no file can send a terminal an escape sequence.
class StreamPrompter : public Prompter {
public:
    explicit StreamPrompter(std::ostream& err) : m_err(err) {}
    Answer Show(const std::string& text, Icon, Buttons buttons, bool) override
    {
        m_err << PlainLines(text) << '\n';
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }

private:
    std::ostream& m_err;
};
