#pragma once
#include <QObject>

class QSocketNotifier;

// The system's requests that the program end, told on the event loop. On Unix these are
// SIGTERM (a shutdown or a logout), SIGHUP (its terminal closed) and SIGINT (Ctrl+C in
// it), each of which would otherwise end the process where it stands and lose whatever
// is not saved yet. A signal that was ignored when the program started (nohup) stays
// ignored. One object at a time; the handlers before it come back when it goes.
class QtEndRequests : public QObject {
    Q_OBJECT
public:
    explicit QtEndRequests(QObject* parent = nullptr);
    ~QtEndRequests() override;

signals:
    void endRequested();

private:
    void Drain();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
