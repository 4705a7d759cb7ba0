#include "app/TipDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "common/QtText.h"
#include "common/AccessibleName.h"
#include "common/DialogUnits.h"
#include "app/TipFile.h"
#include "options/Settings.h"
#include "platform/Prompter.h"
#include "store/FileIO.h"
#include "session/Persistence.h"
#include "platform/Translate.h"

CTipDlg::CTipDlg(std::vector<std::string> tips, int index, bool showAtStartup, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_tips(std::move(tips))
{
    setWindowTitle(QTr("Main", "Tip of the Day"));
    const DialogUnits du(font());
    setFixedSize(du.X(245), du.Y(151));
    m_show = new QCheckBox(QTr("Main", "&Show tips on start-up.  (May be changed on Options screen.)"), this);
    m_show->setGeometry(du.Rect(7, 7, 207, 10));
    m_show->setChecked(showAtStartup);
    // A font wider than the design's must not clip the caption: the dialog grows instead.
    if (m_show->sizeHint().width() > m_show->width()) {
        m_show->resize(m_show->sizeHint().width(), m_show->height());
        setFixedSize(std::max(width(), m_show->geometry().right() + du.X(7)), height());
    }
    m_tip = new QPlainTextEdit(this);
    m_tip->setGeometry(du.Rect(7, 24, 232, 86));
    m_tip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_tip->setTabChangesFocus(true);
    // A tip is read, not edited: typing there would change only what is shown.
    m_tip->setReadOnly(true);
    NameLike(m_tip, QTr("Main", "Tip"));
    m_count = new QLabel(this);
    m_count->setGeometry(du.Rect(128, 114, 110, 8));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto button = [this](const QString& text, QRect r) { return PlaceButton(this, text, r); };
    m_first = button(QTr("Main", "&First"), du.Rect(7, 130, 50, 14));
    m_previous = button(QTr("Main", "&Previous"), du.Rect(68, 130, 50, 14));
    m_next = button(QTr("Main", "&Next"), du.Rect(129, 130, 50, 14));
    m_close = button(QTr("Main", "Close"), du.Rect(190, 130, 50, 14));
    m_close->setDefault(true);
    connect(m_first, &QPushButton::clicked, this, [this] { Show(0); });
    connect(m_previous, &QPushButton::clicked, this, [this] { Show(m_index - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { Show(m_index + 1); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    // A stored index past the end starts again at the first tip.
    Show(index >= 0 && index < int(m_tips.size()) ? index : 0);
}

bool CTipDlg::ShowAtStartup() const { return m_show->isChecked(); }

void CTipDlg::Show(int index)
{
    if (index < 0 || index >= int(m_tips.size())) return;
    m_index = index;
    m_tip->setPlainText(DescriptionToField(m_tips[size_t(index)]));
    const bool previous = index > 0, next = index + 1 < int(m_tips.size());
    // A button that disables itself hands the focus on rather than to the tip.
    if ((m_previous->hasFocus() && !previous) || (m_next->hasFocus() && !next)) m_first->setFocus();
    m_previous->setEnabled(previous);
    m_next->setEnabled(next);
    m_count->setText(QTr("Main", "Tip %1 of %2").arg(index + 1).arg(m_tips.size()));
}

bool ShowTipOfTheDay(QWidget* parent, Prompter& prompter, const std::vector<std::string>& folders,
                     CSettings& settings)
{
    std::string path;
    for (const std::string& folder : folders) {
        std::string candidate = folder.empty() || folder.back() == '/' ? folder + "NVLTips.txt" : folder + "/NVLTips.txt";
        if (path.empty()) path = candidate;  // named in the message when no folder has it
        if (FileExists(candidate)) {
            path = candidate;
            break;
        }
    }
    std::vector<std::string> tips;
    bool closed = false;
    int index = settings.dayTipIndex;
    switch (path.empty() ? TipsResult::Empty : ReadTipsFile(path, tips)) {
    case TipsResult::OpenFailed: prompter.Error(FormatPathMessage(Tr("Main", "Could not open \"%.259s\"."), path)); break;
    case TipsResult::ReadFailed: prompter.Error(FormatPathMessage(Tr("Main", "Could not read from \"%.259s\"."), path)); break;
    case TipsResult::Empty: prompter.Error(Tr("Main", "Could not load Tip of the Day file.")); break;
    case TipsResult::Ok: {
        CTipDlg dlg(std::move(tips), index, settings.showDayTip, parent);
        closed = dlg.exec() == QDialog::Accepted;
        if (closed) settings.showDayTip = dlg.ShowAtStartup();
        index = dlg.Index();
        break;
    }
    }
    // The next showing starts after the tip seen last; past the end it wraps to the first.
    settings.dayTipIndex = index < std::numeric_limits<int>::max() ? index + 1 : 0;
    return closed;
}
