#include "health/GetTitleDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/AccessibleName.h"
#include "health/LaunchCheck.h"
#include "common/QtText.h"
#include "platform/Translate.h"

CGetTitleDlg::CGetTitleDlg(std::vector<std::string> links, std::unique_ptr<HttpFetcher> fetcher, CCountFormatter counts,
                           QWidget* parent, CLinkChecker::Options options)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_links(std::move(links)),
      m_fetcher(std::move(fetcher)), m_counts(std::move(counts)),
      m_titles(*m_fetcher, [this](const PageTitleResult& result) { Arrived(result); }, [this] { accept(); }, options,
               [this](std::function<PageInfo()> read, std::function<void(PageInfo)> then) {
                   // A hostile page costs a worker, never the window: Stop and the time
                   // limit keep answering while it is read.
                   m_readers.start([this, read = std::move(read), then = std::move(then)]() mutable {
                       QMetaObject::invokeMethod(
                           this, [then = std::move(then), page = read()]() mutable { then(std::move(page)); },
                           Qt::QueuedConnection);
                   });
               })
{
    m_readers.setMaxThreadCount(2);
    setWindowTitle(QTr("Health", "Get Title from Page"));
    auto* layout = new QVBoxLayout(this);
    m_status = new QLabel(this);
    m_status->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setText(m_links.size() == 1
                          ? QString::fromStdString(Fill(Tr("Health", "Getting the title of %1..."), {VisibleText(m_links.front())}))
                          : QString::fromStdString(m_counts.Plural(int(m_links.size()), Tr("Health", "Getting the titles of %1 link..."), Tr("Health", "Getting the titles of %1 links..."))));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, int(m_links.size()));
    m_progress->setValue(0);
    NameLike(m_progress, QTr("Health", "Pages read"));
    layout->addWidget(m_progress);
    m_stop = new QPushButton(QTr("Health", "&Stop"), this);
    m_stop->setDefault(true);
    layout->addWidget(m_stop, 0, Qt::AlignRight);
    connect(m_stop, &QPushButton::clicked, this, &CGetTitleDlg::Stop);
    // Started once the dialog's loop runs, so that an answer never comes before it.
    QTimer::singleShot(0, this, [this] { m_titles.Start(m_links); });
}

CGetTitleDlg::~CGetTitleDlg()
{
    m_titles.Stop();
    // Every worker has posted its answer before the dialog goes, so none is left holding it.
    m_readers.waitForDone();
}

void CGetTitleDlg::Stop()
{
    m_stopped = m_titles.Running();
    m_titles.Stop();
    accept();
}

void CGetTitleDlg::Arrived(const PageTitleResult& result)
{
    m_results.push_back(result);
    m_progress->setValue(int(m_results.size()));
}
