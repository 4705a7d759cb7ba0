#pragma once
#include "options/OptionsSheet.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class CSortedComboBox;

// "Saving": when changes go to disk, and the data files: New File, Remove, Load,
// Append and Save.
class CSavingPage : public COptionsPage {
    Q_OBJECT
public:
    CSavingPage(OptionsOwner& owner, CSettings& values, QWidget* parent = nullptr);

    bool Leave() override;
    bool Confirm() override;
    void Apply() override;

    void NewFile();
    void Remove();
    void Load();
    void Append();
    void Save();

    QCheckBox* PressesBox() const { return m_presses; }
    QLineEdit* LimitField() const { return m_limit; }
    QCheckBox* TimerBox() const { return m_timer; }
    QComboBox* MinutesList() const { return m_minutes; }
    QCheckBox* CloseBox() const { return m_close; }
    CSortedComboBox* DataFileBox() const { return m_dataFile; }
    QLabel* StatusLabel() const { return m_status; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The Data File text stripped of blanks, or empty when it is no usable name.
    std::string ValidatedName() const;
    void RememberName();
    void UpdateEnabling();
    void UpdateStatus();
    void StepLimit(int step);

    OptionsOwner& m_owner;
    CSettings& m_values;
    // Load: true when the named file is now the window's.
    bool LoadNamed();
    // A New File that OK makes real (and Cancel forgets): the window is emptied then.
    void StartPendingNewFile();

    std::string m_inEffect;  // the data file the window's links belong to
    bool m_newFile = false;  // New File was pressed; the window is emptied at OK
    bool m_replace = false;  // the person chose Replace It for the data file named
    QCheckBox* m_presses;
    QLineEdit* m_limit;
    QWidget* m_limitArrows;
    QCheckBox* m_timer;
    QComboBox* m_minutes;
    QCheckBox* m_close;
    CSortedComboBox* m_dataFile;
    QLabel* m_status;
};
