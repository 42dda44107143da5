// The "Select Cover" dialog of the completeness check: to which cover the missing terms go.
#pragma once

#include <QDialog>
#include <string>

class QRadioButton;
class QPushButton;

namespace quorlet {

class TFormCover : public QDialog {
    Q_OBJECT
public:
    explicit TFormCover(QWidget* parent = nullptr);
    // "1" (On Cover), "-" (Don't Care), "0" (Off Cover), or "Q" for Abort and a closed dialog.
    std::string AskCover();

private:
    QRadioButton* radio1_;
    QRadioButton* radio2_;
    QRadioButton* radio3_;
    QPushButton* button1_;
    QPushButton* button2_;
};

}  // namespace quorlet
