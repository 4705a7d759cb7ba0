#pragma once

class QWidget;

// Every dialog open over the window goes as if cancelled, from the top down (a dialog's
// loop returns only after the one opened over it has); one that stays after Cancel (a
// question without one) is hidden all the same.
void CancelDialogsOver(QWidget& window);
