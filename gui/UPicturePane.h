// A picture the run wrote (the circuit, the Karnaugh maps), shown in the output window below the
// text: it opens scaled to the pane's width and zooms in and out with the buttons, Ctrl+plus,
// Ctrl+minus, Ctrl+0 and the mouse wheel with Ctrl.
#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;
class QToolButton;

namespace quorlet {

class TPicturePane : public QWidget {
    Q_OBJECT
public:
    static constexpr double kZoomStep = 1.25;
    static constexpr double kMinScale = 0.05;
    static constexpr double kMaxScale = 8.0;

    // The title names what the picture shows ("Circuit", "Karnaugh maps").
    TPicturePane(const QString& title, QWidget* parent = nullptr);

    // False, with nothing shown, when the file is not a picture this window can draw.
    bool Load(const QString& path);
    void Clear();
    bool HasPicture() const { return picture_ != nullptr; }
    QString Path() const { return path_; }
    // Size of the drawn picture over its own size; 1 is the size the file asks for.
    double Scale() const { return scale_; }
    // True while the picture follows the pane's width (until the user zooms).
    bool FittingWidth() const { return fitting_; }
    QScrollArea* Area() const { return area_; }

    void ZoomIn();
    void ZoomOut();
    void FitToWidth();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps the point `anchor` (viewport coordinates) over the same spot of the picture.
    void SetScale(double scale, QPoint anchor);
    double WidthScale() const;
    void ShowScale();

    QLabel* title_;
    QLabel* percent_;
    QToolButton *zoomOut_, *zoomIn_, *fit_;
    QScrollArea* area_;
    QWidget* picture_ = nullptr;
    QString path_;
    QSize natural_;
    double scale_ = 1.0;
    bool fitting_ = true;
};

}  // namespace quorlet
