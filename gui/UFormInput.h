// The small input dialog through which a stage asks for a line of text.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quorlet {

class TFormInput : public QDialog {
    Q_OBJECT
public:
    explicit TFormInput(QWidget* parent = nullptr);
    // Clears the field, shows the dialog modally and returns what was typed, however it closed.
    QString AskInput();

private:
    QLineEdit* edit1_;
    QPushButton* button1_;
};

}  // namespace quorlet
