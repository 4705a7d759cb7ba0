#pragma once

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
};

// Makes the controls on the window, which takes its fixed design size; the list shows the
// store, and a column width the screen cannot give is reported to the prompter.
MainControls BuildMainControls(QDialog& window, LinkStore& store, const CSettings& settings, Prompter& prompter);
