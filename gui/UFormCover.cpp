// The cover dialog.
#include "UFormCover.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
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
    // The dialog stands in front of the listing it asks about, so it says where that is.
    auto* question =
        new QLabel(QStringLiteral("The table leaves some input combinations open. The output window lists them "
                                  "under \"MISSING COVER\". Add them to which cover, or abort the run?"),
                   this);
    question->setObjectName(QStringLiteral("LabelQuestion"));
    question->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addLayout(choices, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(question);
    layout->addLayout(row, 1);

    // Room for the question above the choices.
    int width = 360, height = 200;
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
