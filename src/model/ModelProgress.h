#pragma once

#include <QString>

// What a long pass over a whole family database tells the window that waits for it: a status line and a share
// done. The model never touches a window; the integrity-check dialog, the event-type index sheet and the import
// window implement this (redrawing, and letting the event loop breathe, inside setPercent), benchmarks and tests
// pass nothing or a recorder.
//
//   struct Bar : ModelProgress { void setStatus(const QString& s) override { ... } void setPercent(int p) override { ... } };
//   Bar bar;
//   moc->validateAllRelationships(&bar, &report);
class ModelProgress {
public:
    virtual ~ModelProgress() = default;
    // The title of the pass now running.
    virtual void setStatus(const QString& text) = 0;
    // 0 to 100; called at the start of a pass and then only when the share has grown by more than the pass's step,
    // so a redraw per call costs little even on a large database.
    virtual void setPercent(int percent) = 0;

    // Counts items of one pass and reports the share when it has grown by more than `step` points.
    //   ModelProgress::Steps steps(progress, items.size(), 1);
    //   for (int i = 0; i < items.size(); ++i) { steps.at(i); ... }
    class Steps {
    public:
        Steps(ModelProgress* progress, qsizetype total, int step)
            : m_progress(progress)
            , m_total(total)
            , m_step(step)
        {
        }
        void at(qsizetype index)
        {
            if (!m_progress || m_total <= 0)
                return;
            const int percent = int(index * 100 / m_total);
            if (percent > m_shown + m_step) {
                m_shown = percent;
                m_progress->setPercent(percent);
            }
        }

    private:
        ModelProgress* m_progress;
        qsizetype m_total;
        int m_step;
        int m_shown = 0;
    };

    // Sets the status and a share of 0, the start of every pass.
    static void begin(ModelProgress* progress, const QString& status)
    {
        if (!progress)
            return;
        progress->setStatus(status);
        progress->setPercent(0);
    }
};
