#include "health/LaunchJob.h"

#include "health/LaunchCheck.h"
#include "platform/Prompter.h"
#include "store/Utf.h"
#include "platform/Shell.h"
#include "platform/Translate.h"

namespace {

// The program that sets which program opens a kind of file, on this system.
#if defined(_WIN32)
const char* const kNoAssociation = TrNoop("Health", "  You may need to use Windows Explorer to set up an association for this link or full filename.");
const char* const kDenied = TrNoop("Health", "  Windows denied access to this file.");
#elif defined(__APPLE__)
const char* const kNoAssociation = TrNoop("Health", "  You may need to use the Finder to set up an association for this link or full filename.");
const char* const kDenied = TrNoop("Health", "  Access to this file was denied.");
#else
const char* const kNoAssociation =
    TrNoop("Health", "  You may need to use your file manager to set up an association for this link or full filename.");
const char* const kDenied = TrNoop("Health", "  Access to this file was denied.");
#endif

}  // namespace

std::string LaunchFailureText(const std::string& link, int error)
{
    std::string text = Fill(Tr("Health", "Could not launch \"%1\"."), {VisibleText(DisplayUtf8(link))});
    switch (error) {
    case Shell::FileNotFound: text += Tr("Health", "  This file was not found."); break;
    case Shell::AccessDenied: text += Tr("Health", kDenied); break;
    case Shell::OutOfMemory: text += Tr("Health", "  There isn't enough available memory.  Try closing another application."); break;
    case 27:
    case Shell::NoAssociation:
        text += Tr("Health", kNoAssociation);
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
