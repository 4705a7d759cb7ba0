#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class CStaticLink;
class Clipboard;
class Prompter;
class Shell;

// "About Norvelle": the name and version, the support address with a Copy button, and
// the web address as a link.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(Shell& shell, Clipboard& clipboard, Prompter& prompter, QWidget* parent = nullptr);

    QLabel* VersionLabel() const { return m_version; }
    QLineEdit* AddressField() const { return m_address; }
    QPushButton* CopyButton() const { return m_copy; }
    CStaticLink* WebLink() const { return m_link; }

private:
    void Copy();

    Clipboard& m_clipboard;
    Prompter& m_prompter;
    QLabel* m_version;
    QLineEdit* m_address;
    QPushButton* m_copy;
    CStaticLink* m_link;
};
