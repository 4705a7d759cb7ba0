#include "common/StaticLink.h"

#include <QApplication>
#include <QMouseEvent>

#include "app/FormText.h"
#include "platform/Shell.h"

CStaticLink::CStaticLink(const QString& text, Shell& shell, QWidget* parent, std::string target)
    : QLabel(text, parent), m_shell(shell), m_target(std::move(target))
{
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    SetColour();
}

void CStaticLink::SetColour()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, m_visited ? QColor(128, 0, 128) : QColor(0, 0, 255));
    setPalette(palette);
}

bool CStaticLink::Open()
{
    // The target first; then the link's own text, which becomes the target.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1) m_target = ToBytes(text());
        if (!m_target.empty() && m_shell.Open(m_target) == Shell::Ok) {
            m_visited = true;
            SetColour();
            update();
            return true;
        }
    }
    QApplication::beep();
    return false;
}

void CStaticLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Open();
}
