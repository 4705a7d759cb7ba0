#pragma once
#include <string>
#include <vector>

enum class TipsResult { Ok, OpenFailed, ReadFailed, Empty };

// Reads a tips file: texts separated by '#', each trimmed, empty ones dropped, line
// breaks kept. A text longer than 1,024 characters is cut there and the character after
// the cut is taken as a separator. A file that is not UTF-8 is read as Windows-1252.
TipsResult ReadTipsFile(const std::string& path, std::vector<std::string>& tips);
// The same over text already read.
void SplitTips(std::string_view text, std::vector<std::string>& tips);
