#pragma once
#include <QDialog>
#include <atomic>
#include <string>
#include <thread>

#include "import/BookmarkImport.h"
#include "import/BrowserProfiles.h"
#include "import/LinkIntake.h"
#include "options/CountFormatter.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class CSortedComboBox;
class CSortedListBox;
class Prompter;

// "Imports Favorites or Bookmarks": a browser profile chosen from those found, or a
// bookmark file named, browsed for or found on a drive, imported with Import; several one
// after another, until Close. options holds the two choices of how links come in, read
// at each Import.
class CImportDlg : public QDialog {
    Q_OBJECT
public:
    CImportDlg(BookmarkTarget target, Prompter& prompter, const CCountFormatter& counts, IntakeOptions& options,
               const std::string& fileName = {}, QWidget* parent = nullptr);
    // Stops the counting of the profiles' links and waits for it.
    ~CImportDlg() override;

    // Lists the profiles; choosing one names its store. Their links are counted on a
    // thread of their own (a store can be large, or hostile), each label telling its
    // number when it is known.
    // skipped: what the search for profiles left out, each shown as a line of its own.
    void SetProfiles(const std::vector<BrowserProfile>& profiles, const std::vector<std::string>& skipped = {});
    bool IsCountingProfiles() const { return m_countsLeft > 0; }

    // Import, or Stop while an import runs.
    void Import();
    bool IsImporting() const { return m_importing; }
    void Browse();
    void Select();
    // Find, or Stop while a search runs.
    void FindBookmarkFiles();
    bool IsSearching() const { return m_searching; }
    void reject() override;

    QListWidget* ProfileList() const { return m_profiles; }
    QCheckBox* KeepDatesBox() const { return m_keepDates; }
    QCheckBox* SkipExistingBox() const { return m_skipExisting; }
    QLineEdit* FileNameField() const { return m_fileName; }
    CSortedComboBox* DriveList() const { return m_drives; }
    QLineEdit* PatternField() const { return m_pattern; }
    QCheckBox* TyposBox() const { return m_typos; }
    QPushButton* FindButton() const { return m_find; }
    CSortedListBox* ResultList() const { return m_results; }
    QPushButton* SelectButton() const { return m_select; }
    QCheckBox* FoldersBox() const { return m_folders; }
    QLabel* StatusLabel() const { return m_status; }
    QPushButton* ImportButton() const { return m_import; }
    QProgressBar* ImportProgress() const { return m_progress; }

private:
    void EnableInputs(bool enabled);
    void StopCounting();

    BookmarkTarget m_target;
    Prompter& m_prompter;
    CCountFormatter m_counts;
    IntakeOptions& m_options;
    std::vector<BrowserProfile> m_profileList;
    std::thread m_counting;
    std::atomic<bool> m_stopCounting{false};
    int m_countsLeft = 0;
    int m_countGeneration = 0;  // which listing a count that arrives belongs to
    bool m_searching = false;
    bool m_stop = false;
    bool m_closing = false;
    bool m_importing = false;
    bool m_stopImport = false;
    QListWidget* m_profiles;
    QCheckBox* m_keepDates;
    QCheckBox* m_skipExisting;
    QLineEdit* m_fileName;
    QPushButton* m_browse;
    CSortedComboBox* m_drives;
    QLineEdit* m_pattern;
    QCheckBox* m_typos;
    QPushButton* m_find;
    CSortedListBox* m_results;
    QPushButton* m_select;
    QCheckBox* m_folders;
    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_import;
};

// The roots a person would search for bookmark files: the home folder first (chosen at
// the start), the file system's root, and each mounted volume.
std::vector<std::string> SearchRoots();
