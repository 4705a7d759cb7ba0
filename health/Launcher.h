#pragma once
#include <string>

#include "common/ThreadJob.h"
#include "health/LaunchJob.h"

class Prompter;
class Shell;

// Opens the links the person launches: what opens is what is shown, nothing starts a
// program without the person's word, and each link opens on a worker so that a slow
// handler never holds the window.
class CLauncher {
public:
    CLauncher(Shell& shell, Prompter& prompter) : m_shell(shell), m_prompter(prompter) {}

    // Opens the link; a relative file name is taken from the data file's folder.
    void Launch(const std::string& link, const std::string& dataFolder);
    bool AllFinished() const { return m_pool.AllFinished(); }
    // Waits for every opening that is still running.
    void WaitAll() { m_pool.WaitAll(); }

private:
    Shell& m_shell;
    Prompter& m_prompter;
    CJobPool<CLaunchJob> m_pool;
};
