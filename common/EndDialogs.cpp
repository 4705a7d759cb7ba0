#include "common/EndDialogs.h"

#include <QApplication>
#include <QDialog>

void CancelDialogsOver(QWidget& window)
{
    QWidget* last = nullptr;
    for (QWidget* modal; (modal = QApplication::activeModalWidget()) && modal != &window && modal != last;
         last = modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        if (modal->isVisible()) modal->hide();
    }
}
