#pragma once
#include <QRect>

class QHeaderView;
class QWidget;
class SettingsBackend;

// The main window's last position, in the settings section "Placement".
class WindowPlacementStore {
public:
    // Show states as stored.
    enum { ShowNormal = 1, ShowMinimized = 2, ShowMaximized = 3 };

    WindowPlacementStore(SettingsBackend& settings, QWidget& window) : m_settings(settings), m_window(window) {}
    void Save();
    // False (and nothing changed) when any value is missing or stored as -1.
    bool Restore(bool minimized);

    // Pulls a window that lies beyond the right or bottom edge of the screen back so
    // that an icon's size of it stays visible; the size is kept.
    static QRect Clamp(QRect normal, const QRect& screen, QSize icon);

    // Places a window with no stored place in the middle of the screen, wholly on it when it
    // fits: at a large scale a window manager may put part of it below the screen.
    void PlaceOnScreen();
    // The frame moved the least to lie within the screen, where it fits.
    static QRect Fit(QRect frame, const QRect& screen);

    // The list's column widths as the person left them, in the section "Columns".
    void SaveColumns(const QHeaderView& header);
    // False (and nothing changed) when no widths are stored or they do not fit the list.
    bool RestoreColumns(QHeaderView& header);

private:
    SettingsBackend& m_settings;
    QWidget& m_window;
};
