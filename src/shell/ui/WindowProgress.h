#pragma once

#include "model/ModelProgress.h"

#include <QPointer>

class QLabel;
class QProgressBar;

// The progress of a pass over the database shown in a window's title field and bar, each redrawn at once: the pass
// runs on the main thread, so nothing else would draw them until it ends. Either widget may be null.
class WindowProgress : public ModelProgress {
public:
    WindowProgress(QLabel* title, QProgressBar* bar);
    void setStatus(const QString& text) override;
    void setPercent(int percent) override;

private:
    QPointer<QLabel> m_title;
    QPointer<QProgressBar> m_bar;
};
