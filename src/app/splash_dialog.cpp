#include "app/splash_dialog.h"

#include "app/about_dialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvo {

CSplash::CSplash(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("splash");
    // Without a caption the window needs an edge of its own.
    auto* panel = new QFrame(this);
    panel->setObjectName("panel");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);

    auto* start = new QPushButton("Start TarvoIIR", panel);
    start->setObjectName("start");
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &CSplash::accept);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(start);
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(24, 24, 24, 16);
    inner->setSpacing(16);
    inner->addWidget(MakeTitleBlock(panel));
    inner->addLayout(buttonRow);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // A precise timer: a coarse one may run out up to 5 % early.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kCloseAfterMs);
    connect(&m_timer, &QTimer::timeout, this, &CSplash::accept);
}

void CSplash::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_timer.start();
}

// A splash closed early must not end a second time when the timer runs out.
void CSplash::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QDialog::hideEvent(event);
}

void CSplash::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

} // namespace tarvo
