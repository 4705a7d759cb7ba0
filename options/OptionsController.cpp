#include "options/OptionsController.h"

#include "options/Settings.h"
#include "store/LinkStore.h"
#include "store/NaturalCompare.h"
#include "titlecase/TitleCaser.h"

COptionsController::COptionsController(OptionsHost& host, LinkStore& store, CSettings& settings,
                                       CTitleCaser& titleCaser, SettingsBackend& backend, Prompter& prompter,
                                       QWidget* window)
    : m_host(host), m_store(store), m_settings(settings), m_titleCaser(titleCaser), m_backend(backend),
      m_prompter(prompter), m_window(window)
{
}

void COptionsController::SaveSettings() { ::SaveSettings(m_backend, m_settings, m_titleCaser); }

void COptionsController::Open(Page page)
{
    // One sheet at a time: a failed timed save while the sheet is open finds the person there.
    if (m_host.Busy() || m_open) return;
    // A typed edit is stored first, as Close stores it: the sheet's Load and New File then
    // ask about it like any unsaved link.
    m_host.StoreFormEdit();
    m_open = true;
    struct Closed {
        bool& open;
        ~Closed() { open = false; }
    } closed{m_open};
    OptionsValues values{m_settings, m_store.ClearSelection()};
    // The box shows the file in use, also when it is the default one.
    if (values.settings.dataFile.empty()) values.settings.dataFile = m_host.DataPath();
    COptionsSheet sheet(*this, values, m_window);
    sheet.ShowPage(COptionsSheet::Page(page));
    if (sheet.exec() != QDialog::Accepted) {
        // Load, New File or Save As on the Saving page switched files at once: Cancel
        // keeps the other choices as they were, but the window goes on with that file,
        // and so does the next start.
        if (m_host.DataPath() != ConfiguredDataPath(m_settings, m_host.DefaultDataFolder())) {
            m_settings.dataFile = m_host.DataPath();
            SaveSettings();
            m_host.FollowDataFile();
        }
        return;
    }
    const CSettings before = m_settings;
    m_settings = sheet.Values().settings;
    m_settings.dataFile = std::string(TrimView(m_settings.dataFile));
    m_host.SetDataPath(ConfiguredDataPath(m_settings, m_host.DefaultDataFolder()));
    m_host.FollowDataFile();
    m_store.SetClearSelection(sheet.Values().clearSelection);
    m_host.SettingsChanged(before);
    SaveSettings();
}

bool COptionsController::SwitchDataFile(const std::string& path)
{
    if (m_host.Busy() || m_open || path == m_host.DataPath()) return false;
    m_host.StoreFormEdit();
    // Nothing is given up by a switch: the window's changes are saved where they belong.
    if (m_store.IsChanged() && !m_host.SaveDataFileInUse()) return false;
    if (!m_host.LoadDataFileFrom(path, false)) return false;
    m_host.SetDataPath(path);
    m_settings.dataFile = path;
    SaveSettings();
    m_host.FollowDataFile();
    return true;
}

bool COptionsController::HasUnsavedChanges() { return m_store.IsChanged() || m_host.FormEdited(); }

int COptionsController::PressCount() { return m_store.PressCount(); }

void COptionsController::StartNewCollection()
{
    m_host.ResetStore();
    // The file the window had is not this collection's: its links are asked about first.
    m_host.ForgetKnownFile();
}

void COptionsController::ReplaceDataFile(const std::string& path)
{
    m_host.ConfirmReplacing(path);
    // The window's links are to go there: they are unsaved until they do.
    m_store.SetChanged();
}

void COptionsController::SetKnownDataFiles(const std::vector<std::string>& files) { m_settings.dataFiles = files; }

std::vector<std::string> COptionsController::Categories()
{
    auto lock = m_store.Lock();
    return m_store.Categories();
}

void COptionsController::SetCategories(const std::vector<std::string>& names)
{
    auto lock = m_store.Lock();
    m_store.SetCategories(names);
    m_host.CategoriesReplaced();
}

void COptionsController::RenameCategories(std::vector<std::pair<std::string, std::string>>& renames)
{
    auto lock = m_store.Lock();
    const auto applied = renames;
    m_host.BeginListUpdate();
    m_store.RenameCategories(renames);
    m_host.EndListUpdate();
    m_host.CategoriesRenamed(applied);
}

void COptionsController::SetNumberFormat(bool useSeparators, const std::string& separator)
{
    m_settings.useThousandsSep = useSeparators;
    m_settings.thousandsSeparator = separator;
    m_host.ShowCounts();
}

std::vector<std::string> COptionsController::Exceptions()
{
    std::vector<std::string> words;
    m_titleCaser.GetExceptions(words);
    return words;
}

void COptionsController::SetExceptions(const std::vector<std::string>& words) { m_titleCaser.SetExceptions(words); }
