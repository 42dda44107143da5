// The About box, and the program's icon that it and the windows show.
#pragma once

#include <QDialog>
#include <QIcon>

namespace quorlet {

// A drawn gate symbol, so that the icon needs no image file or image plugin.
QPixmap ProgramPixmap(int size);
QIcon ProgramIcon();

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace quorlet
