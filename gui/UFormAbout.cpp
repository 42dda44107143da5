// The About box.
#include "UFormAbout.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

namespace quorlet {

QPixmap ProgramPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setBrush(QColor(255, 250, 225));
    p.setPen(QPen(QColor(30, 60, 130), 3));
    QPainterPath gate;
    gate.moveTo(14, 12);
    gate.lineTo(30, 12);
    gate.arcTo(QRectF(10, 12, 40, 40), 90, -180);
    gate.lineTo(14, 52);
    gate.closeSubpath();
    p.drawPath(gate);
    p.drawLine(2, 22, 14, 22);
    p.drawLine(2, 42, 14, 42);
    p.drawLine(50, 32, 62, 32);
    QFont font;
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.drawText(QRectF(14, 12, 30, 40), Qt::AlignCenter, QStringLiteral("Q"));
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(ProgramPixmap(size));
    return icon;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(488, 374);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(8, 8, 472, 310);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ProgramPixmap(128));
    icon->setScaledContents(true);
    icon->setGeometry(16, 16, 72, 72);

    auto* product = new QLabel(QStringLiteral("Quorlet Logic Minimizer"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    product->setFont(big);
    product->setGeometry(104, 22, 352, 32);

    auto* version = new QLabel(QStringLiteral("Version 4.61"), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->setGeometry(104, 58, 352, 22);

    auto paragraph = [panel](const QString& text, const QString& name, const QRect& place) {
        auto* label = new QLabel(text, panel);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(place);
    };
    paragraph(QStringLiteral("Quorlet is free teaching software. You may use, copy and pass it on, changed or "
                             "unchanged, for teaching, learning and any other purpose, provided that this note "
                             "and the disclaimer below go with every copy."),
              QStringLiteral("Copyright"), QRect(16, 104, 440, 80));
    paragraph(QStringLiteral("The program is provided as it is, without warranty of any kind. Minimized covers, "
                             "netlists, schematics and ABEL sources are meant for study: check every result before "
                             "you build it into hardware. The authors are not liable for any damage arising from "
                             "the use of this program or of its results."),
              QStringLiteral("Comments"), QRect(16, 192, 440, 104));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setGeometry(206, 332, 75, 28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

}  // namespace quorlet
