#pragma once
#include <QDialog>
#include <QThreadPool>
#include <memory>
#include <string>
#include <vector>

#include "health/PageTitle.h"
#include "options/CountFormatter.h"

class QLabel;
class QProgressBar;
class QPushButton;

// "Get Title from Page": fetches the pages of the links in the background, with a
// progress bar and Stop, and ends by itself when every page has answered. Its results
// are those that arrived before it ended; nothing changes in the list until the window
// takes them.
class CGetTitleDlg : public QDialog {
    Q_OBJECT
public:
    CGetTitleDlg(std::vector<std::string> links, std::unique_ptr<HttpFetcher> fetcher, CCountFormatter counts,
                 QWidget* parent, CLinkChecker::Options options = {});
    ~CGetTitleDlg() override;

    // Stops fetching and ends the dialog with what arrived so far; also Esc and Close.
    void Stop();
    void reject() override { Stop(); }
    bool Stopped() const { return m_stopped; }
    const std::vector<PageTitleResult>& Results() const { return m_results; }
    QProgressBar* Progress() const { return m_progress; }
    QPushButton* StopButton() const { return m_stop; }
    QLabel* StatusLabel() const { return m_status; }

private:
    void Arrived(const PageTitleResult& result);

    std::vector<std::string> m_links;
    std::unique_ptr<HttpFetcher> m_fetcher;
    CCountFormatter m_counts;
    QThreadPool m_readers;  // reads the pages off the window thread
    CPageTitleFetcher m_titles;
    std::vector<PageTitleResult> m_results;
    bool m_stopped = false;
    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_stop;
};
