#include "app/about_dialog.h"

#include <cmath>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

// Outside any namespace: the macro declares the resource's initializer. A
// static library's resources register only when something calls it.
static void InitResourcesOfAppLibrary() {
    Q_INIT_RESOURCE(app_resources);
}

namespace tarvo {
namespace {

constexpr int kPictureSize = 96;

} // namespace

void InitAppResources() {
    static const bool done = (InitResourcesOfAppLibrary(), true);
    (void)done;
}

QPixmap TarvoPicture(int size, qreal devicePixelRatio) {
    InitAppResources();
    const int pixels = static_cast<int>(std::lround(size * devicePixelRatio));
    QPixmap picture(pixels, pixels);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(QString::fromLatin1(kTarvoIconResource));
    QPainter painter(&picture);
    renderer.render(&painter);
    painter.end();
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

QWidget* MakeTitleBlock(QWidget* parent) {
    auto* block = new QWidget(parent);
    auto* picture = new QLabel(block);
    picture->setObjectName("picture");
    picture->setPixmap(TarvoPicture(kPictureSize, block->devicePixelRatioF()));

    auto* name = new QLabel("TarvoIIR", block);
    name->setObjectName("programName");
    QFont font = name->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.8);
    name->setFont(font);

    auto* texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(name);
    const QString version = QCoreApplication::applicationVersion();
    if (!version.isEmpty()) {
        auto* versionText = new QLabel(QString("Version %1").arg(version), block);
        versionText->setObjectName("version");
        texts->addWidget(versionText);
    }
    auto* purpose = new QLabel("IIR digital filter designer", block);
    purpose->setObjectName("purpose");
    texts->addWidget(purpose);
    texts->addStretch();

    auto* layout = new QHBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(picture);
    layout->addLayout(texts);
    return block;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName("buttons");
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName("ok");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeTitleBlock(this));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tarvo
