#include "app/RowMenu.h"

QMenu* PopupRowMenu(QWidget* parent, const QPoint& at, const RowMenuCommands& commands, QMenu* commandMenu)
{
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction("&Launch", commands.launch);
    menu->addAction("&Copy Link", commands.copyLink);
    menu->addAction("&Delete", commands.remove);
    menu->addSeparator();
    menu->addAction("Check Lin&k", commands.checkLink);
    menu->addAction("&Get Title from Page", commands.getTitle);
    menu->addSeparator();
    // The command menu's entries follow, each with its own letter, in a menu of their own.
    QAction* more = menu->addMenu(commandMenu);
    more->setText("Co&mmands");
    menu->popup(at);
    return menu;
}
