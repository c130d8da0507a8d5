#include "shell/ui/WindowProgress.h"

#include <QLabel>
#include <QProgressBar>

WindowProgress::WindowProgress(QLabel* title, QProgressBar* bar)
    : m_title(title)
    , m_bar(bar)
{
}

void WindowProgress::setStatus(const QString& text)
{
    if (!m_title)
        return;
    m_title->setText(text);
    m_title->repaint();
}

void WindowProgress::setPercent(int percent)
{
    if (!m_bar)
        return;
    m_bar->setValue(qBound(0, percent, 100));
    m_bar->repaint();
}
