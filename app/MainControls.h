#pragma once

#include <QRect>
#include <vector>

class QDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class CCommandMenu;
class CLinkListCtrl;
class CSettings;
class CSortedComboBox;
class CStatusNote;
class LinkStore;
class Prompter;

// The main window's controls, made and placed as the window's design has them. The
// window owns them as its children and wires them; nothing here acts.
struct MainControls {
    QLabel* totalLabel = nullptr;
    QLabel* selectedLabel = nullptr;
    CLinkListCtrl* list = nullptr;
    CSortedComboBox* search = nullptr;
    QPushButton* previous = nullptr;
    QPushButton* next = nullptr;
    QLineEdit* title = nullptr;
    QLineEdit* link = nullptr;
    QLabel* dateLabel = nullptr;
    QPlainTextEdit* description = nullptr;
    CSortedComboBox* category = nullptr;
    QPushButton* launch = nullptr;
    QPushButton* add = nullptr;
    QPushButton* modify = nullptr;
    QPushButton* clear = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* options = nullptr;
    QPushButton* close = nullptr;
    CCommandMenu* menu = nullptr;
    QToolButton* menuButton = nullptr;
    CStatusNote* statusText = nullptr;

    // How each control follows the window's size: the list takes what the window grows
    // by, the fields below it widen with it, and the buttons beside them keep their
    // distance from its right edge.
    enum Follow { Right = 1, HalfRight = 2, Wider = 4, Down = 8, Taller = 16 };
    struct Placed {
        QWidget* widget;
        QRect design;
        int follow;
    };
    std::vector<Placed> placed;
    QSize designSize;
};

// Places the controls for the window's size; no smaller than the design's.
void PlaceForSize(const MainControls& controls, QSize size);

// Makes the controls on the window, which takes its design size as its first and least; the list shows the
// store, and a column width the screen cannot give is reported to the prompter.
MainControls BuildMainControls(QDialog& window, LinkStore& store, const CSettings& settings, Prompter& prompter);
