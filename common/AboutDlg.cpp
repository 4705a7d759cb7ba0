#include "common/AboutDlg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "common/QtText.h"
#include "common/AccessibleName.h"
#include "common/DialogUnits.h"
#include "common/StaticLink.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "platform/Translate.h"

CAboutDlg::CAboutDlg(Shell& shell, Clipboard& clipboard, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_clipboard(clipboard), m_prompter(prompter)
{
    setWindowTitle(QTr("Common", "About Norvelle"));
    const DialogUnits du(font());
    setFixedSize(du.X(245), du.Y(95));
    auto label = [&](const QString& text, QRect r) {
        auto* l = new QLabel(text, this);
        l->setTextFormat(Qt::PlainText);
        r.setWidth(std::max(r.width(), l->sizeHint().width()));
        l->setGeometry(r);
        return l;
    };
    auto* icon = new QLabel(this);
    icon->setGeometry(du.Rect(11, 17, 20, 20));
    const QIcon programIcon = qApp->windowIcon().isNull() ? style()->standardIcon(QStyle::SP_DesktopIcon) : qApp->windowIcon();
    icon->setPixmap(programIcon.pixmap(icon->size()));
    m_version = label(QTr("Common", "Norvelle Version %1").arg(NORVELLE_VERSION), du.Rect(40, 10, 119, 8));
    auto* close = new QPushButton(QTr("Common", "Close"), this);
    close->setGeometry(du.Rect(188, 7, 50, 14));
    close->setDefault(true);
    label(QString::fromUtf8("Copyright \u00A9 2026 Quenby Software"), du.Rect(40, 27, 128, 8));
    label(QTr("Common", "For technical support, send e-mail to:"), du.Rect(40, 44, 116, 8));
    m_address = new QLineEdit(NORVELLE_SUPPORT_EMAIL, this);
    m_address->setReadOnly(true);
    NameLike(m_address, QTr("Common", "For technical support, send e-mail to:"));
    m_address->setGeometry(du.Rect(40, 55, 116, 14));
    m_copy = new QPushButton(QTr("Common", "&Copy"), this);
    m_copy->setGeometry(du.Rect(188, 55, 50, 14));
    m_copy->setAutoDefault(false);
    m_link = new CStaticLink(NORVELLE_WEB_ADDRESS, shell, this);
    m_link->setGeometry(du.Rect(40, 80, 116, 8));
    m_link->resize(std::max(m_link->width(), m_link->sizeHint().width()), m_link->height());
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_copy, &QPushButton::clicked, this, &CAboutDlg::Copy);
}

void CAboutDlg::Copy()
{
    m_address->selectAll();
    m_clipboard.SetText(ToBytes(m_address->selectedText()));
    m_address->deselect();
    m_address->setCursorPosition(0);
    m_prompter.Notice(Tr("Common", "This e-mail address has been copied to the clipboard."));
}
