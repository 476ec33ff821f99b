#pragma once
// The settings dialog (207): plot scale, output text replacement, the Excel sizes, the three
// layers, the table text style and the language. It works on its own copy of the settings;
// only OK writes them. A language chosen in its box is stored at once and every open window
// of the plug-in is re-texted (the caller's part, through `languageChanged`).

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

#include "draw/catalogues.h"
#include "settings/language_pack.h"
#include "settings/profile_file.h"
#include "settings/settings.h"
#include "update/update_check.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vex {

class StyleCellDelegate;

// What the dialog asks of the program around it. Empty members take the dialog's own.
struct SettingsDialogServices {
  // A colour index of the 255 indexed colours, starting at `current`; nullopt when cancelled.
  std::function<std::optional<int>(QWidget* parent, int current)> chooseColour;
  // A linetype name (the linetype dialog over the catalogue).
  std::function<std::optional<std::string>(QWidget* parent, const std::string& current)> chooseLinetype;
  // The language changed: re-text the other open windows.
  std::function<void()> languageChanged;
  // A message with an OK button ("Please input number!").
  std::function<void(QWidget* parent, const QString& text)> tell;
  // The replacement list dialog (it writes the list itself).
  std::function<void(QWidget* parent)> editReplacements;
  // Opens a web address (the maker's page behind the picture).
  std::function<void(const std::string& url)> openUrl;
};

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 207;
  // Controls, by their resource identifiers.
  static constexpr int kPlotScale = 201, kUseReplacement = 232, kReplacementList = 235, kByScale = 239,
                       kByValue = 242, kExcelScale = 214, kExcelRowHeight = 216, kExcelFontHeight = 221,
                       kLayerList = 208, kStyleList = 210, kLanguageBox = 1001, kWebPicture = 211;
  // Columns of the two lists.
  static constexpr int kLayerColour = 2, kLayerLinetype = 3;
  static constexpr int kStyleFont = 2, kStyleBigFont = 3, kStyleHeight = 4, kStyleWidth = 5;

  SettingsDialog(const ProfileFile& settings, const LanguagePack& language, FontCatalogue fonts,
                 LinetypeCatalogue linetypes, SettingsDialogServices services, QWidget* parent = nullptr);
  ~SettingsDialog() override;

  // The record as the controls hold it now.
  Settings Values() const;

  // Reads the controls, holds the plot scale above 0, opens the Excel fields of the chosen
  // way and shows the values again.
  void Refresh();
  // Changes the language as the language box does.
  void ChooseLanguage(const QString& name);

  // --- parts, for tests
  QDoubleSpinBox* PlotScaleBox() const { return plotScale_; }
  QCheckBox* UseReplacement() const { return useReplacement_; }
  QPushButton* ReplacementButton() const { return replacementButton_; }
  QRadioButton* ByScale() const { return byScale_; }
  QRadioButton* ByValue() const { return byValue_; }
  QDoubleSpinBox* ExcelScale() const { return excelScale_; }
  QDoubleSpinBox* ExcelRowHeight() const { return excelRowHeight_; }
  QDoubleSpinBox* ExcelFontHeight() const { return excelFontHeight_; }
  QTableWidget* LayerList() const { return layers_; }
  QTableWidget* StyleList() const { return styles_; }
  QComboBox* LanguageBox() const { return languageBox_; }
  QLabel* WebPicture() const { return webPicture_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  // The entries of the font drop-down, in order.
  QStringList FontEntries() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Show(const Settings& s);
  void BuildLists(const Settings& s);
  void FillLanguages();
  void OnLayerClicked(int row, int column);
  Settings FromControls() const;

  ProfileFile settings_;
  LanguagePack language_;
  FontCatalogue fonts_;
  LinetypeCatalogue linetypes_;
  SettingsDialogServices services_;
  WebLinks links_;
  Settings loaded_;  // what the dialog opened with; fields it does not show stay as they were

  QDoubleSpinBox* plotScale_ = nullptr;
  QCheckBox* useReplacement_ = nullptr;
  QPushButton* replacementButton_ = nullptr;
  QButtonGroup* excelWay_ = nullptr;
  QRadioButton* byScale_ = nullptr;
  QRadioButton* byValue_ = nullptr;
  QDoubleSpinBox* excelScale_ = nullptr;
  QDoubleSpinBox* excelRowHeight_ = nullptr;
  QDoubleSpinBox* excelFontHeight_ = nullptr;
  QTableWidget* layers_ = nullptr;
  QTableWidget* styles_ = nullptr;
  StyleCellDelegate* styleDelegate_ = nullptr;
  QComboBox* languageBox_ = nullptr;
  QLabel* webPicture_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace vex
