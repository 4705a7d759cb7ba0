#pragma once
#include <string>

#include "common/ThreadJob.h"

class Prompter;
class Shell;

// The text shown when opening a link failed: the first sentence with the link, and
// the sentence for the error, if any.
std::string LaunchFailureText(const std::string& link, int error);

// Opens one link on a worker thread and reports a failure in a message box.
class CLaunchJob : public CPooledJob {
public:
    ~CLaunchJob() override { Wait(); }
    void SetServices(Shell* shell, Prompter* prompter)
    {
        m_shell = shell;
        m_prompter = prompter;
    }
    void SetLink(const std::string& link) { m_link = link; }
    // 0 after success, 2 after an error message.
    int Run() override;

private:
    Shell* m_shell = nullptr;
    Prompter* m_prompter = nullptr;
    std::string m_link;
};
