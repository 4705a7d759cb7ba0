#pragma once
#include <QMenu>
#include <functional>

// What a row's own menu offers; the window supplies each command.
struct RowMenuCommands {
    std::function<void()> launch;
    std::function<void()> copyLink;
    std::function<void()> remove;
    std::function<void()> checkLink;
    std::function<void()> getTitle;
};

// The menu of a row, opened by a right-click on it or the menu key in the list: its own
// commands, then the command menu's. Deleted when it closes.
QMenu* PopupRowMenu(QWidget* parent, const QPoint& at, const RowMenuCommands& commands, QMenu* commandMenu);
