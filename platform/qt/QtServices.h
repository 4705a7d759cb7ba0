#pragma once
#include "platform/Clipboard.h"
#include "platform/Shell.h"

// The system clipboard, as plain text.
class QtClipboard : public Clipboard {
public:
    void SetText(const std::string& text) override;
};

// Opens links with the desktop's opener (xdg-open on Linux). The link is passed as
// one argument, never through a command line, so no part of it is interpreted.
class QtShell : public Shell {
public:
    Error Open(const std::string& target) override;
};
