#include "health/Launcher.h"

#include "health/LaunchCheck.h"
#include "platform/Prompter.h"

void CLauncher::Launch(const std::string& link, const std::string& dataFolder)
{
    const LaunchCheck check = CheckLaunch(link, dataFolder);
    if (check.verdict == LaunchCheck::Verdict::Refuse) {
        m_prompter.Error(check.message);
        return;
    }
    if (check.verdict == LaunchCheck::Verdict::Ask &&
        m_prompter.Show(check.message, Prompter::Icon::Question, Prompter::Buttons::YesNo, false) != Prompter::Answer::Yes)
        return;
    CLaunchJob& job = m_pool.GetIdleJob();
    job.SetServices(&m_shell, &m_prompter);
    job.SetLink(check.target);
    job.Start(this, 0);
}
