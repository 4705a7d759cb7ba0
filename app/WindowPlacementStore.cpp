#include "app/WindowPlacementStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include "platform/SettingsBackend.h"

namespace {
const char* const kSection = "Placement";
const char* const kKeys[] = {"Flags", "ShowCmd", "x1", "y1", "x2", "y2"};
}  // namespace

void WindowPlacementStore::Save()
{
    QRect frame = m_window.frameGeometry();
    int show = m_window.isMinimized() ? ShowMinimized : m_window.isMaximized() ? ShowMaximized : ShowNormal;
    const int values[] = {0, show, frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    for (int i = 0; i < 6; ++i) m_settings.WriteInt(kSection, kKeys[i], values[i]);
}

QRect WindowPlacementStore::Clamp(QRect r, const QRect& screen, QSize icon)
{
    const int right = screen.x() + screen.width(), bottom = screen.y() + screen.height();
    if (r.left() >= right - icon.width()) r.moveLeft(right - icon.width());
    if (r.top() >= bottom - icon.height()) r.moveTop(bottom - icon.height());
    return r;
}

bool WindowPlacementStore::Restore(bool minimized)
{
    int values[6];
    for (int i = 0; i < 6; ++i) {
        values[i] = m_settings.ReadInt(kSection, kKeys[i], -1);
        if (values[i] == -1) return false;
    }
    QRect stored(QPoint(values[2], values[3]), QSize(values[4] - values[2], values[5] - values[3]));
    QScreen* screen = QGuiApplication::primaryScreen();
    int iconSize = m_window.style()->pixelMetric(QStyle::PM_LargeIconSize);
    if (screen) stored = Clamp(stored, screen->availableGeometry(), QSize(iconSize, iconSize));
    m_window.move(stored.topLeft());
    if (minimized || values[1] == ShowMinimized)
        m_window.setWindowState(m_window.windowState() | Qt::WindowMinimized);
    return true;
}
