#pragma once
#include <QObject>
#include <QPoint>
#include <functional>

#include "app/MainControls.h"

// The main window's keys, seen before the focused control so that Ctrl+Z in a field can be
// the program's Undo: Esc, the command menu's keys, the commands' Ctrl keys and the
// fields' own editing keys. In every window of the program, an Alt key that no control
// took types nothing.
class CWindowKeys : public QObject {
public:
    struct Actions {
        std::function<void()> exit;                 // Esc with no search to take back
        std::function<void()> showMenu;             // Alt+Space and F10
        std::function<void(int)> command;           // a command's Ctrl key
        std::function<bool()> takeBackSearch;       // Esc in the Search box; false when empty
        std::function<void()> help;                 // F1, in any window of the program
    };

    // Watches every key of the program until it goes.
    CWindowKeys(QWidget& window, const MainControls& controls, Actions actions);
    ~CWindowKeys() override;

    // The command menu's Move: the arrow keys move the window (Ctrl for a finer step),
    // Enter ends there, Esc puts it back.
    void StartKeyboardMove();
    bool Moving() const { return m_moving; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A Ctrl key that a text field of the window takes for its own editing; true when taken.
    bool FieldKey(QWidget* widget, int key);
    bool MoveKey(int key, Qt::KeyboardModifiers mods);

    QWidget& m_window;
    const MainControls& m_ui;
    Actions m_actions;
    bool m_moving = false;
    QPoint m_moveFrom;
};
