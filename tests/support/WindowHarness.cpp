#include "tests/support/WindowHarness.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/LinkListCtrl.h"
#include "options/OptionsSheet.h"
#include "bench/DataGen.h"
#include "store/DataFile.h"
#include "store/FileIO.h"

Shell::Error FakeShell::Open(const std::string& target)
{
    std::lock_guard lock(m_mutex);
    m_opened.push_back(target);
    return answer;
}

std::vector<std::string> FakeShell::Opened() const
{
    std::lock_guard lock(m_mutex);
    return m_opened;
}

WindowHarness::WindowHarness()
    : paths((temp.path / "Documents").string()),
      services{prompter, settings, clock, paths, shell, clipboard}
{
    std::filesystem::create_directories(temp.path / "Documents");
    // The tip of the day and the timers stay out of the way unless a test wants them.
    settings.WriteInt("Misc", "Show Day Tip", 0);
    settings.writeOrder.clear();
    QObject::connect(&m_optionsWatch, &QTimer::timeout, [this] {
        auto* sheet = qobject_cast<COptionsSheet*>(QApplication::activeModalWidget());
        if (!sheet || !cancelOptions) return;
        ++optionsOpened;
        sheet->reject();
    });
    m_optionsWatch.start(5);
}

WindowHarness::~WindowHarness()
{
    if (m_dlg) Close();
}

CLinksDlg& WindowHarness::Open()
{
    m_dlg = std::make_unique<CLinksDlg>(services);
    m_dlg->show();
    QApplication::setActiveWindow(m_dlg.get());
    QApplication::processEvents();
    return *m_dlg;
}

void WindowHarness::Close()
{
    if (m_dlg->isVisible()) m_dlg->accept();
    m_dlg.reset();
}

std::string WindowHarness::DataPath() const { return (temp.path / "Documents" / "Norvelle.dat").string(); }

void WindowHarness::WriteDataFile(const std::vector<std::string>& titles, int categories)
{
    LinkStore store;
    for (int c = 0; c < categories; ++c) store.InsertCategorySorted("Cat" + std::to_string(c));
    for (size_t i = 0; i < titles.size(); ++i)
        EXPECT_TRUE(store.InsertLink(store.Count(), titles[i], "http://example.com/" + std::to_string(i), "Description " + std::to_string(i),
                         categories ? "Cat" + std::to_string(int(i) % categories) : "", {0, 39814.0 + double(i)},
                         {0, 39969.5 + double(i)}));
    AtomicFileWriter writer(false);
    ASSERT_TRUE(writer.Open(DataPath()) && ::WriteDataFile(store, writer) && writer.Commit());
}

void WindowHarness::WriteRecords(const std::vector<CAnnotatedLink>& records)
{
    LinkStore store;
    for (const CAnnotatedLink& r : records)
        EXPECT_TRUE(store.InsertLink(store.Count(), r.Title(), r.Link(), r.Description(), r.Category(), r.Added(), r.Modified()));
    AtomicFileWriter writer(false);
    ASSERT_TRUE(writer.Open(DataPath()) && ::WriteDataFile(store, writer) && writer.Commit());
}

void WindowHarness::WriteGeneratedFile(int count) { ASSERT_TRUE(::WriteGeneratedFile(DataPath(), count)); }

void WindowHarness::ClickRow(int row, Qt::KeyboardModifiers modifiers)
{
    CLinkListCtrl& list = m_dlg->List();
    list.EnsureRowVisible(row);
    QRect rect = list.visualRect(list.Model().index(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, rect.center());
}

void WindowHarness::DoubleClickRow(int row)
{
    // A double-click starts with a click, which retrieves the row.
    ClickRow(row);
    CLinkListCtrl& list = m_dlg->List();
    QRect rect = list.visualRect(list.Model().index(row, 0));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void WindowHarness::KeyInList(int key, Qt::KeyboardModifiers modifiers)
{
    m_dlg->List().setFocus();
    QTest::keyClick(&m_dlg->List(), Qt::Key(key), modifiers);
}

void WindowHarness::ClickButton(int id) { QTest::mouseClick(m_dlg->Button(id), Qt::LeftButton); }

void WindowHarness::Type(QWidget* field, const QString& text)
{
    field->setFocus();
    // A field shows its beginning; a user adding to it goes to its end first.
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->end(false);
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(field, Qt::Key_Return);
        for (QChar c : lines[i]) {
            // QTest knows keys for ASCII only; other characters arrive as text.
            if (c.unicode() < 0x80)
                QTest::keyClick(field, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

std::vector<int> WindowHarness::SelectedRows() { return m_dlg->List().States().SelectedRows(); }

std::string WindowHarness::Label(int id)
{
    QLabel* label = id == 1096 ? m_dlg->TotalLabel() : id == 1083 ? m_dlg->SelectedLabel() : m_dlg->DateLabel();
    return label->text().toStdString();
}

void PressKey(CLinksDlg& dlg, int key, Qt::KeyboardModifiers mods)
{
    if (!dlg.isActiveWindow()) QApplication::setActiveWindow(&dlg);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &dlg;
    QTest::keyClick(target, Qt::Key(key), mods);
}

std::vector<std::string> Titles(CLinksDlg& dlg)
{
    std::vector<std::string> titles;
    for (int i = 0; i < dlg.Store().Count(); ++i) titles.emplace_back(dlg.Store().At(i).Title());
    return titles;
}

std::vector<std::string> TitlesIn(const std::string& path)
{
    LinkStore store;
    FileSource source;
    FakePrompter quiet;
    std::vector<std::string> titles;
    if (!source.Open(path)) return titles;
    (void)ReadDataFile(store, source);
    for (int i = 0; i < store.Count(); ++i) titles.emplace_back(store.At(i).Title());
    return titles;
}

bool WindowHarness::VisitOptionsPages(const std::function<void(QDialog& sheet, QWidget& page, const std::string& caption)>& visit)
{
    const bool cancelled = cancelOptions;
    cancelOptions = false;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<COptionsSheet*>(QApplication::activeModalWidget());
        if (!sheet) return;
        seen = true;
        auto* tabs = sheet->findChild<QTabWidget*>();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            visit(*sheet, *sheet->PageAt(COptionsSheet::Page(i)), tabs->tabText(i).toStdString());
        }
        sheet->reject();
    });
    Dlg().Options().Open(COptionsController::SavingPage);
    cancelOptions = cancelled;
    return seen;
}
