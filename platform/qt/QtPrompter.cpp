#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

Prompter::Answer QtPrompter::Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes)
{
    auto show = [&]() {
        QMessageBox box(m_owner);
        box.setWindowTitle("Norvelle");
        // Texts are the program's own sentences with paths and links in them, never markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(QString::fromStdString(text));
        switch (icon) {
        case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Stop: box.setIcon(QMessageBox::Critical); break;
        case Icon::None: break;
        }
        if (buttons == Buttons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        int result = box.exec();
        if (buttons == Buttons::Ok) return Answer::Ok;
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    };
    if (QThread::currentThread() == qApp->thread()) return show();
    Answer answer = Answer::Ok;
    QMetaObject::invokeMethod(qApp, [&]() { answer = show(); }, Qt::BlockingQueuedConnection);
    return answer;
}
