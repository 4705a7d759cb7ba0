#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>

// Runs the event loop until done() holds or the time is up; what done() says then.
template <class Done>
bool SpinUntil(Done done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
