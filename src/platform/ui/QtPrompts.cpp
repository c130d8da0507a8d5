#include "platform/ui/QtPrompts.h"

#include "platform/MainThread.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

namespace {
QWidget* parentWindow() { return QApplication::activeWindow(); }

// A message box grows as wide as its longest unbreakable run of text, and a path or a long name may be wider
// than the screen. Such a run (of more than 40 characters) gets invisible break opportunities after each path
// separator and every 40 characters; other texts, and rich texts, are shown as they are.
QString breakable(const QString& text)
{
    constexpr qsizetype kLongRun = 40;
    if (Qt::mightBeRichText(text))
        return text;
    const QChar zeroWidthSpace(0x200B);
    QString out;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        if (end - start <= kLongRun) {
            out += QStringView(text).sliced(start, end - start);
        } else {
            qsizetype run = 0;
            for (qsizetype i = start; i < end; ++i) {
                const QChar c = text[i];
                out += c;
                ++run;
                const bool separator = c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('|')
                    || c == QLatin1Char('_');
                if (i + 1 < end && !c.isHighSurrogate() && (run >= kLongRun || separator)) {
                    out += zeroWidthSpace;
                    run = 0;
                }
            }
        }
        start = end;
        while (start < text.size() && text[start].isSpace())
            out += text[start++];
    }
    return out;
}

void applyPanelColour(QWidget* w)
{
    const QColor c = UserDefaults::standard().colorForKey(QStringLiteral("panelsBgColour"));
    if (!c.isValid())
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// Sees Escape reach the alert (from whichever of its buttons has the focus): the box itself answers it with its
// escape button, which for an alert of one button is that button, so the answer alone cannot tell.
class EscapeWatch : public QObject {
public:
    bool escaped = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel))
            escaped = true;
        return QObject::eventFilter(watched, event);
    }
};
}

int QtPrompts::runAlert(QMessageBox& box)
{
    EscapeWatch watch;
    box.installEventFilter(&watch);
    const int result = box.exec();
    if (watch.escaped)
        noteEscapedAlert();
    return result;
}

void QtPrompts::message(const QString& text, const QString& info)
{
    // Windows live on the main thread; a worker (the GEDCOM import opening its new database) waits for the answer.
    if (!MainThread::isMainThread()) {
        MainThread::invokeAndWait([&] { message(text, info); });
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kAlertTitle, breakable(text), QMessageBox::Ok, parentWindow());
    box.setInformativeText(breakable(info));
    applyPanelColour(&box);
    runAlert(box);
}

void QtPrompts::messageAsSheet(QObject* window, const QString& text)
{
    auto* parent = qobject_cast<QWidget*>(window);
    auto* box = new QMessageBox(QMessageBox::NoIcon, kAlertTitle, breakable(text), QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    applyPanelColour(box);
    box->open();
}

QDialog* QtPrompts::createShowMeWindow(const QString& windowTitle, const QString& text, QWidget* parent)
{
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("ShowMe");
    dialog->setWindowTitle(windowTitle);
    applyPanelColour(dialog);
    auto* layout = new QVBoxLayout(dialog);
    auto* view = new QPlainTextEdit(text, dialog);
    view->setObjectName("textView");
    view->setReadOnly(true);
    const QColor panel = UserDefaults::standard().colorForKey(QStringLiteral("panelsBgColour"));
    if (panel.isValid()) {
        QPalette p = view->palette();
        p.setColor(QPalette::Base, panel);
        view->setPalette(p);
    }
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog->resize(560, 420);
    return dialog;
}

void QtPrompts::showMe(const QString& windowTitle, const QString& text)
{
    if (!MainThread::isMainThread()) {
        MainThread::invokeAndWait([&] { showMe(windowTitle, text); });
        return;
    }
    std::unique_ptr<QDialog> dialog(createShowMeWindow(windowTitle, text, parentWindow()));
    dialog->exec();
}

int QtPrompts::choose(const QString& text, const QString& info, const QStringList& buttons)
{
    return chooseWithTitle(kAlertTitle, text, info, buttons);
}

int QtPrompts::chooseWithTitle(const QString& windowTitle, const QString& text, const QString& info,
                               const QStringList& buttons)
{
    return chooseWithEscape(windowTitle, text, info, buttons, -1);
}

int QtPrompts::chooseWithEscape(const QString& windowTitle, const QString& text, const QString& info,
                                const QStringList& buttons, int escapeButton)
{
    if (!MainThread::isMainThread()) {
        int answer = 0;
        MainThread::invokeAndWait([&] { answer = chooseWithEscape(windowTitle, text, info, buttons, escapeButton); });
        return answer;
    }
    QMessageBox box(QMessageBox::NoIcon, windowTitle, breakable(text), QMessageBox::NoButton, parentWindow());
    box.setInformativeText(breakable(info));
    applyPanelColour(&box);
    QList<QAbstractButton*> made;
    for (int i = 0; i < buttons.size(); ++i)
        made.append(box.addButton(buttons[i], i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    if (!made.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton*>(made.first()));
    // Without one named, the message box gives Escape to its only reject button, the last of two.
    const bool escapeNamed = escapeButton >= 0 && escapeButton < made.size();
    if (escapeNamed)
        box.setEscapeButton(made[escapeButton]);
    runAlert(box);
    int idx = int(made.indexOf(box.clickedButton()));
    if (idx >= 0)
        return idx;
    return escapeNamed ? escapeButton : int(buttons.size()) - 1;
}
