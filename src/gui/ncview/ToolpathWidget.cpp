#include "gui/ncview/ToolpathWidget.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

namespace talvorin::gui {
namespace {

constexpr int kMargin = 16;                  // pixels around the fitted toolpath
constexpr double kClickTolerance = 5;        // pixels from a move that still select it
constexpr std::size_t kBatchLines = 8192;    // lines handed to the painter at once
constexpr qint64 kSliceMs = 30;              // drawing time of the picture per turn of the event loop
constexpr std::size_t kSliceMoves = 16384;   // moves visited between looks at the clock
const QColor kBoxColour(120, 120, 120);      // the material box
const QColor kHighlightColour(255, 120, 0);  // the selected line's moves

QColor Colour(std::uint16_t slot) {
  const ToolColour c = ToolSlotColour(slot);
  return QColor(c.red, c.green, c.blue);
}

QPen ToolPen(std::uint16_t slot, bool rapid) {
  QPen pen(Colour(slot), 1, rapid ? Qt::DashLine : Qt::SolidLine);
  pen.setCosmetic(true);
  return pen;
}

void DrawArc(QPainter& p, const DrawnPiece& arc) {
  const QRectF rect(arc.cx - arc.radius, arc.cy - arc.radius, 2 * arc.radius, 2 * arc.radius);
  // Qt's angles are sixteenths of a degree, counter-clockwise as seen: the view's own sense.
  p.drawArc(rect, static_cast<int>(std::lround(arc.start * 16)),
            static_cast<int>(std::lround(arc.sweep * 16)));
}

// A hole: in plan a small circle at its position, in the side view the way down, dashed to R and
// solid to the bottom.
void DrawHole(QPainter& p, const DrawnHole& h, ViewPlane plane, const QPen& solid, const QPen& dashed) {
  if (plane == ViewPlane::kPlan) {
    p.setPen(solid);
    p.drawEllipse(QPointF(h.x, h.top), 3.0, 3.0);
    return;
  }
  p.setPen(dashed);
  p.drawLine(QPointF(h.x, h.top), QPointF(h.x, h.r));
  p.setPen(solid);
  p.drawLine(QPointF(h.x, h.r), QPointF(h.x, h.bottom));
  p.drawLine(QPointF(h.x - 3, h.bottom), QPointF(h.x + 3, h.bottom));
}

// Pieces collected per pen and handed to the painter in batches.
struct PenBatches {
  struct Batch {
    std::vector<QLineF> lines;
    std::vector<DrawnPiece> arcs;
  };
  std::vector<Batch> batches;  // index: tool slot * 2 + rapid
  std::size_t pending = 0;

