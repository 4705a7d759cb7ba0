#include "common/DialogUnits.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

DialogUnits::DialogUnits(const QFont& font)
{
    QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as the platform measures it.
    int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (letters / 26 + 1) / 2;
    m_baseY = metrics.height();
    if (m_baseX <= 0) m_baseX = 6;
    if (m_baseY <= 0) m_baseY = 13;
}

QLabel* PlaceLabel(QWidget* parent, const QString& text, QRect r, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    if (align == Qt::AlignLeft) r.setWidth(std::max(r.width(), label->sizeHint().width()));
    label->setGeometry(r);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

QPushButton* PlaceButton(QWidget* parent, const QString& text, QRect r)
{
    auto* button = new QPushButton(text, parent);
    button->setGeometry(r);
    button->setAutoDefault(false);
    return button;
}
