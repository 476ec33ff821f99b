#include "editor/editor_texts.h"

#include <string>

#include "settings/language_pack.h"

namespace vex {
namespace {

struct BuiltinText {
  std::string_view key;
  const char* english;
  const char* chinese;
};

constexpr BuiltinText kBuiltin[] = {
    {"IDS_MENUITEM_UNDO", "&Undo\tCtrl+Z", "撤销(&U)\tCtrl+Z"},
    {"IDS_MENUITEM_REDO", "&Redo\tCtrl+Y", "重做(&R)\tCtrl+Y"},
    {"IDS_BTN_TOOLBAR_32782", "Convert to New Table", "转换为新建表格状态"},
    {"IDS_EDITOR_OPEN_FAILED", "The table file could not be opened; the table in the editor is unchanged.",
     "无法打开表格文件，编辑器中的表格未改变。"},
    {"IDS_EDITOR_SAVE_FAILED", "The table file could not be saved; the file that was there is unchanged.",
     "无法保存表格文件，原有文件未改变。"},
    {"IDS_EDITOR_DRAWN", "The table was drawn into", "表格已绘制到"},
    {"IDS_EDITOR_DRAW_FAILED", "The table could not be drawn.", "无法绘制表格。"},
    {"IDS_EDITOR_IMPORT_FAILED", "The sheet could not be imported; the table in the editor is unchanged.",
     "无法导入工作表，编辑器中的表格未改变。"},
    {"IDS_EDITOR_EXPORT_FAILED", "The workbook could not be written.", "无法写入工作簿。"},
    {"IDS_EDITOR_AUTOSAVE_FAILED", "The autosave file could not be written.", "无法写入自动保存的存档。"},
    {"IDS_EDITOR_NO_AUTOSAVE", "There is no autosaved table to load.", "没有自动保存的存档。"},
    {"IDS_EDITOR_NO_HELP", "The help file was not found:", "找不到帮助文件："},
    {"IDS_EDITOR_HEADER_SAVE_FAILED", "The header could not be saved.", "无法保存表头。"},
    {"IDS_EDITOR_TOO_LARGE", "The table is too large for the editor.", "表格太大，无法在编辑器中显示。"},
};

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QString PackText(const LanguagePack& language, std::string_view key) { return Q(language.Text(key)); }

QString EditorText(const LanguagePack& language, std::string_view key) {
  const std::string text = language.Text(key);
  if (text != "Not found") return Q(text);
  const bool chinese = language.ActiveLanguage() == "Chinese";
  for (const BuiltinText& b : kBuiltin)
    if (b.key == key) return QString::fromUtf8(chinese ? b.chinese : b.english);
  return Q(text);
}

MenuText SplitMenuText(const QString& text) {
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  if (tab < 0) return {text.trimmed(), {}};
  return {text.left(tab).trimmed(), text.mid(tab + 1).trimmed()};
}

}  // namespace vex
