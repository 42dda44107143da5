// The input dialog.
#include "UFormInput.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace quorlet {

namespace {

void CentreOnScreen(QWidget& window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

}  // namespace

TFormInput::TFormInput(QWidget* parent)
    : QDialog(parent), edit1_(new QLineEdit(this)), button1_(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("FormInput"));
    setWindowTitle(QStringLiteral("Input..."));
    setModal(true);
    setFixedSize(178, 67);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(12, 20, 153, 26);
    // The button lies below the visible area: Enter ends the input.
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setGeometry(52, 72, 75, 25);
    button1_->setDefault(true);
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
}

QString TFormInput::AskInput()
{
    edit1_->clear();
    CentreOnScreen(*this);
    edit1_->setFocus();
    exec();
    return edit1_->text();
}

}  // namespace quorlet
