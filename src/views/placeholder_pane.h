#pragma once
// A plain pane with a heading and a line of text, drawn centred: what a view
// shows until its own drawing exists.

#include <QFrame>
#include <QString>

namespace tarvo {

class PlaceholderPane : public QFrame {
    Q_OBJECT
public:
    explicit PlaceholderPane(QWidget* parent = nullptr);

    void SetTexts(const QString& heading, const QString& body);
    QString Heading() const { return heading_; }
    QString Body() const { return body_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString heading_;
    QString body_;
};

} // namespace tarvo
