// The NC viewer's window: the program text beside the plan and side views of its toolpath, the tool
// legend, and the estimate's times in the status line. The program is read in the background, part
// by part: each part is drawn as it comes, with a progress bar, and the window stays usable.
#pragma once

#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressBar>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "gui/ncview/NcProgramText.h"
#include "gui/ncview/ToolpathWidget.h"
#include "ncview/NcViewSetup.h"

namespace talvorin::gui {

class NcViewWindow : public QMainWindow {
 public:
  NcViewWindow(const std::string& path, const NcViewSettings& settings, QWidget* parent = nullptr);
  ~NcViewWindow() override;

  // Reads the program (again) in the background.
  void StartLoading();
  bool Loaded() const { return loaded_; }
  // The reason the file could not be read; empty when it was read.
  const QString& LoadError() const { return loadError_; }

  const ToolpathModel& Model() const { return model_; }
  ToolpathWidget* PlanView() const { return plan_; }
  ToolpathWidget* SideView() const { return side_; }
  QListView* ProgramList() const { return list_; }
  QListWidget* Legend() const { return legend_; }
  QString TimeText() const { return times_->text(); }

  // Shows why the file could not be read (a message box in the program; tests record it).
  std::function<void(const QString&)> showError;

 private:
  void StopLoading();
  void AddPart(ToolpathModel& part, std::uint64_t done, std::uint64_t total);
  void LoadFinished(int result, const QString& error);
  void Refresh();
  void ShowLine(qint64 line);
  void UpdateLegend();
  void UpdateTimes();

  std::string path_;
  NcViewSettings settings_;
  ToolpathModel model_;
  NcProgramText* text_ = nullptr;
  QListView* list_ = nullptr;
  ToolpathWidget* plan_ = nullptr;
  ToolpathWidget* side_ = nullptr;
  QListWidget* legend_ = nullptr;
  QLabel* times_ = nullptr;
  QLabel* project_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QTimer refresh_;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> stop_;
  std::uint64_t generation_ = 0;  // of the loading whose parts are taken
  bool loaded_ = false;
  QString loadError_;
};

}  // namespace talvorin::gui
