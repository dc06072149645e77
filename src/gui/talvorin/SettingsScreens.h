// The four settings screens of the main window's "設定" menu. Each is a QDialog built over the main
// window and run modally by the command table; it loads on opening and writes only on its save command.
#pragma once

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QValidator>
#include <QWidget>
#include <functional>

#include "shell/Context.h"

namespace talvorin::gui {

// 40010 "INITIALSETTINGDLG": programs, start position, colours, NC transfer method.
QDialog* MakeInitialSettingsScreen(Context& ctx, QWidget* mainWindow);
// 40013 "TAPPINGSETTINGSDLG": R point, break-through, rigid tapping, feed per revolution.
QDialog* MakeTapSettingsScreen(Context& ctx, QWidget* mainWindow);
// 40014 "SETTINGADDNCDATADLG": lines added at the start and end of every NC program.
QDialog* MakeAddNcDataScreen(Context& ctx, QWidget* mainWindow);
// 40015 "REGCOORDINATESYSDLG": the coordinate systems the main window offers.
QDialog* MakeCoordinateSystemScreen(Context& ctx, QWidget* mainWindow);

// 40011 "MCTOOLLISTDLG": the tools of the magazine table, T01 to T30.
QDialog* MakeToolListScreen(Context& ctx, QWidget* mainWindow);
// 40012 "PROCESSINGCONDITIONDLG": speed, feed and third value per tool, material and diameter.
QDialog* MakeConditionScreen(Context& ctx, QWidget* mainWindow);

// Parts the settings screens share.

// The menu "SETTINGMENU" as the menu bar of the screen's `layout`: 40100 "【保 存】" runs `save`, 40101
// "【読 込】" runs `load`, 40103 "【取 消】" closes the screen without saving, 40102 "【ヘルプ】" opens
// the help topic `helpTopic`. The layout keeps the screen at least as wide as the menu.
void AddSettingsMenu(QDialog* screen, QBoxLayout* layout, Context& ctx, const char* helpTopic,
                     std::function<void()> save, std::function<void()> load);
// The same menu with `help` run by 40102 instead of a help topic.
void AddSettingsMenu(QDialog* screen, QBoxLayout* layout, std::function<void()> save,
                     std::function<void()> load, std::function<void()> help);

// An editable drop-down list of at most `bytes` CP932 bytes, named `id`, at least ten characters wide;
// with `upper`, typed Latin letters become upper case.
QComboBox* NewEditableList(QWidget* parent, int id, int bytes, bool upper);

// A field of at most `bytes` CP932 bytes; with `upper`, typed and pasted Latin letters become upper case.
class FieldLimitValidator : public QValidator {
 public:
  FieldLimitValidator(int bytes, bool upper, QObject* parent)
      : QValidator(parent), bytes_(bytes), upper_(upper) {}
  State validate(QString& input, int& pos) const override;
  void SetBytes(int bytes) { bytes_ = bytes; }

 private:
  int bytes_;
  bool upper_;
};

}  // namespace talvorin::gui
