#pragma once
#include <QFont>
#include <QRect>

class QLabel;
class QPushButton;
class QWidget;

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

// A caption at its rectangle, widened (left-aligned ones) when the font needs more room,
// so that a larger font never clips it.
QLabel* PlaceLabel(QWidget* parent, const QString& text, QRect r, Qt::Alignment align = Qt::AlignLeft);
// A button at its rectangle that does not take Enter for itself.
QPushButton* PlaceButton(QWidget* parent, const QString& text, QRect r);
