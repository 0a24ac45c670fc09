#include "views/placeholder_pane.h"

#include <QPainter>

namespace tarvo {

PlaceholderPane::PlaceholderPane(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void PlaceholderPane::SetTexts(const QString& heading, const QString& body) {
    if (heading == heading_ && body == body_) return;
    heading_ = heading;
    body_ = body;
    update();
}

QSize PlaceholderPane::sizeHint() const {
    return {320, 240};
}

QSize PlaceholderPane::minimumSizeHint() const {
    // Splitters keep a pane at least this small; the layout decides the rest.
    return {0, 0};
}

void PlaceholderPane::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(8, 8, -8, -8);
    QFont headingFont = font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(font().pointSizeF() * 1.2);
    const int headingHeight = QFontMetrics(headingFont).height();
    const int bodyHeight = QFontMetrics(font()).height() * 2;
    const int top = area.top() + std::max(0, (area.height() - headingHeight - bodyHeight) / 2);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(headingFont);
    painter.drawText(QRect(area.left(), top, area.width(), headingHeight), Qt::AlignCenter,
                     heading_);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(QRect(area.left(), top + headingHeight, area.width(), bodyHeight),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, body_);
}

} // namespace tarvo
