#include "app/RowMenu.h"
#include "common/QtText.h"

QMenu* PopupRowMenu(QWidget* parent, const QPoint& at, const RowMenuCommands& commands, QMenu* commandMenu)
{
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QTr("Main", "&Launch"), commands.launch);
    menu->addAction(QTr("Main", "&Copy Link"), commands.copyLink);
    menu->addAction(QTr("Main", "&Delete"), commands.remove);
    menu->addSeparator();
    menu->addAction(QTr("Main", "Check Lin&k"), commands.checkLink);
    menu->addAction(QTr("Main", "&Get Title from Page"), commands.getTitle);
    menu->addSeparator();
    // The command menu's entries follow, each with its own letter, in a menu of their own.
    QAction* more = menu->addMenu(commandMenu);
    more->setText(QTr("Main", "Co&mmands"));
    menu->popup(at);
    return menu;
}
