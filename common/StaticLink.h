#pragma once
#include <QLabel>
#include <string>

class Shell;

// A text that behaves like a link in a web page: underlined, blue until it has been
// opened and purple afterwards, a hand pointer over it, and a click opens its target
// (or, when that fails or there is none, its own text) with the desktop's opener.
// When nothing can be opened it beeps. Tab reaches it, Enter or Space opens it, and a
// screen reader meets it as a link.
class CStaticLink : public QLabel {
    Q_OBJECT
public:
    CStaticLink(const QString& text, Shell& shell, QWidget* parent = nullptr, std::string target = {});

    bool Visited() const { return m_visited; }
    const std::string& Target() const { return m_target; }
    // Opens the target as a click does; true when something was opened.
    bool Open();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetColour();

    Shell& m_shell;
    std::string m_target;
    bool m_visited = false;
};
