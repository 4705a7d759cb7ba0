#pragma once
#include <QApplication>
#include <QTimer>
#include <functional>

// Answers the next modal dialog of the given kind, as a person would, while the code
// under test waits in that dialog's event loop.
template <class Dialog>
class DialogAnswer {
public:
    explicit DialogAnswer(std::function<void(Dialog&)> answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            m_timer.stop();
            seen = true;
            m_answer(*dialog);
        });
        m_timer.start(5);
    }
    bool seen = false;

private:
    std::function<void(Dialog&)> m_answer;
    QTimer m_timer;
};
