#pragma once
#include <string>
#include <utility>
#include <vector>

#include "options/OptionsSheet.h"

struct CSettings;
class CTitleCaser;
class LinkStore;
class Prompter;
class QWidget;
class SettingsBackend;

// What the Options sheet needs of the window and of the data file it works on.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    // Nothing starts while a search is busy.
    virtual bool Busy() = 0;
    // The data file: where saves go now, the default folder, and the Saving page's steps.
    virtual std::string DataPath() = 0;
    virtual std::string DefaultDataFolder() = 0;
    virtual void SetDataPath(const std::string& path) = 0;
    virtual bool SaveDataFileAs(const std::string& path) = 0;
    // Saves into the data file in use; false after its message.
    virtual bool SaveDataFileInUse() = 0;
    virtual bool LoadDataFileFrom(const std::string& path, bool append) = 0;
    virtual void ConfirmReplacing(const std::string& path) = 0;
    // The links leave the window: an empty store, list, history and form.
    virtual void ResetStore() = 0;
    // The file the window had is not the collection's any more.
    virtual void ForgetKnownFile() = 0;
    // The data file in effect changed: the watch and the look for sync copies follow it.
    virtual void FollowDataFile() = 0;
    // The form: a typed edit, stored as Close stores it.
    virtual bool FormEdited() = 0;
    virtual void StoreFormEdit() = 0;
    // The category list was replaced or renamed in the store: the form follows.
    virtual void CategoriesReplaced() = 0;
    virtual void CategoriesRenamed(const std::vector<std::pair<std::string, std::string>>& renames) = 0;
    virtual void BeginListUpdate() = 0;
    virtual void EndListUpdate() = 0;
    // The number format changed: the counts show it at once.
    virtual void ShowCounts() = 0;
    // The sheet closed with OK (before holds the old settings): the window takes the new ones.
    virtual void SettingsChanged(const CSettings& before) = 0;
};

// The window's side of the Options sheet: running it, taking over its values, and what
// its pages do at once to the collection, the settings and the title-case words.
class COptionsController : private OptionsOwner {
public:
    enum Page { SavingPage = 0 };

    COptionsController(OptionsHost& host, LinkStore& store, CSettings& settings, CTitleCaser& titleCaser,
                       SettingsBackend& backend, Prompter& prompter, QWidget* window);

    // Runs the sheet on the given page; a second sheet does not open over the first.
    void Open(Page page);
    // The settings and the title-case words, written where the next start reads them.
    void SaveSettings();
    // Goes on with another known data file, as the Saving page's Load does, after the
    // links not saved yet have gone into the file in use; false (nothing switched) when
    // that save or the load fails.
    bool SwitchDataFile(const std::string& path);

private:
    Prompter& OptionsPrompter() override { return m_prompter; }
    bool SaveDataFileAs(const std::string& path) override { return m_host.SaveDataFileAs(path); }
    bool LoadDataFileFrom(const std::string& path, bool append) override { return m_host.LoadDataFileFrom(path, append); }
    bool HasUnsavedChanges() override;
    int PressCount() override;
    void StartNewCollection() override;
    std::string DefaultFolder() override { return m_host.DefaultDataFolder(); }
    void SetDataFileInEffect(const std::string& path) override { m_host.SetDataPath(path); }
    void ReplaceDataFile(const std::string& path) override;
    void SetKnownDataFiles(const std::vector<std::string>& files) override;
    std::vector<std::string> Categories() override;
    void SetCategories(const std::vector<std::string>& names) override;
    void RenameCategories(std::vector<std::pair<std::string, std::string>>& renames) override;
    void SetNumberFormat(bool useSeparators, const std::string& separator) override;
    std::vector<std::string> Exceptions() override;
    void SetExceptions(const std::vector<std::string>& words) override;

    OptionsHost& m_host;
    LinkStore& m_store;
    CSettings& m_settings;
    CTitleCaser& m_titleCaser;
    SettingsBackend& m_backend;
    Prompter& m_prompter;
    QWidget* m_window;
    bool m_open = false;
};
