// The output window's picture pane.
#include "UPicturePane.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <string_view>

#ifdef QUORLET_HAVE_SVG
#include <QSvgRenderer>
#include <QSvgWidget>
#endif

#include "USvgClip.h"

namespace quorlet {

namespace {

// Fitting shrinks a wide picture; a narrow one keeps the size it was drawn for (zoom enlarges it).
constexpr double kMaxFitScale = 1.0;
// Beyond this many pixels a side, drawing the picture costs more than it shows.
constexpr int kMaxSide = 20000;

QToolButton* ZoomButton(const char* name, const QString& text, const QString& tip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

TPicturePane::TPicturePane(const QString& title, QWidget* parent)
    : QWidget(parent),
      title_(new QLabel(title, this)),
      percent_(new QLabel(this)),
      zoomOut_(ZoomButton("ZoomOutButton", QStringLiteral("\u2212"), tr("Zoom out (Ctrl+minus)"), this)),
      zoomIn_(ZoomButton("ZoomInButton", QStringLiteral("+"), tr("Zoom in (Ctrl+plus)"), this)),
      fit_(ZoomButton("FitButton", tr("Fit"), tr("Fit to the width (Ctrl+0)"), this)),
      area_(new QScrollArea(this))
{
    auto* header = new QHBoxLayout;
    header->setContentsMargins(6, 2, 6, 0);
    header->setSpacing(2);
    header->addWidget(title_, 1);
    header->addWidget(percent_);
    header->addWidget(zoomOut_);
    header->addWidget(zoomIn_);
    header->addWidget(fit_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(area_, 1);

    area_->setBackgroundRole(QPalette::Base);
    // A fixed viewport width keeps "fit to the width" from fighting the vertical scroll bar.
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area_->viewport()->installEventFilter(this);

    connect(zoomIn_, &QToolButton::clicked, this, &TPicturePane::ZoomIn);
    connect(zoomOut_, &QToolButton::clicked, this, &TPicturePane::ZoomOut);
    connect(fit_, &QToolButton::clicked, this, &TPicturePane::FitToWidth);
    ShowScale();
}

bool TPicturePane::Load(const QString& path)
{
    Clear();
#ifdef QUORLET_HAVE_SVG
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    // This Qt's SVG renderer knows no clip paths: they are applied here.
    const QByteArray data = file.readAll();
    auto* picture = new QSvgWidget;
    picture->load(QByteArray::fromStdString(ApplyRectangleClips(std::string_view(data.constData(), data.size()))));
    QSize size = picture->renderer()->defaultSize();
    if (!picture->renderer()->isValid() || size.isEmpty()) {
        delete picture;
        return false;
    }
    picture->installEventFilter(this);
    picture_ = picture;
    natural_ = size;
    path_ = path;
    area_->setWidget(picture);
    area_->widget()->setFocusPolicy(Qt::NoFocus);
    fitting_ = true;
    SetScale(WidthScale(), QPoint());
    return true;
#else
    (void)path;
    return false;
#endif
}

void TPicturePane::Clear()
{
    delete area_->takeWidget();
    picture_ = nullptr;
    path_.clear();
    natural_ = QSize();
    scale_ = 1.0;
    fitting_ = true;
    ShowScale();
}

double TPicturePane::WidthScale() const
{
    if (natural_.isEmpty()) return 1.0;
    const int room = std::max(1, area_->viewport()->width() - 2);
    return std::clamp(static_cast<double>(room) / natural_.width(), kMinScale, kMaxFitScale);
}

void TPicturePane::SetScale(double scale, QPoint anchor)
{
    if (!picture_) return;
    const double largest = static_cast<double>(kMaxSide) / std::max(natural_.width(), natural_.height());
    scale = std::clamp(scale, kMinScale, std::min(kMaxScale, largest));
    QScrollBar* h = area_->horizontalScrollBar();
    QScrollBar* v = area_->verticalScrollBar();
    const double spotX = (h->value() + anchor.x()) / scale_;
    const double spotY = (v->value() + anchor.y()) / scale_;
    scale_ = scale;
    picture_->setFixedSize(std::max(1, static_cast<int>(std::lround(natural_.width() * scale))),
                           std::max(1, static_cast<int>(std::lround(natural_.height() * scale))));
    h->setValue(static_cast<int>(std::lround(spotX * scale - anchor.x())));
    v->setValue(static_cast<int>(std::lround(spotY * scale - anchor.y())));
    ShowScale();
}

void TPicturePane::ShowScale()
{
    const bool shown = picture_ != nullptr;
    percent_->setText(shown ? QString::number(std::lround(scale_ * 100)) + QStringLiteral(" %") : QString());
    for (QToolButton* b : {zoomIn_, zoomOut_, fit_}) b->setEnabled(shown);
}

void TPicturePane::ZoomIn()
{
    fitting_ = false;
    SetScale(scale_ * kZoomStep, area_->viewport()->rect().center());
}

void TPicturePane::ZoomOut()
{
    fitting_ = false;
    SetScale(scale_ / kZoomStep, area_->viewport()->rect().center());
}

void TPicturePane::FitToWidth()
{
    fitting_ = true;
    SetScale(WidthScale(), QPoint());
    area_->horizontalScrollBar()->setValue(0);
}

bool TPicturePane::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && picture_) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y();
            if (steps != 0) {
                QPoint at = wheel->position().toPoint();
                if (watched == picture_) at = picture_->mapTo(area_->viewport(), at);
                fitting_ = false;
                SetScale(steps > 0 ? scale_ * kZoomStep : scale_ / kZoomStep, at);
            }
            return true;
        }
    } else if (event->type() == QEvent::Resize && watched == area_->viewport() && fitting_ && picture_) {
        SetScale(WidthScale(), QPoint());
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quorlet
