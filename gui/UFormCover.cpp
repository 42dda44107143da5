// The cover dialog.
#include "UFormCover.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quorlet {

TFormCover::TFormCover(QWidget* parent)
    : QDialog(parent),
      radio1_(new QRadioButton(QStringLiteral("On Cover"))),
      radio2_(new QRadioButton(QStringLiteral("Don't Care"))),
      radio3_(new QRadioButton(QStringLiteral("Off Cover"))),
      button1_(new QPushButton(QStringLiteral("OK"))),
      button2_(new QPushButton(QStringLiteral("Abort")))
{
    setObjectName(QStringLiteral("FormCover"));
    setWindowTitle(QStringLiteral("Select Cover"));
    setModal(true);
    radio1_->setObjectName(QStringLiteral("RadioButton1"));
    radio2_->setObjectName(QStringLiteral("RadioButton2"));
    radio3_->setObjectName(QStringLiteral("RadioButton3"));
    button1_->setObjectName(QStringLiteral("Button1"));
    button2_->setObjectName(QStringLiteral("Button2"));
    button1_->setDefault(true);
    radio2_->setChecked(true);
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);

    auto* choices = new QVBoxLayout;
    choices->addWidget(radio1_);
    choices->addWidget(radio2_);
    choices->addWidget(radio3_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(button1_);
    buttons->addWidget(button2_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addLayout(choices, 1);
    layout->addLayout(buttons);

    int width = 254, height = 129;
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && screen->logicalDotsPerInch() > 100) {
        width = width * 5 / 4;
        height = height * 5 / 4;
    }
    setFixedSize(width, height);
}

std::string TFormCover::AskCover()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    radio2_->setChecked(true);
    button1_->setFocus();
    if (exec() != QDialog::Accepted) return "Q";
    if (radio1_->isChecked()) return "1";
    if (radio3_->isChecked()) return "0";
    return "-";
}

}  // namespace quorlet
