#include "app/HelpWindow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "common/AccessibleName.h"
#include "common/QtText.h"

CHelpWindow::CHelpWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)
{
    setWindowTitle(QTr("Main", "Norvelle Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser = new QTextBrowser(this);
    NameLike(m_browser, QTr("Main", "Help"));
    m_browser->setOpenExternalLinks(true);
    QFile help(":/help/norvelle-help.md");
    // The help is the program's own text, written as Markdown; it holds nothing from a
    // record. Its examples of markup are text, not markup.
    if (help.open(QIODevice::ReadOnly))
        m_browser->document()->setMarkdown(QString::fromUtf8(help.readAll()),
                                           QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                                           QTextDocument::MarkdownNoHTML));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addWidget(buttons);
    QSize size(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 36);
    if (QScreen* screen = QGuiApplication::primaryScreen()) size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    m_browser->setFocus();
}

bool CHelpWindow::ShowSection(const QString& heading)
{
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text() != heading) continue;
        // To the end first, so that the heading comes to the top rather than the bottom.
        m_browser->verticalScrollBar()->setValue(m_browser->verticalScrollBar()->maximum());
        QTextCursor at(block);
        m_browser->setTextCursor(at);
        m_browser->ensureCursorVisible();
        return true;
    }
    return false;
}

CHelpWindow* ShowHelp(QWidget* over, const QString& section)
{
    auto* help = over->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!help) help = new CHelpWindow(over);
    help->show();
    help->ShowSection(section);
    help->raise();
    help->activateWindow();
    return help;
}
