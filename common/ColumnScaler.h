#pragma once

class Prompter;

// Converts design column widths, chosen for a list of designPixels, to pixel widths
// for the list's real client width.
class CColumnScaler {
public:
    // designPixels <= 0 uses the client width itself; a negative value also reports
    // that width (through prompter, when given) so that a developer can read it off.
    CColumnScaler(int clientPixels, int designPixels, int divisor, bool scrollBarRoom, int scrollBarWidth,
                  Prompter* prompter = nullptr);
    virtual ~CColumnScaler() = default;

    int ScaleWidth(int designWidth) const;

private:
    int m_nClientPixels;
    int m_nDesignPixels;
    int m_nBias;
};
