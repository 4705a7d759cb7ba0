#pragma once

class QWidget;

// Gives each control of an Options page the tooltip that says what it does, from one
// table of the program's own texts; a field takes the tip of the caption that names it.
void GiveOptionsTips(QWidget& page);
