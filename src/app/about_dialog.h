#pragma once
// The program's picture and the "About" box that shows it with the program's
// name and version.

#include <QDialog>
#include <QPixmap>

namespace tarvo {

// The program's icon in the application's resources.
inline constexpr const char* kTarvoIconResource = ":/tarvoiir.svg";

// Registers the resources of this library; the picture functions call it, and
// the program calls it before it uses a resource path of its own.
void InitAppResources();

// The program's picture, size × size device-independent pixels, sharp at the
// given device pixel ratio.
QPixmap TarvoPicture(int size, qreal devicePixelRatio = 1.0);

// The picture beside the program's name and version, as the About box and the
// splash show it.
QWidget* MakeTitleBlock(QWidget* parent);

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace tarvo
