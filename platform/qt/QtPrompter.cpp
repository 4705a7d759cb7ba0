#include "platform/qt/QtPrompter.h"
#include "common/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace {

// A message's long link or path has no blank to wrap at and would run off its box: an
// invisible break opportunity follows each separator of a long word, and every 40th
// character of a run with none.
QString Breakable(const QString& text)
{
    constexpr int kLongWord = 40;
    const QString separators = QStringLiteral("/\\?&=_.-");
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (int i = 0; i < text.size();) {
        if (text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        int end = i;
        while (end < text.size() && !text[end].isSpace()) ++end;
        const bool longWord = end - i > kLongWord;
        for (int sinceBreak = 0; i < end; ++i) {
            out += text[i];
            ++sinceBreak;
            if (longWord && i + 1 < end && (separators.contains(text[i]) || sinceBreak >= kLongWord)) {
                out += QChar(0x200B);
                sinceBreak = 0;
            }
        }
    }
    return out;
}

// Ctrl+C in a box copies its text as it is, without the break opportunities.
class CopyAsItIs : public QObject {
public:
    CopyAsItIs(QObject* box, QString text) : QObject(box), m_text(std::move(text)) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            QApplication::clipboard()->setText(m_text);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_text;
};

// Every box: the program's name, and its text as plain text (the program's own sentences
// with paths and links in them, never markup) that Ctrl+C copies as it is.
void Prepare(QMessageBox& box, const std::string& text)
{
    box.setWindowTitle(QTr("Platform", "Norvelle"));
    box.setTextFormat(Qt::PlainText);
    box.setText(Breakable(QString::fromStdString(text)));
    new CopyAsItIs(&box, QString::fromStdString(text));
}

// A box is shown on the window thread, whichever thread asks.
template <class Show>
auto OnWindowThread(Show show)
{
    if (QThread::currentThread() == qApp->thread()) return show();
    decltype(show()) answer{};
    QMetaObject::invokeMethod(qApp, [&]() { answer = show(); }, Qt::BlockingQueuedConnection);
    return answer;
}

}  // namespace

Prompter::Answer QtPrompter::Show(const std::string& text, Icon icon, Buttons buttons, bool defaultYes)
{
    if (Unattended()) return UnattendedAnswer(text, buttons, defaultYes);
    auto show = [&]() {
        QMessageBox box(m_owner);
        Prepare(box, text);
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
    return OnWindowThread(show);
}

Prompter::Answer QtPrompter::AskWithCheckBox(const std::string& text, const std::string& checkBox, bool& checked,
                                             bool defaultYes)
{
    checked = false;
    if (Unattended()) return UnattendedAnswer(text, Buttons::YesNo, defaultYes);
    auto show = [&]() {
        QMessageBox box(m_owner);
        Prepare(box, text);
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        auto* check = new QCheckBox(QString::fromStdString(checkBox));
        box.setCheckBox(check);
        const int result = box.exec();
        checked = check->isChecked();
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    };
    return OnWindowThread(show);
}

int QtPrompter::Choose(const std::string& text, const std::vector<std::string>& buttons, int defaultButton)
{
    const int safeIndex = SafeChoice(buttons, defaultButton);
    if (Unattended()) return safeIndex;
    auto show = [&]() {
        QMessageBox box(m_owner);
        Prepare(box, text);
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
    return OnWindowThread(show);
}