  void Add(QPainter& p, const DrawnPiece& piece) {
    const std::size_t key = static_cast<std::size_t>(piece.tool) * 2 + (piece.rapid ? 1 : 0);
    if (key >= batches.size()) batches.resize(key + 1);
    if (piece.arc)
      batches[key].arcs.push_back(piece);
    else
      batches[key].lines.emplace_back(piece.x0, piece.y0, piece.x1, piece.y1);
    if (++pending >= kBatchLines) Flush(p);
  }
  void Flush(QPainter& p) {
    for (std::size_t key = 0; key < batches.size(); ++key) {
      Batch& b = batches[key];
      if (b.lines.empty() && b.arcs.empty()) continue;
      p.setPen(ToolPen(static_cast<std::uint16_t>(key / 2), key % 2 == 1));
      if (!b.lines.empty()) p.drawLines(b.lines.data(), static_cast<int>(b.lines.size()));
      for (const DrawnPiece& arc : b.arcs)
        DrawArc(p, arc);
      b.lines.clear();
      b.arcs.clear();
    }
    pending = 0;
  }
};

bool SameMapping(const ViewMapping& a, const ViewMapping& b) {
  return a.plane == b.plane && a.scale == b.scale && a.originX == b.originX && a.originY == b.originY &&
         a.width == b.width && a.height == b.height;
}

}  // namespace

ToolpathWidget::ToolpathWidget(const ToolpathModel& model, ViewPlane plane, QWidget* parent)
    : QWidget(parent), model_(model) {
  view_.plane = plane;
  setMinimumSize(200, 120);
  setMouseTracking(false);
  setFocusPolicy(Qt::ClickFocus);
  setAccessibleName(plane == ViewPlane::kPlan ? QStringLiteral("平面図 (X-Y)")
                                              : QStringLiteral("側面図 (X-Z)"));
}

void ToolpathWidget::SetMaterialBox(const double (&box)[6]) {
  hasBox_ = true;
  for (int k = 0; k < 6; ++k)
    box_[k] = box[k];
  Invalidate();
}

ToolpathBox ToolpathWidget::FitBox() const {
  ToolpathBox box = model_.bounds;
  if (hasBox_) {
    box.Add(box_[0], box_[1], box_[2]);
    box.Add(box_[3], box_[4], box_[5]);
  }
  return box;
}

void ToolpathWidget::ModelChanged() {
  if (model_.moves.size() < pictureMoves_ || model_.holes.size() < pictureHoles_) pictureValid_ = false;
  if (!userView_) view_ = FitView(FitBox(), view_.plane, width(), height(), kMargin);
  HighlightLine(highlight_);
  update();
}

void ToolpathWidget::ZoomToFit() {
  userView_ = false;
  view_ = FitView(FitBox(), view_.plane, width(), height(), kMargin);
  Invalidate();
}

void ToolpathWidget::ZoomBy(double factor) {
  userView_ = true;
  ZoomView(view_, factor, width() / 2.0, height() / 2.0);
  Invalidate();
}

void ToolpathWidget::HighlightLine(long long line) {
  highlight_ = line;
  highlightMoves_ = highlightHoles_ = {0, 0};
  if (line >= 0 && line <= UINT32_MAX) {
    highlightMoves_ = MovesOfLine(model_, static_cast<std::uint32_t>(line));
    highlightHoles_ = HolesOfLine(model_, static_cast<std::uint32_t>(line));
  }
  update();
}

void ToolpathWidget::Invalidate() {
  pictureValid_ = false;
  update();
}

void ToolpathWidget::RenderPicture() {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  const bool continued = pictureValid_ && SameMapping(pictureView_, view_) && picture_.size() == pixels &&
                         model_.moves.size() >= pictureMoves_ && model_.holes.size() >= pictureHoles_;
  if (!continued) {
    if (picture_.size() != pixels) picture_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::white);
    pictureMoves_ = pictureHoles_ = 0;
    drawnPieces_ = 0;
  }
  QPainter p(&picture_);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (!continued && hasBox_) {
    QPen pen(kBoxColour, 1, Qt::DashDotLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    const double v0 = view_.plane == ViewPlane::kPlan ? box_[4] : box_[5];
    const double v1 = view_.plane == ViewPlane::kPlan ? box_[1] : box_[2];
    p.drawRect(QRectF(QPointF(view_.PixelX(box_[3]), view_.PixelY(v1)),
                      QPointF(view_.PixelX(box_[0]), view_.PixelY(v0))));
  }
  pictureView_ = view_;
  pictureValid_ = true;
  // A slice of the moves, then of the holes, until the time of one slice is used: a large program is
  // drawn over several turns of the event loop, and the window answers between them.
  QElapsedTimer clock;
  clock.start();
  PenBatches batches;
  auto draw = [&](const DrawnPiece& piece) {
    ++drawnPieces_;
    batches.Add(p, piece);
  };
  while (pictureMoves_ < model_.moves.size() && clock.elapsed() < kSliceMs) {
    const std::size_t last = std::min(model_.moves.size(), pictureMoves_ + kSliceMoves);
    VisitMoves(model_, view_, pictureMoves_, last, true, draw);
    pictureMoves_ = last;
  }
  batches.Flush(p);
  while (pictureMoves_ == model_.moves.size() && pictureHoles_ < model_.holes.size() &&
         clock.elapsed() < kSliceMs) {
    const std::size_t last = std::min(model_.holes.size(), pictureHoles_ + kSliceMoves);
    VisitHoles(model_, view_, pictureHoles_, last, true, [&](const DrawnHole& h) {
      DrawHole(p, h, view_.plane, ToolPen(h.tool, false), ToolPen(h.tool, true));
    });
    pictureHoles_ = last;
  }
}

bool ToolpathWidget::PictureComplete() const {
  return pictureValid_ && SameMapping(pictureView_, view_) && pictureMoves_ == model_.moves.size() &&
         pictureHoles_ == model_.holes.size();
}

void ToolpathWidget::paintEvent(QPaintEvent*) {
  view_.width = width();
  view_.height = height();
  if (!PictureComplete()) {
    RenderPicture();
    // The rest in the next turn of the event loop.
    if (!PictureComplete()) QTimer::singleShot(0, this, [this] { update(); });
  }
  QPainter p(this);
  p.drawImage(0, 0, picture_);
  p.setRenderHint(QPainter::Antialiasing, true);
  // The selected line over the picture, without merging.
  QPen pen(kHighlightColour, 3);
  pen.setCosmetic(true);
  p.setPen(pen);
  VisitMoves(model_, view_, highlightMoves_.first, highlightMoves_.second, false,
             [&p](const DrawnPiece& piece) {
               if (piece.arc)
                 DrawArc(p, piece);
               else
                 p.drawLine(QPointF(piece.x0, piece.y0), QPointF(piece.x1, piece.y1));
             });
  VisitHoles(model_, view_, highlightHoles_.first, highlightHoles_.second, false,
             [&](const DrawnHole& h) { DrawHole(p, h, view_.plane, pen, pen); });
}

void ToolpathWidget::resizeEvent(QResizeEvent*) {
  if (!userView_) {
    view_ = FitView(FitBox(), view_.plane, width(), height(), kMargin);
  } else {
    view_.width = width();
    view_.height = height();
  }
  pictureValid_ = false;
}

void ToolpathWidget::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  userView_ = true;
  const QPointF at = event->position();
  ZoomView(view_, std::pow(1.25, steps), at.x(), at.y());
  Invalidate();
  event->accept();
}

void ToolpathWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressAt_ = lastDrag_ = event->position().toPoint();
  dragging_ = false;
}

void ToolpathWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint at = event->position().toPoint();
  if (!dragging_ && (at - pressAt_).manhattanLength() < 4) return;
  dragging_ = true;
  userView_ = true;
  view_.originX += at.x() - lastDrag_.x();
  view_.originY += at.y() - lastDrag_.y();
  lastDrag_ = at;
  Invalidate();
}

void ToolpathWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (dragging_) {
    dragging_ = false;
    return;
  }
  const QPointF at = event->position();
  const long long line = LineAtPixel(model_, view_, at.x(), at.y(), kClickTolerance);
  if (line >= 0) emit LineClicked(line);
}

void ToolpathWidget::mouseDoubleClickEvent(QMouseEvent*) {
  ZoomToFit();
}

}  // namespace talvorin::gui
