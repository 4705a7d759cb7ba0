#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleFactory>
#include <cstdlib>

#include "common/AboutDlg.h"
#include "common/StaticLink.h"
#include "common/Translations.h"
#include "app/TipDlg.h"
#include "import/ImportDlg.h"
#include "sort/SortDlg.h"
#include "stats/StatisticsDlg.h"
#include "tests/support/WindowHarness.h"
#include "undo/UndoPreviewDlg.h"

namespace {

std::string Describe(QWidget* w)
{
    std::string text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = " \"" + label->text().toStdString() + "\"";
    if (auto* button = qobject_cast<QAbstractButton*>(w)) text = " \"" + button->text().toStdString() + "\"";
    return w->metaObject()->className() + text;
}

// Every control of the container lies inside it, shows its whole caption, and no two
// overlap (a group box only frames the controls laid over it).
void ExpectTidy(QWidget& container, const std::string& name)
{
    std::vector<QWidget*> controls;
    for (QObject* child : container.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow() || !widget->isVisibleTo(&container)) continue;
        controls.push_back(widget);
        const QRect r = widget->geometry();
        EXPECT_TRUE(container.rect().contains(r)) << name << ": " << widget->metaObject()->className() << " outside";
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)) {
            const QString text = qobject_cast<QLabel*>(widget) ? static_cast<QLabel*>(widget)->text()
                                                                : static_cast<QAbstractButton*>(widget)->text();
            // (The command menu's arrow button is smaller than Qt would make it, by design.)
            if (!text.isEmpty()) {
                EXPECT_GE(r.width(), widget->sizeHint().width()) << name << ": " << Describe(widget) << " clipped";
            }
            EXPECT_GE(r.height(), widget->fontMetrics().height()) << name << ": \"" << text.toStdString() << "\" too low";
        }
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (qobject_cast<QGroupBox*>(controls[i]) || qobject_cast<QGroupBox*>(controls[j])) continue;
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << name << ": " << Describe(controls[i]) << " overlaps " << Describe(controls[j]);
        }
}


// Every window in the font of the moment shows its captions whole and apart.
void ExpectEveryWindowTidy()
{
    {
        WindowHarness h;
        h.WriteDataFile({"one", "two"});
        CLinksDlg& dlg = h.Open();
        ExpectTidy(dlg, "main window");

        CTipDlg tip({"A tip."}, 0, true, &dlg);
        ExpectTidy(tip, "Tip of the Day");
        IntakeOptions intake;
        CAboutDlg about(h.shell, h.clipboard, h.prompter, &dlg);
        ExpectTidy(about, "About");
        for (QDialog* dialog : std::initializer_list<QDialog*>{
                 new CSortDlg(const_cast<SortKeyTable&>(dlg.Sorter().SortKeys()), {"Title", "Category", "Description", "Added", "Last Modified"}, &dlg),
                 new CStatisticsDlg({{"TOTAL", 2}}, CCountFormatter(dlg.Settings()), &dlg),
                 new CUndoPreviewDlg(false, "Delete", StepEffect::Deletes, {&dlg.Store().At(0)}, CCountFormatter(dlg.Settings()), &dlg),
                 static_cast<QDialog*>(new CImportDlg(BookmarkTarget{}, h.prompter, CCountFormatter(dlg.Settings()),
                                                      intake, {}, &dlg))}) {
            dialog->show();
            ExpectTidy(*dialog, dialog->windowTitle().toStdString());
            delete dialog;
        }
        EXPECT_TRUE(h.VisitOptionsPages([](QDialog&, QWidget& page, const std::string& tab) { ExpectTidy(page, tab); }));
    }
}

}  // namespace

// Also run with QT_SCALE_FACTOR=2 (see tests/CMakeLists.txt).
TEST(Layout, EveryWindowReadsWellWithALargeFont)
{
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSize(14);
    QApplication::setFont(large);
    ExpectEveryWindowTidy();
    QApplication::setFont(original);
}

// German's longer words fit too: no caption is cut, none overlaps another.
TEST(Layout, EveryWindowFitsItsGermanTexts)
{
    ASSERT_TRUE(UseLanguage(QLocale(QLocale::German, QLocale::Germany)));
    ExpectEveryWindowTidy();
    UseLanguage(QLocale(QLocale::English));
}

namespace {

// Every caption, field and link of the window is drawn in a colour that stands out from
// what it is drawn on.
void ExpectReadable(QWidget& window, const std::string& name)
{
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) continue;
        const QPalette& p = widget->palette();
        QColor text, ground;
        if (qobject_cast<QLabel*>(widget)) {
            text = p.color(widget->foregroundRole());
            ground = window.palette().color(QPalette::Window);
        } else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget)) {
            text = p.color(QPalette::Text);
            ground = p.color(QPalette::Base);
        } else if (qobject_cast<QAbstractButton*>(widget)) {
            text = p.color(QPalette::ButtonText);
            ground = p.color(QPalette::Button);
        } else {
            continue;
        }
        EXPECT_GE(std::abs(text.lightness() - ground.lightness()), 90) << name << ": " << Describe(widget);
    }
}

}  // namespace

TEST(Layout, EveryWindowReadsWellOnADarkDesktop)
{
    const QPalette original = QApplication::palette();
    const QString originalStyle = QApplication::style()->name();
    QStyle* fusion = QStyleFactory::create("Fusion");
    QApplication::setStyle(fusion);
    QPalette dark = fusion->standardPalette();
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(25, 25, 25));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(55, 55, 55));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Link, QColor(120, 170, 255));
    dark.setColor(QPalette::LinkVisited, QColor(200, 150, 255));
    QApplication::setPalette(dark);
    {
        WindowHarness h;
        h.WriteDataFile({"one", "two"});
        CLinksDlg& dlg = h.Open();
        ExpectReadable(dlg, "main window");
        CAboutDlg about(h.shell, h.clipboard, h.prompter, &dlg);
        ExpectReadable(about, "About");
        EXPECT_EQ(about.WebLink()->palette().color(QPalette::WindowText), QColor(120, 170, 255));
        CTipDlg tip({"A tip."}, 0, true, &dlg);
        ExpectReadable(tip, "Tip of the Day");
        EXPECT_TRUE(h.VisitOptionsPages([](QDialog& sheet, QWidget&, const std::string& tab) { ExpectReadable(sheet, tab); }));
    }
    QApplication::setStyle(originalStyle);
    QApplication::setPalette(original);
}
