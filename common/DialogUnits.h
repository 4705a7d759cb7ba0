#pragma once
#include <QFont>
#include <QRect>

// Converts dialog units to pixels from a font's average character width and height,
// so that a dialog laid out in dialog units keeps its proportions with any font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int X(int units) const { return (units * m_baseX + 2) / 4; }
    int Y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }

private:
    int m_baseX;
    int m_baseY;
};
