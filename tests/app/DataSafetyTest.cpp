// A person and the disk at random, in the real window: after every step, every link the
// person made or kept is in the data file, in a file the program named to them, or in the
// window with the window knowing that it is unsaved. Seeded, so that a failure can be
// replayed: NORVELLE_SAFETY_SEED, NORVELLE_SAFETY_SEQUENCES and NORVELLE_SAFETY_STEPS
// choose the run (./dev.sh fuzz runs a long one).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>

#include "app/LinkListCtrl.h"
#include "capture/NativeMessaging.h"
#include "cli/CliCommands.h"
#include "host/HostSession.h"
#include "bench/LoopbackHttpServer.h"
#include "health/CheckLinksDlg.h"
#include <QPushButton>
#include <QTableView>
#include "common/SortedComboBox.h"
#include "common/SortedListBox.h"
#include "import/ImportDlg.h"
#include "options/CategoriesPage.h"
#include "options/OptionsSheet.h"
#include "options/SavingPage.h"
#include "platform/qt/QtEndRequests.h"
#include "search/RecordSearch.h"
#include "sort/SortKeys.h"
#include "store/DataFile.h"
#include "store/FileIO.h"
#include "tests/support/DialogAnswer.h"
#include "tests/support/FileFaults.h"
#include "tests/support/SpinUntil.h"
#include "tests/support/WindowHarness.h"

namespace fs = std::filesystem;

namespace {

using Ids = std::set<int>;

std::string LinkOf(int id) { return "https://n.example/" + std::to_string(id); }

int IdOf(const std::string& link)
{
    const std::string prefix = "https://n.example/";
    if (link.compare(0, prefix.size(), prefix) == 0) return std::atoi(link.c_str() + prefix.size());
    // A link on the test server: "http://127.0.0.1:PORT/n/ID" (a page with a title),
    // ".../missing/n/ID" (a dead one), or its archived copy, which holds it encoded.
    if (link.compare(0, 17, "http://127.0.0.1:") != 0) return -1;
    if (const size_t copy = link.find("%2Fn%2F"); copy != std::string::npos) return std::atoi(link.c_str() + copy + 7);
    const size_t page = link.find("/n/");
    return page != std::string::npos ? std::atoi(link.c_str() + page + 3) : -1;
}

Ids IdsOf(const LinkStore& store)
{
    Ids ids;
    for (int i = 0; i < store.Count(); ++i)
        if (const int id = IdOf(std::string(store.At(i).Link())); id >= 0) ids.insert(id);
    return ids;
}

// The links in a file as another program reads them: what is there, however much of it.
Ids IdsIn(const std::string& path)
{
    LinkStore store;
    FileSource source;
    FakePrompter quiet;
    if (!FileExists(path) || !source.Open(path)) return {};
    (void)ReadDataFile(store, source);
    return IdsOf(store);
}

void WriteIds(const std::string& path, const Ids& ids, bool inPlace)
{
    LinkStore store;
    for (int id : ids) EXPECT_TRUE(store.InsertLink(store.Count(), "T" + std::to_string(id), LinkOf(id), "", "", {0, 1}, {0, 1}));
    StringSink bytes;
    WriteDataFile(store, bytes);
    if (inPlace) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.bytes;
    } else {
        std::ofstream(path + ".other", std::ios::binary) << bytes.bytes;
        fs::rename(path + ".other", path);
    }
}

