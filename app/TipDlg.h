#pragma once
#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class Prompter;
struct CSettings;

// "Tip of the Day": one tip at a time, First, Previous and Next, and whether it opens
// at every start.
class CTipDlg : public QDialog {
    Q_OBJECT
public:
    CTipDlg(std::vector<std::string> tips, int index, bool showAtStartup, QWidget* parent = nullptr);

    int Index() const { return m_index; }
    bool ShowAtStartup() const;

    QCheckBox* ShowBox() const { return m_show; }
    QPlainTextEdit* TipField() const { return m_tip; }
    QLabel* CountLabel() const { return m_count; }
    QPushButton* FirstButton() const { return m_first; }
    QPushButton* PreviousButton() const { return m_previous; }
    QPushButton* NextButton() const { return m_next; }
    QPushButton* CloseButton() const { return m_close; }

private:
    void Show(int index);

    std::vector<std::string> m_tips;
    int m_index = 0;
    QCheckBox* m_show;
    QPlainTextEdit* m_tip;
    QLabel* m_count;
    QPushButton* m_first;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_close;
};

// Shows the Tip of the Day from the first of the folders that holds "NVLTips.txt" and
// updates "Show Day Tip" (only when closed with Close) and "Day Tip Index" (always).
// Reading errors are reported and end the showing. True when it ended with Close.
bool ShowTipOfTheDay(QWidget* parent, Prompter& prompter, const std::vector<std::string>& folders,
                     CSettings& settings);
