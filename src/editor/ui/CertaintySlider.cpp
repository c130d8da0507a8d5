#include "editor/ui/CertaintySlider.h"

#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

CertaintySlider::CertaintySlider(QWidget* parent)
    : QWidget(parent)
    , m_slider(new QSlider(Qt::Horizontal))
    , m_value(new QLabel)
{
    m_slider->setObjectName(QStringLiteral("slider"));
    m_slider->setRange(0, 100);
    m_slider->setPageStep(10);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(10);
    m_value->setMinimumWidth(m_value->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_value->setText(QStringLiteral("%1%").arg(value));
        if (!m_slider->isSliderDown())
            Q_EMIT chosen(value);
    });
    connect(m_slider, &QSlider::sliderReleased, this, [this] { Q_EMIT chosen(m_slider->value()); });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(LocalizedString(QStringLiteral("Certainty"))));
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_value);
}

int CertaintySlider::value() const
{
    return m_slider->value();
}

void CertaintySlider::showValue(int value, bool known)
{
    const QSignalBlocker block(m_slider);
    m_slider->setValue(value);
    m_value->setText(known ? QStringLiteral("%1%").arg(value) : QString());
}