int EnvOr(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

class Scenario {
    enum class Mode { Reading, Enter, Escape, Random };

public:
    Scenario(WindowHarness& h, unsigned seed) : h(h), m_random(seed)
    {
        // A person who reads each question, or one who presses Enter, or Esc, at every one,
        // or one who does any of these at each.
        m_mode = Mode(m_random() % 4);
        static const char* const kModes[] = {"by reading them", "by Enter", "by Esc", "each in any of these ways"};
        m_log += std::string("Questions answered ") + kModes[int(m_mode)] + "\n";
        // The search looks at the fields the person chose, links and categories too.
        h.settings.WriteInt("Searching", "Link Fields", Pick(2));
        h.settings.WriteInt("Searching", "Category Fields", Pick(2));
        h.settings.WriteString("Archived Copies", "Service", m_server.Url(""));
        h.prompter.answerQuestion = [this](const std::string& text) { return AnswerQuestion(text); };
        h.prompter.answerChoice = [this](const std::string& text, const std::vector<std::string>& buttons) {
            return AnswerChoice(text, buttons);
        };
        m_faults.faultFolder = h.temp.path.string();
        // One state folder for the window and norvelle-cli, as for one person on one
        // computer, where their recovery copies are found.
        const char* state = std::getenv("XDG_STATE_HOME");
        m_stateBefore = state ? state : "";
        m_hadState = state != nullptr;
        setenv("XDG_STATE_HOME", (h.temp.path / "state").c_str(), 1);
        h.paths.state = (h.temp.path / "state" / "norvelle").string();
    }
    ~Scenario()
    {
        if (m_hadState)
            setenv("XDG_STATE_HOME", m_stateBefore.c_str(), 1);
        else
            unsetenv("XDG_STATE_HOME");
    }

    void Run(int steps)
    {
        const Ids start = {Next(), Next(), Next()};
        WriteIds(h.DataPath(), start, false);
        m_model = start;
        h.Open();
        Check("start");
        for (int step = 0; step < steps && !::testing::Test::HasFatalFailure(); ++step) {
            const std::string name = Act();
            if (std::getenv("NORVELLE_SAFETY_TRACE")) std::fprintf(stderr, "%s\n", name.c_str());
            m_log += name + "\n";
            if (m_endedInQuestion) {
                // The window went while a question was open: it is started again.
                SpinUntil([] { return false; }, 10);
                h.Close();
                h.Open();
                SpinUntil([] { return false; }, 10);
                m_endedInQuestion = false;
                m_log += "  started again\n";
            }
            Check(name);
        }
        // The disk comes back, and the program is closed and started again.
        m_faults.failWritesBeyond = -1;
        m_faults.faults.clear();
        Restart();
        Check("final restart");
        h.prompter.answerQuestion = nullptr;
        h.prompter.answerChoice = nullptr;
    }

    int stepsRun = 0;
    int searchesChecked = 0;

private:
    CLinksDlg& Dlg() { return h.Dlg(); }
    int Next() { return m_next++; }
    int Pick(int n) { return int(m_random() % unsigned(n)); }
    std::string Docs() const { return h.paths.docs + "/"; }

    // How this question is answered: as the scenario's person does, or, for one who does
    // anything, by reading it, Enter or Esc at random.
    Mode ModeNow() { return m_mode == Mode::Random ? Mode(Pick(3)) : m_mode; }

    Prompter::Answer AnswerQuestion(const std::string& text)
    {
        using A = Prompter::Answer;
        if (EndDuringQuestion(text)) return A::No;  // the box goes as Esc would close it
        if (const Mode mode = ModeNow(); mode != Mode::Reading) {
            const A answer = mode == Mode::Enter && h.prompter.Messages().back().defaultYes ? A::Yes : A::No;
            m_log += "  " + text.substr(0, 40) + (answer == A::Yes ? ": Yes\n" : ": No\n");
            return answer;
        }
        if (text.rfind("Delete ", 0) == 0) return A::Yes;
        if (text == "Your changes will be lost.  Proceed?") return m_mayLoseChanges ? A::Yes : A::No;
        if (text == "Do you want to exit Norvelle?") return A::Yes;
        if (text.rfind("Add ", 0) == 0) return A::Yes;  // links dropped on the window
        // The archive may be asked, once or for good.
        if (text.rfind("Norvelle will send the addresses", 0) == 0) {
            h.prompter.tickCheckBox = Pick(2) == 0;
            return A::Yes;
        }
        // Never the word to replace a file of links not loaded, or one of another kind.
        return A::No;
    }

    int AnswerChoice(const std::string& text, const std::vector<std::string>& buttons)
    {
        // Enter and Esc both give the default button.
        const int safe = h.prompter.Messages().back().defaultChoice;
        const bool reading = ModeNow() == Mode::Reading && !EndDuringQuestion(text);
        if (text == "Do you want to save your changes?") return reading ? 0 : safe;
        if (text.find("The data file was changed by another program.") != std::string::npos) {
            const int choice = reading ? Pick(3) : safe;
            m_log += "  disk change: " + buttons[size_t(choice)] + "\n";
            // Load It: the person takes the other version and gives up their changes.
            if (choice == 0) m_model = IdsIn(Dlg().Persistence().DataPath());
            return choice;
        }
        if (text.find("A sync tool left a copy") != std::string::npos) {
            const int choice = reading ? Pick(2) : safe;
            m_log += "  conflict copy: " + buttons[size_t(choice)] + "\n";
            if (choice == 0) {
                std::smatch quoted;
                if (std::regex_search(text, quoted, std::regex("\"([^\"]+)\"")))
                    for (int id : IdsIn(quoted[1])) m_model.insert(id);
            }
            return choice;
        }
        if (text.find("already holds") != std::string::npos) {
            if (!reading) m_switchChoice = safe;
            m_log += "  other data file: " + buttons[size_t(m_switchChoice)] + "\n";
            // Replace It: the person gives up the links in that file.
            std::smatch quoted;
            if (m_switchChoice == 1 && std::regex_search(text, quoted, std::regex("\"([^\"]+)\"")))
                for (int id : IdsIn(quoted[1])) m_model.erase(id);
            return m_switchChoice;
        }
        return int(buttons.size()) - 1;
    }

    // Every file that a message named; the links in them count as kept.
    void CollectNamedFiles()
    {
        const std::vector<std::string> texts = h.prompter.Texts();
        static const std::regex quoted("\"([^\"]+)\"");
        for (; m_seenMessages < texts.size(); ++m_seenMessages)
            for (std::sregex_iterator it(texts[m_seenMessages].begin(), texts[m_seenMessages].end(), quoted), end;
                 it != end; ++it)
                m_named.insert((*it)[1]);
    }

    void Check(const std::string& step)
    {
        ++stepsRun;
        CollectNamedFiles();
        const Ids disk = IdsIn(Dlg().Persistence().DataPath());
        const Ids window = IdsOf(Dlg().Store());
        const bool unsaved = Dlg().Store().IsChanged();
        Ids named;
        for (const std::string& path : m_named)
            for (int id : IdsIn(path)) named.insert(id);
        for (int id : m_model) {
            if (disk.count(id) || named.count(id) || (unsaved && window.count(id))) continue;
            ADD_FAILURE() << "link " << id << " is lost after \"" << step << "\": on disk " << disk.size()
                          << " links, in the window " << window.size() << (unsaved ? " (unsaved)" : " (saved)")
                          << ".\nSteps:\n"
                          << m_log;
            return;
        }
        CheckSearch(step);
    }

    // The search box finds what a fresh search finds. The pattern is typed on from the
    // one of the step before, so that a search that narrows from earlier results meets
    // the records that the step changed.
    void CheckSearch(const std::string& step)
    {
        CLinksDlg& dlg = Dlg();
        // What the step left queued (a load empties the Search box) happens first.
        SpinUntil([] { return false; }, 20);
        if (!dlg.isVisible() || dlg.IsSearchBusy() || QApplication::activeModalWidget()) return;
        QLineEdit* edit = dlg.SearchBox()->lineEdit();
        if (m_pattern.size() >= 3 || edit->text().toStdString() != m_pattern) {
            m_pattern.clear();
            edit->clear();
        }
        static const char kKeys[] = "t123456789";
        const char key = kKeys[Pick(int(sizeof kKeys) - 1)];
        m_pattern += key;
        edit->setFocus();
        QTest::keyClicks(edit, QString(QChar(key)));
        SpinUntil([&] { return !dlg.IsSearchBusy(); }, 5000);
        SpinUntil([] { return false; }, 5);
        if (dlg.IsSearchBusy() || QApplication::activeModalWidget()) return;
        // A load that came meanwhile emptied the box, as it does: nothing to compare.
        if (edit->text().toStdString() != m_pattern) {
            m_log += "  the search \"" + m_pattern + "\" was emptied by a load\n";
            m_pattern.clear();
            return;
        }
        const CRecordSearch fresh(SearchOptions::From(dlg.Settings()), m_pattern);
        std::vector<int> expected;
        for (int row = 0; row < dlg.Store().Count(); ++row)
            if (fresh.Matches(std::as_const(dlg.Store()).At(row))) expected.push_back(row);
        const std::vector<int> found = h.SelectedRows();
        if (found != expected)
            ADD_FAILURE() << "the search for \"" << m_pattern << "\" after \"" << step << "\" found " << found.size()
                          << " rows where a fresh search finds " << expected.size() << ".\nSteps:\n"
                          << m_log;
        m_log += "  searched \"" + m_pattern + "\"\n";
        ++searchesChecked;
    }

    // The window's links before and after a step of the person's that changes them.
    void Follow(const Ids& before)
    {
        const Ids after = IdsOf(Dlg().Store());
        for (int id : before)
            if (!after.count(id)) m_model.erase(id);
        for (int id : after)
            if (!before.count(id)) m_model.insert(id);
    }

    // The person loaded another collection, giving up what the window had unsaved: the
    // collection before stays theirs in its file.
    void LoadedAnother(const std::string& before)
    {
        m_named.insert(before);
        const Ids kept = IdsIn(before);
        for (auto it = m_model.begin(); it != m_model.end();) it = kept.count(*it) ? std::next(it) : m_model.erase(it);
        for (int id : IdsOf(Dlg().Store())) m_model.insert(id);
    }

    void InOptions(const std::function<void(COptionsSheet&, CSavingPage&)>& work)
    {
        // A sheet that a failed save offered is dismissed first, as the person would.
        SpinUntil([] { return false; }, 20);
        h.cancelOptions = false;
        DialogAnswer<COptionsSheet> answer([&](COptionsSheet& sheet) {
            work(sheet, *static_cast<CSavingPage*>(sheet.PageAt(COptionsSheet::Saving)));
            if (sheet.isVisible()) sheet.reject();
        });
        QApplication::setActiveWindow(&Dlg());
        Dlg().Options().Open(COptionsController::SavingPage);
        h.cancelOptions = true;
    }

    // Now and then the system ends the program while a question is open; the question
    // then takes the answer that Esc gives.
    bool EndDuringQuestion(const std::string& text)
    {
        // Like a shutdown between steps, only while the disk takes a save: with nowhere to
        // write, links that the system ends are lost whatever the program does.
        const bool canCreate = !m_faults.faults.count("create") || m_faults.faults["create"] == 0;
        if (m_restarting || m_endedInQuestion || m_faults.failWritesBeyond >= 0 || !canCreate || Pick(25) != 0)
            return false;
        m_log += "  the system ends the program at \"" + text.substr(0, 40) + "\"\n";
        m_endedInQuestion = true;
        Dlg().RequestEnd();
        return true;
    }

    void Restart(bool bySignal = false)
    {
        struct Restarting {
            bool& flag;
            ~Restarting() { flag = false; }
        } restarting{m_restarting = true};
        m_mayLoseChanges = false;
        if (bySignal) {
            // A shutdown: the window's own loop runs, as in the program, until the signal
            // has closed it.
            QtEndRequests ends;
            QObject::connect(&ends, &QtEndRequests::endRequested, &Dlg(), &CLinksDlg::RequestEnd);
            QTimer::singleShot(0, [] { std::raise(SIGTERM); });
            Dlg().exec();
        } else {
            Dlg().accept();
            // A save that failed at closing keeps the window open (the person said No).
            if (Dlg().isVisible()) return;
        }
        h.Close();
        h.Open();
        SpinUntil([] { return false; }, 10);
    }

    std::string Act()
    {
        CLinksDlg& dlg = Dlg();
        const int rows = dlg.Store().Count();
        switch (Pick(27)) {
        case 26: return ArchivedCopy();
        case 25: return RecentFileAndBack();
        case 24: return BrowserSaves();
        case 20: return SecondWriter();
        case 21: return EditThenKey();
        case 22: return CategoriesOfTheShownLink();
        case 23: {
            // Undo or Redo while the shown link has a typed edit.
            if (rows == 0) return "Undo with an edit (nothing)";
            h.ClickRow(Pick(rows));
            h.Type(dlg.DescriptionField(), "e");
            const bool redo = Pick(2) == 1;
            const Ids before = IdsOf(dlg.Store());
            dlg.List().setFocus();
            PressKey(dlg, redo ? Qt::Key_Y : Qt::Key_Z);
            Follow(before);
            return redo ? "Redo with an edit" : "Undo with an edit";
        }
        case 0:
        case 1:
        case 2: {
            if (Pick(4) == 0) {
                // Links dragged from a browser onto the window, added as one step.
                // The person may decline them at the question ("Add 2 links?").
                const int a = Next(), b = Next();
                const Ids before = IdsOf(dlg.Store());
                dlg.Import().TakeDroppedLinks({{LinkOf(a), "A"}, {LinkOf(b), ""}});
                for (int id : IdsOf(dlg.Store()))
                    if (!before.count(id) && (id == a || id == b)) m_model.insert(id);
                return "Drop " + std::to_string(a) + ", " + std::to_string(b);
            }
            // Counted before the click: the save that Add may start can ask about another
            // program's version, and Load It gives up this link too.
            const int id = Next();
            m_model.insert(id);
            h.ClickButton(1007);
            dlg.TitleField()->setText(QString::fromStdString("T" + std::to_string(id)));
            dlg.LinkField()->setText(QString::fromStdString(LinkOf(id)));
            h.ClickButton(1026);
            return "Add " + std::to_string(id);
        }
        case 3: {
            if (Pick(4) == 0) {
                // Two links added without titles, which Get Title from Page then gives them
                // as one step.
                const int a = Next(), b = Next();
                std::vector<std::string> links;
                for (int id : {a, b}) {
                    links.push_back(m_server.Url("/n/" + std::to_string(id)));
                    m_model.insert(id);
                    h.ClickButton(1007);
                    dlg.LinkField()->setText(QString::fromStdString(links.back()));
                    h.ClickButton(1026);
                }
                for (int row = 0, picked = 0; row < dlg.Store().Count(); ++row)
                    if (std::find(links.begin(), links.end(), std::as_const(dlg.Store()).At(row).Link()) != links.end())
                        h.ClickRow(row, picked++ ? Qt::ControlModifier : Qt::NoModifier);
                dlg.Health().GetTitleCommand();
                return "Add " + std::to_string(a) + ", " + std::to_string(b) + " without titles, Get Title";
            }
            if (rows == 0) return "Modify (nothing)";
            h.ClickRow(Pick(rows));
            h.Type(dlg.DescriptionField(), "x");
            h.ClickButton(1053);
            return "Modify";
        }
        case 4: {
            if (rows == 0) return "Delete (nothing)";
            const Ids before = IdsOf(dlg.Store());
            if (Pick(6) == 0) {
                PressKey(dlg, Qt::Key_L);
                dlg.OnDelete();
                Follow(before);
                return "Delete every link";
            }
            h.ClickRow(Pick(rows));
            h.KeyInList(Qt::Key_Delete);
            Follow(before);
            return "Delete";
        }
        case 5:
        case 6: {
            const bool redo = Pick(2) == 1;
            const Ids before = IdsOf(dlg.Store());
            dlg.List().setFocus();
            PressKey(dlg, redo ? Qt::Key_Y : Qt::Key_Z);
            Follow(before);
            return redo ? "Redo" : "Undo";
        }
        case 7: {
            const int a = Next(), b = Next();
            // A browser's bookmark file, or its own store, or a service's export (a broken
            // one of which adds nothing).
            const int kind = Pick(4);
            const bool store = kind == 0;
            const std::string file =
                (h.temp.path / (store ? "Bookmarks" + std::to_string(a) : "bookmarks" + std::to_string(a) + ".html")).string();
            if (kind == 2)
                std::ofstream(file) << "title,url,time_added,tags,status\nA," << LinkOf(a) << ",1600000000,,unread\nB,"
                                    << LinkOf(b) << ",,x|y,archive\n";
            else if (kind == 3)
                std::ofstream(file) << "[{\"href\":\"" << LinkOf(a) << "\",\"extended\":\"\",\"time\":\"never\"}]";
            else if (store)
                std::ofstream(file) << "{\"roots\": {\"other\": {\"type\": \"folder\", \"children\": [{\"type\": \"url\", "
                                       "\"name\": \"A\", \"url\": \"" << LinkOf(a) << "\"}, {\"type\": \"url\", \"name\": \"B\", "
                                       "\"url\": \"" << LinkOf(b) << "\"}]}}}";
            else
                std::ofstream(file) << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p><DT><A HREF=\"" << LinkOf(a)
                                    << "\">A</A><DT><A HREF=\"" << LinkOf(b) << "\">B</A></DL>";
            DialogAnswer<CImportDlg> answer([&](CImportDlg& import) {
                import.FileNameField()->setText(QString::fromStdString(file));
                import.Import();
                import.reject();
            });
            if (kind != 3) {
                m_model.insert(a);
                m_model.insert(b);
            }
            QApplication::setActiveWindow(&dlg);
            dlg.Import().ImportCommand();
            return (kind == 3 ? "Import of a broken file " : "Import ") + std::to_string(a) + ", " + std::to_string(b);
        }
        case 8: {
            const std::string copy = Docs() + "copy" + std::to_string(Next()) + ".dat";
            InOptions([&](COptionsSheet&, CSavingPage& page) {
                page.DataFileBox()->setEditText(QString::fromStdString(copy));
                page.Save();
            });
            m_named.insert(copy);
            return "Options: Save a copy, Cancel";
        }
        case 9: {
            const std::string other = Docs() + "other" + std::to_string(Next()) + ".dat";
            WriteIds(other, {Next(), Next()}, false);
            const std::string before = dlg.Persistence().DataPath();
            m_mayLoseChanges = true;
            // OK, or Cancel, which keeps the file loaded (and the next start opens it).
            const bool ok = Pick(2) == 0;
            InOptions([&](COptionsSheet& sheet, CSavingPage& page) {
                page.DataFileBox()->setEditText(QString::fromStdString(other));
                page.Load();
                if (ok) sheet.accept();
            });
            m_mayLoseChanges = false;
            if (dlg.Persistence().DataPath() == other) LoadedAnother(before);
            return ok ? "Options: Load another file, OK" : "Options: Load another file, Cancel";
        }
        case 10: {
            const std::string other = Docs() + "append" + std::to_string(Next()) + ".dat";
            const Ids added = {Next(), Next()};
            WriteIds(other, added, false);
            const Ids before = IdsOf(dlg.Store());
            InOptions([&](COptionsSheet&, CSavingPage& page) {
                page.DataFileBox()->setEditText(QString::fromStdString(other));
                page.Append();
            });
            Follow(before);
            return "Options: Append, Cancel";
        }
        case 11: {
            const bool ok = Pick(2) == 0;
            m_switchChoice = Pick(3);
            const std::string before = dlg.Persistence().DataPath();
            bool taken = false;
            InOptions([&](COptionsSheet& sheet, CSavingPage& page) {
                page.NewFile();
                if (ok) sheet.accept();
                taken = ok && !sheet.isVisible();
            });
            // The collection before stays the person's, in its file; what the window shows
            // now (nothing, or the file loaded instead) is theirs too.
            if (taken) {
                m_named.insert(before);
                for (int id : IdsOf(dlg.Store())) m_model.insert(id);
            }
            return ok ? "Options: New File, OK" : "Options: New File, Cancel";
        }
        case 12: {
            // Another collection of the person's, with links: Load It, Replace It or Cancel.
            const std::string other = Docs() + "switch" + std::to_string(Next()) + ".dat";
            WriteIds(other, {Next()}, false);
            const std::string before = dlg.Persistence().DataPath();
            m_switchChoice = Pick(3);
            m_mayLoseChanges = true;
            InOptions([&](COptionsSheet& sheet, CSavingPage& page) {
                page.DataFileBox()->setEditText(QString::fromStdString(other));
                sheet.accept();
            });
            m_mayLoseChanges = false;
            if (m_switchChoice == 0 && dlg.Persistence().DataPath() == other) LoadedAnother(before);
            return "Options: another data file";
        }
        case 13: {
            if (Pick(3) == 0) {
                // The desktop's session manager asks before the session ends; it may go on.
                dlg.SaveForSessionEnd();
                return "The session manager asks to save";
            }
            dlg.TimedSaveTick();
            SpinUntil([&] { return dlg.SaveJob().IsFinished(); });
            SpinUntil([] { return false; }, 5);
            return "Timed save";
        }
        case 14: {
            // A shutdown leaves no choice to stay and save elsewhere: it comes only while
            // the disk takes a save.
            const bool canCreate = !m_faults.faults.count("create") || m_faults.faults["create"] == 0;
            if (m_faults.failWritesBeyond < 0 && canCreate && Pick(2) == 0) {
                Restart(true);
                return "The system ends the program, and it is started again";
            }
            Restart();
            return "Close and start again";
        }
        case 15:
        case 16: {
            // A sync tool brings another machine's version, by a rename or in place.
            const std::string path = dlg.Persistence().DataPath();
            Ids theirs = IdsIn(path);
            if (!theirs.empty() && Pick(2) == 0) {
                // Deleted on the other machine: a link that only the file held (one that
                // norvelle-cli brought) is gone by the person's own word there.
                if (!IdsOf(dlg.Store()).count(*theirs.begin())) m_model.erase(*theirs.begin());
                theirs.erase(theirs.begin());
            }
            theirs.insert(Next());
            WriteIds(path, theirs, Pick(2) == 0);
            const bool unsaved = dlg.Store().IsChanged() || dlg.IsEdited();
            dlg.Sync().CheckDiskVersion();
            // Nothing unsaved: the window simply follows the file, which is now theirs.
            if (!unsaved) m_model = IdsIn(path);
            return "Another program writes the data file";
        }
        case 17: {
            const fs::path data(dlg.Persistence().DataPath());
            const std::string copy = (data.parent_path() / (data.stem().string() + ".sync-conflict-2026120" +
                                                             std::to_string(Next()) + "-XYZ" + data.extension().string()))
                                         .string();
            WriteIds(copy, {Next()}, false);
            dlg.Sync().CheckConflictCopies();
            return "A conflict copy appears";
        }
        case 18: {
            m_faults.failWritesBeyond = m_faults.failWritesBeyond < 0 ? 0 : -1;
            return m_faults.failWritesBeyond == 0 ? "The disk is full" : "The disk has room again";
        }
        default: {
            const bool readOnly = !m_faults.faults.count("create") || m_faults.faults["create"] == 0;
            m_faults.faults["create"] = readOnly ? EACCES : 0;
            return readOnly ? "The folder lets no new file be made" : "The folder lets files be made again";
        }
        }
    }

    // norvelle-cli importing links into the data file, or sorting it: in the middle of the window's next
    // save (between its check and its replace) or now. Links it reported saved are the
    // person's and must not be lost by either writer.
    std::string SecondWriter()
    {
        const int a = Next(), b = Next();
        const std::string html = (h.temp.path / ("cli" + std::to_string(a) + ".html")).string();
        std::ofstream(html) << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p><DT><A HREF=\"" << LinkOf(a)
                            << "\">A</A><DT><A HREF=\"" << LinkOf(b) << "\">B</A></DL>";
        // An import of two links, or a sort of the file in place (which must lose none).
        const bool sorts = Pick(3) == 0;
        auto import = [this, a, b, html, sorts](const std::string& path) {
            std::ostringstream out, err;
            std::vector<SortKey> keys;
            std::string problem;
            ParseSortKeys("title:desc", keys, problem);
            const int code = sorts ? SortCommand(path, keys, "", err) : ImportBookmarksCommand(html, path, false, out, err);
            m_log += (sorts ? "  norvelle-cli sort: exit " : "  norvelle-cli import " + std::to_string(a) + ", " +
                                                                std::to_string(b) + ": exit ") +
                     std::to_string(code) + "\n";
            if (code == kExitOk && !sorts) {
                m_model.insert(a);
                m_model.insert(b);
            }
            // Files that its messages name are the person's to find, as the window's are.
            static const std::regex quoted("\"([^\"]+)\"");
            const std::string said = err.str();
            for (std::sregex_iterator it(said.begin(), said.end(), quoted), end; it != end; ++it) m_named.insert((*it)[1]);
        };
        if (Pick(2) == 0) {
            // The path now: the window may be going when the save comes (a save at its end).
            m_during = [this, import, data = Dlg().Persistence().DataPath()](const std::string& path) {
                if (path == data)
                    import(path);
                else
                    m_faults.beforeRename = m_during;  // another file's replace: wait for the data file's
            };
            m_faults.beforeRename = m_during;
            if (Pick(2) == 0) return sorts ? "norvelle-cli sorts during the next save" : "norvelle-cli imports during the next save";
            // A link typed and saved at once, as Add does when it reaches the save limit.
            const int id = Next();
            m_model.insert(id);
            h.ClickButton(1007);
            Dlg().TitleField()->setText(QString::fromStdString("T" + std::to_string(id)));
            Dlg().LinkField()->setText(QString::fromStdString(LinkOf(id)));
            h.ClickButton(1026);
            Dlg().Persistence().SaveDataFile();
            return std::string(sorts ? "norvelle-cli sorts" : "norvelle-cli imports") + " during the save of " +
                   std::to_string(id);
        }
        import(Dlg().Persistence().DataPath());
        Dlg().Sync().CheckDiskVersion();
        return sorts ? "norvelle-cli sorts now" : "norvelle-cli imports now";
    }

    // The browser saves a page through its host. Most often the window has the file and
    // takes the link; now and then a host that looked just before the window opened writes
    // the file itself, now or in the middle of the window's next save.
    // A dead link added, checked, its archived copy asked for (if the person agrees) and
    // used: the link changes, the collection keeps it.
    std::string ArchivedCopy()
    {
        CLinksDlg& dlg = Dlg();
        const int id = Next();
        const std::string dead = m_server.Url("/missing/n/" + std::to_string(id));
        h.ClickButton(1007);
        dlg.LinkField()->setText(QString::fromStdString(dead));
        h.ClickButton(1026);
        m_model.insert(id);
        int row = -1;
        for (int i = 0; i < dlg.Store().Count(); ++i)
            if (std::as_const(dlg.Store()).At(i).Link() == dead) row = i;
        if (row < 0) return "Add a dead link (refused)";
        h.ClickRow(row);
        dlg.Health().CheckLinksCommand(true);
        CCheckLinksDlg* check = dlg.Health().CheckLinksWindow();
        if (!check) return "Check a dead link (not opened)";
        SpinUntil([&] { return !check->Running(); }, 3000);
        check->View()->selectAll();
        check->FindArchivedCopies();
        SpinUntil([&] { return !check->LookingUp(); }, 3000);
        check->View()->selectAll();
        const bool used = check->UseArchivedButton()->isEnabled();
        check->UseArchivedCopy();
        check->close();
        return "Archived copy of " + std::to_string(id) + (used ? " used" : " (not asked)");
    }

    std::string BrowserSaves()
    {
        const int id = Next();
        const std::string message = R"({"type":"add","title":"B","url":")" + LinkOf(id) + "\"}";
        const bool intoWindow = Pick(3) != 0;
        auto save = [this, id, message, intoWindow](const std::string& path) {
            std::ostringstream frames;
            WriteFrame(frames, message);
            std::istringstream in(frames.str());
            std::ostringstream out;
            HostEnvironment host{path, [intoWindow] { return intoWindow; },
                                 [this](const std::string& asked, std::string& answer) {
                                     answer = Dlg().AnswerBrowser(asked);
                                     return true;
                                 },
                                 "2.0", h.clock};
            RunHost(in, out, host);
            std::istringstream answers(out.str());
            std::string answer;
            ReadFrame(answers, answer);
            // A link the browser was told is saved is the person's.
            if (answer.find(R"("added":true)") != std::string::npos) m_model.insert(id);
            m_log += "  the browser's host: " + answer.substr(0, 80) + "\n";
        };
        if (intoWindow) {
            save(Dlg().Persistence().DataPath());
            return "The browser saves " + std::to_string(id) + " into the window";
        }
        if (Pick(2) == 0) {
            save(Dlg().Persistence().DataPath());
            Dlg().Sync().CheckDiskVersion();
            return "The browser's host saves " + std::to_string(id) + " into the file now";
        }
        m_during = [this, save, data = Dlg().Persistence().DataPath()](const std::string& path) {
            if (path == data)
                save(path);
            else
                m_faults.beforeRename = m_during;
        };
        m_faults.beforeRename = m_during;
        return "The browser's host saves " + std::to_string(id) + " during the next save";
    }

    // A typed, unstored edit in one of the form's fields, the focus left there, then a
    // move in the list by the keys.
    std::string EditThenKey()
    {
        CLinksDlg& dlg = Dlg();
        const int rows = dlg.Store().Count();
        if (rows == 0) return "Edit, then a key (nothing)";
        h.ClickRow(Pick(rows));
        QWidget* fields[] = {dlg.TitleField(), dlg.DescriptionField(), dlg.CategoryBox()->lineEdit()};
        QWidget* field = fields[Pick(3)];
        h.Type(field, "k");
        field->setFocus();
        h.KeyInList(Pick(2) ? Qt::Key_Down : Qt::Key_Up);
        SpinUntil([] { return false; }, 80);  // the list's retrieval timer
        return "Edit, then a key";
    }

    // A switch to a recent data file and back, as the command menu's numbered entries make
    // it: what the window has unsaved goes into its own file first, or nothing switches.
    std::string RecentFileAndBack()
    {
        CLinksDlg& dlg = Dlg();
        const std::string data = dlg.Persistence().DataPath();
        const std::string other = (h.temp.path / "recent.dat").string();
        if (!fs::exists(other)) WriteIds(other, {Next()}, false);
        if (!dlg.Options().SwitchDataFile(other)) return "Switch to a recent data file (refused)";
        // The links are in the file left behind, whatever happens to the way back.
        m_named.insert(data);
        if (!dlg.Options().SwitchDataFile(data)) return "Switch to a recent data file (and stay there)";
        return "Switch to a recent data file and back";
    }

    // The shown link's category renamed or taken off the list on the Categories page,
    // the focus in the form's Category field.
    std::string CategoriesOfTheShownLink()
    {
        CLinksDlg& dlg = Dlg();
        const int rows = dlg.Store().Count();
        if (rows == 0) return "Categories page (nothing)";
        const std::string name = "C" + std::to_string(Next());
        h.ClickRow(Pick(rows));
        dlg.CategoryBox()->setEditText(QString::fromStdString(name));
        h.ClickButton(1053);
        dlg.CategoryBox()->setFocus();
        const bool rename = Pick(2) == 0;
        InOptions([&](COptionsSheet& sheet, CSavingPage&) {
            sheet.ShowPage(COptionsSheet::Categories);
            auto* page = static_cast<CCategoriesPage*>(sheet.PageAt(COptionsSheet::Categories));
            page->CategoryList()->clearSelection();
            const int row = page->CategoryList()->FindNoCase(QString::fromStdString(name));
            if (row < 0) return;
            page->CategoryList()->setCurrentRow(row);
            if (rename) {
                page->Edit();
                page->RenameBox()->setChecked(true);
                page->NameField()->setText(QString::fromStdString(name + "r"));
                page->Add();
            } else {
                page->CategoryList()->item(row)->setSelected(true);
                page->Delete();
            }
            sheet.accept();
        });
        return rename ? "Rename the shown link's category" : "Take the shown link's category off the list";
    }

    Mode m_mode = Mode::Reading;
    std::string m_pattern;  // in the search box since the last step's check
    std::string m_stateBefore;
    bool m_hadState = false;
    bool m_endedInQuestion = false;
    bool m_restarting = false;
    std::function<void(const std::string&)> m_during;
    WindowHarness& h;
    std::mt19937 m_random;
    LoopbackHttpServer m_server;
    FileFaults m_faults;
    Ids m_model;
    std::set<std::string> m_named;
    size_t m_seenMessages = 0;
    int m_next = 1;
    int m_switchChoice = 2;
    bool m_mayLoseChanges = false;
    std::string m_log;
};

}  // namespace

TEST(DataSafety, RandomSequencesOfAPersonAndTheDiskLoseNoLink)
{
    const unsigned seed = unsigned(EnvOr("NORVELLE_SAFETY_SEED", 1));
    const int sequences = EnvOr("NORVELLE_SAFETY_SEQUENCES", 12);
    const int steps = EnvOr("NORVELLE_SAFETY_STEPS", 40);
    int checked = 0, searched = 0;
    for (int sequence = 0; sequence < sequences && !HasFailure(); ++sequence) {
        WindowHarness h;
        h.settings.WriteInt("Saving", "Save Limit", 3);
        Scenario scenario(h, seed * 7919u + unsigned(sequence));
        scenario.Run(steps);
        checked += scenario.stepsRun;
        searched += scenario.searchesChecked;
        if (HasFailure()) std::printf("seed %u, sequence %d\n", seed, sequence);
    }
    RecordProperty("sequences", sequences);
    RecordProperty("steps checked", checked);
    std::printf("%d sequences, %d steps checked, %d searches compared with a fresh one\n", sequences, checked, searched);
}
