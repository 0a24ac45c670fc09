#pragma once
// The small modeless Find / Replace window of a text view. It only collects
// what to search for; the view it belongs to does the searching when one of
// its buttons is pressed.

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvo {

struct FindRequest {
    QString what{};
    QString with{}; // the replacement
    bool matchCase = false;
    bool wholeWord = false;
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent);

    // Shows the window as Find or as Replace, with what to search for preset
    // (kept when empty), and brings it forward.
    void Open(bool replace, const QString& what);
    FindRequest Request() const;

signals:
    void findNext();
    void replaceOne();
    void replaceAll();

private:
    QLineEdit* what_;
    QLabel* withLabel_;
    QLineEdit* with_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QPushButton* findNext_;
    QPushButton* replace_;
    QPushButton* replaceAll_;
};

} // namespace tarvo
