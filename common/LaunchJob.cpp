#include "common/LaunchJob.h"

#include "platform/Prompter.h"
#include "platform/Shell.h"

std::string LaunchFailureText(const std::string& link, int error)
{
    std::string text = "Could not launch \"" + link + "\".";
    switch (error) {
    case Shell::FileNotFound: text += "  This file was not found."; break;
    case Shell::AccessDenied: text += "  Windows denied access to this file."; break;
    case Shell::OutOfMemory: text += "  There isn't enough available memory.  Try closing another application."; break;
    case 27:
    case Shell::NoAssociation:
        text += "  You may need to use Windows Explorer to set up an association for this link or full filename.";
        break;
    default: break;
    }
    return text;
}

int CLaunchJob::Run()
{
    SetFinished(false);
    Shell::Error error = m_shell ? m_shell->Open(m_link) : Shell::Other;
    int result = 0;
    if (error != Shell::Ok) {
        if (m_prompter) m_prompter->Error(LaunchFailureText(m_link, error));
        result = 2;
    }
    SetFinished(true);
    return result;
}
