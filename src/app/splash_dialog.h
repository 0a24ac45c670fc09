#pragma once
// The start-up splash: the program's picture and a "Start TarvoIIR" button, in
// a window without a caption. It does not block the program and closes itself
// after a second, on a left click anywhere in it, or on its button.

#include <QDialog>
#include <QTimer>

namespace tarvo {

class CSplash : public QDialog {
    Q_OBJECT

public:
    static constexpr int kCloseAfterMs = 1000;

    explicit CSplash(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer m_timer;
};

} // namespace tarvo
