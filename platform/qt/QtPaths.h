#pragma once
#include "platform/Paths.h"

class QtPaths : public Paths {
public:
    std::string DocumentsFolder() override;
    std::string ProgramFolder() override;
    std::string StateFolder() override;
    std::string HomeFolder() override;
};
