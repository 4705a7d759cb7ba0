#include "common/ColumnScaler.h"

#include <cstdio>

#include "platform/Prompter.h"

CColumnScaler::CColumnScaler(int clientPixels, int designPixels, int divisor, bool scrollBarRoom,
                             int scrollBarWidth, Prompter* prompter)
    : m_nClientPixels(clientPixels)
{
    if (designPixels > 0) {
        m_nDesignPixels = designPixels;
    } else {
        m_nDesignPixels = clientPixels;
        if (designPixels < 0 && prompter) {
            char text[64];
            std::snprintf(text, sizeof text, "m_nDesignPixels is set to %d pixels.", clientPixels);
            prompter->Show(text, Prompter::Icon::None, Prompter::Buttons::Ok);
        }
    }
    if (scrollBarRoom) m_nClientPixels -= scrollBarWidth + 1;
    m_nBias = divisor > 0 ? m_nDesignPixels / divisor - 1 : 0;
}

int CColumnScaler::ScaleWidth(int designWidth) const
{
    // A list with no width yet would divide by zero; it gets the design width.
    if (m_nDesignPixels <= 0) return designWidth;
    return (m_nBias + designWidth * m_nClientPixels) / m_nDesignPixels;
}
