#include "app/WindowPlacementStore.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/SettingsBackend.h"

namespace {
const char* const kSection = "Placement";
const char* const kKeys[] = {"Flags", "ShowCmd", "x1", "y1", "x2", "y2"};
// The inside size in the normal state, apart from the frame's rectangle: the frame's
// thickness is not known before the window is shown, so a size restored from the frame
// would grow by it at each start.
const char* const kWidth = "Width";
const char* const kHeight = "Height";
}  // namespace

void WindowPlacementStore::Save()
{
    const int show = m_window.isMinimized() ? ShowMinimized : m_window.isMaximized() ? ShowMaximized : ShowNormal;
    // A maximised or minimised window keeps the place and size it comes back to.
    QRect normal = m_window.normalGeometry();
    if (show == ShowNormal || normal.isEmpty()) normal = m_window.geometry();
    const QPoint frameOffset = m_window.geometry().topLeft() - m_window.frameGeometry().topLeft();
    const QSize frameExtra = m_window.frameGeometry().size() - m_window.geometry().size();
    const QRect frame(normal.topLeft() - frameOffset, normal.size() + frameExtra);
    const int values[] = {0, show, frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    for (int i = 0; i < 6; ++i) m_settings.WriteInt(kSection, kKeys[i], values[i]);
    m_settings.WriteInt(kSection, kWidth, normal.width());
    m_settings.WriteInt(kSection, kHeight, normal.height());
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
    // A size the person gave; never smaller than the window's least nor larger than the screen.
    QSize size(m_settings.ReadInt(kSection, kWidth, -1), m_settings.ReadInt(kSection, kHeight, -1));
    if (size.width() > 0 && size.height() > 0) {
        if (screen) size = size.boundedTo(screen->availableGeometry().size());
        m_window.resize(size.expandedTo(m_window.minimumSize()));
    }
    m_window.move(stored.topLeft());
    if (values[1] == ShowMaximized) m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
    if (minimized || values[1] == ShowMinimized)
        m_window.setWindowState(m_window.windowState() | Qt::WindowMinimized);
    return true;
}

QRect WindowPlacementStore::Fit(QRect r, const QRect& screen)
{
    if (r.width() <= screen.width()) r.moveLeft(std::clamp(r.left(), screen.left(), screen.right() + 1 - r.width()));
    if (r.height() <= screen.height()) r.moveTop(std::clamp(r.top(), screen.top(), screen.bottom() + 1 - r.height()));
    return r;
}

void WindowPlacementStore::PlaceOnScreen()
{
    QScreen* screen = m_window.screen();
    if (!screen || m_window.isMaximized() || m_window.isMinimized()) return;
    // The frame is not known before the window shows: its title bar is reckoned with.
    const QRect available = screen->availableGeometry();
    const int titleBar = m_window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    QRect frame(QPoint(), m_window.size() + QSize(0, titleBar));
    frame.moveCenter(available.center());
    m_window.move(Fit(frame, available).topLeft());
}

void WindowPlacementStore::SaveColumns(const QHeaderView& header)
{
    std::string widths;
    for (int c = 0; c < header.count(); ++c) widths += (c ? "," : "") + std::to_string(header.sectionSize(c));
    m_settings.WriteString("Columns", "Widths", widths);
}

bool WindowPlacementStore::RestoreColumns(QHeaderView& header)
{
    const QStringList parts = QString::fromStdString(m_settings.ReadString("Columns", "Widths")).split(',');
    if (parts.size() != header.count()) return false;
    std::vector<int> widths;
    for (const QString& part : parts) {
        bool ok = false;
        const int width = part.toInt(&ok);
        // A column no one could find again, or one wider than any screen, is not restored.
        if (!ok || width < 0 || width > 100000) return false;
        widths.push_back(width);
    }
    for (int c = 0; c < header.count(); ++c) header.resizeSection(c, widths[size_t(c)]);
    return true;
}
