#pragma once
#include <QString>

class QWidget;

// Names a control for screen readers as its label reads ("Data &File:" names it "Data
// File"): the mnemonic mark, a final colon and blanks dropped. An editable combo box's
// field is named with it, since a reader lands in the field.
void NameLike(QWidget* control, const QString& label);

// Makes combo boxes say their name (the one given above, or their label's) before their
// text, as other controls do; called before the first window shows, and by NameLike.
void InstallAccessibleNames();
