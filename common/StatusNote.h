#pragma once
#include <QLabel>
#include <QTimer>

// A passing note over the foot of an area of its window, not a box to click away: it goes
// by itself after a few seconds. Its text is shown as plain text.
class CStatusNote : public QLabel {
public:
    explicit CStatusNote(QWidget* parent);

    // Shows the text over the foot of the area (in the parent's coordinates).
    void ShowOver(const QString& text, const QRect& area);

private:
    QTimer m_timer;
};
