#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

Prompter::Answer QtPrompter::Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes)
{
    if (Unattended()) return UnattendedAnswer(text, buttons, defaultYes);
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

int QtPrompter::Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton)
{
    const int safeIndex = SafeChoice(buttons, defaultButton);
    if (Unattended()) return safeIndex;
    auto show = [&]() {
        QMessageBox box(m_owner);
        box.setWindowTitle("Norvelle");
        box.setTextFormat(Qt::PlainText);
        box.setText(QString::fromStdString(text));
        box.setIcon(QMessageBox::Question);
        std::vector<QPushButton*> added;
        for (const std::string& caption : buttons)
            added.push_back(box.addButton(QString::fromStdString(caption), QMessageBox::AcceptRole));
        if (added.empty()) return -1;
        // Enter and Esc give the same answer: the one that keeps the person's links.
        QPushButton* safe = added[size_t(safeIndex)];
        box.setDefaultButton(safe);
        box.setEscapeButton(safe);
        box.exec();
        for (size_t i = 0; i < added.size(); ++i)
            if (box.clickedButton() == added[i]) return int(i);
        return safeIndex;
    };
    if (QThread::currentThread() == qApp->thread()) return show();
    int answer = -1;
    QMetaObject::invokeMethod(qApp, [&]() { answer = show(); }, Qt::BlockingQueuedConnection);
    return answer;
}
