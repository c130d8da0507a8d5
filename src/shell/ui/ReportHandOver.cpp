#include "shell/ui/ReportHandOver.h"

#include "shell/RtfWriter.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

void handOverReport(QWidget* window, QLabel* progressField, const RtfWriter& writer)
{
    if (progressField) {
        // A long path is shortened in its middle to fit the field; the whole message is the field's tool tip.
        const QString message = writer.savedMessage();
        const int width = progressField->contentsRect().width();
        progressField->setText(
            width > 0 ? progressField->fontMetrics().elidedText(message, Qt::ElideMiddle, width) : message);
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
