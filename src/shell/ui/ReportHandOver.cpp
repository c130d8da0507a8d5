#include "shell/ui/ReportHandOver.h"

#include "shell/RtfWriter.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <QWidget>

void handOverReport(QWidget* window, QLabel* progressField, const RtfWriter& writer)
{
    if (progressField) {
        // A long path is shortened in its middle to fit the field; the whole message is the field's tool tip.
        const QString message = writer.savedMessage();
        const int width = progressField->contentsRect().width();
        progressField->setText(message);
        if (width > 0) {
            // Eliding measures advances, the label its drawn size: shrink until the label itself says it fits.
            const QFontMetrics metrics = progressField->fontMetrics();
            for (int room = width; room > 0 && progressField->sizeHint().width() > progressField->width(); room -= 2)
                progressField->setText(metrics.elidedText(message, Qt::ElideMiddle, room));
        }
        progressField->setToolTip(message);
        progressField->repaint();
    }
    writer.handOver();
    if (!window)
        return;
    auto* timer = new QTimer(window);
    timer->setObjectName(QStringLiteral("reportCloseTimer"));
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, window, [window, timer] {
        timer->deleteLater();
        if (window->isVisible())
            window->close();
    });
    timer->start(kReportWindowCloseDelayMs);
}
