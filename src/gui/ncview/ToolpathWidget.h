// One view of the toolpath: the plan (X-Y) or the side (X-Z). Rapids dashed, feeds solid, arcs as
// arcs, each tool in its colour, cycle holes down to their depth, the material box as an outline; the
// moves of the selected line drawn over it. The picture is kept in an image and redrawn only when the
// view changes (while a program loads, only what was added is drawn onto it). Wheel zooms about the
// pointer, dragging pans, a click asks for the line of the move under it, a double click fits.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstddef>
#include <utility>

#include "ncview/ToolpathView.h"

namespace talvorin::gui {

class ToolpathWidget : public QWidget {
  Q_OBJECT

 public:
  ToolpathWidget(const ToolpathModel& model, ViewPlane plane, QWidget* parent);

  // The material box (Xmax, Ymax, Zmax, Xmin, Ymin, Zmin) drawn as an outline and included in the fit.
  void SetMaterialBox(const double (&box)[6]);
  // The model grew (or was replaced): draws what was added; fits again unless the user zoomed or panned.
  void ModelChanged();
  // Shows the whole toolpath (and the material box).
  void ZoomToFit();
  // Zooms by `factor` about the view's centre.
  void ZoomBy(double factor);
  // Draws the moves and holes of `line` over the picture; -1 draws none.
  void HighlightLine(long long line);

  const ViewMapping& Mapping() const { return view_; }
  // The moves and holes drawn as the selection: [first, last) of the model's moves and holes.
  std::pair<std::size_t, std::size_t> HighlightedMoves() const { return highlightMoves_; }
  std::pair<std::size_t, std::size_t> HighlightedHoles() const { return highlightHoles_; }
  // Pieces drawn into the picture since it was last started anew.
  std::size_t DrawnPieces() const { return drawnPieces_; }
  // The picture holds every move and hole of the model at the current view.
  bool PictureComplete() const;

 signals:
  void LineClicked(qint64 line);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  ToolpathBox FitBox() const;
  void Invalidate();
  void RenderPicture();

  const ToolpathModel& model_;
  ViewMapping view_;
  bool userView_ = false;  // zoomed or panned by the user: a growing model does not refit
  bool hasBox_ = false;
  double box_[6] = {};
  QImage picture_;
  bool pictureValid_ = false;
  ViewMapping pictureView_;
  std::size_t pictureMoves_ = 0, pictureHoles_ = 0;  // drawn into the picture so far
  std::size_t drawnPieces_ = 0;
  long long highlight_ = -1;
  std::pair<std::size_t, std::size_t> highlightMoves_{0, 0}, highlightHoles_{0, 0};
  QPoint pressAt_, lastDrag_;
  bool dragging_ = false;
};

}  // namespace talvorin::gui
