#include "common/StatusNote.h"

CStatusNote::CStatusNote(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    setMargin(4);
    hide();
    m_timer.setSingleShot(true);
    m_timer.setInterval(8000);
    connect(&m_timer, &QTimer::timeout, this, &QLabel::hide);
}

void CStatusNote::ShowOver(const QString& text, const QRect& area)
{
    setText(text);
    adjustSize();
    move(area.left() + 4, area.bottom() - height() - 4);
    raise();
    show();
    m_timer.start();
}
