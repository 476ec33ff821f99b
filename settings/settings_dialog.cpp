#include "settings/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "cadhost/sdk/acedads.h"
#include "editor/dialog_texts.h"
#include "settings/linetype_dialog.h"
#include "settings/replacement_dialog.h"
#include "settings/settings_dialog_rules.h"

namespace vex {
namespace {

constexpr int kRowHeight = 18;
constexpr int kListWidth = 560;
constexpr const char* kPleaseInputNumber = "Please input number!";

QString Q(const std::string& s) { return QtText(s); }
std::string S(const QString& s) { return s.toStdString(); }

// The plot scale's edit with its spin: the steps of PlotScaleSpin, plain numbers shown.
class PlotScaleSpinBox : public QDoubleSpinBox {
 public:
  explicit PlotScaleSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    setDecimals(6);
    setRange(0, 1e9);
    setKeyboardTracking(false);
  }
  void stepBy(int steps) override {
    double v = value();
    for (int i = 0; i < std::abs(steps); ++i) v = PlotScaleSpin(v, steps > 0);
    setValue(v);
    selectAll();
  }
  QString textFromValue(double v) const override { return QString::number(v, 'g', 12); }

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

// The pictures beside the font names: a pen-stroked "A" for a shape font, "TT" for a font
// family of the system.
QIcon FontKindIcon(bool shapeFont) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (shapeFont) {
    p.setPen(QPen(QColor(0, 0, 160), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath a;
    a.moveTo(2.5, 14);
    a.lineTo(8, 2);
    a.lineTo(13.5, 14);
    a.moveTo(4.8, 9.5);
    a.lineTo(11.2, 9.5);
    p.drawPath(a);
  } else {
    QFont f(QStringLiteral("Serif"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(120, 120, 120));
    p.drawText(QRect(0, 1, 12, 14), Qt::AlignCenter, QStringLiteral("T"));
    p.setPen(QColor(30, 30, 30));
    p.drawText(QRect(4, 3, 12, 14), Qt::AlignCenter, QStringLiteral("T"));
  }
  return QIcon(pm);
}

QIcon SwatchIcon(int colourIndex) {
  QPixmap pm(14, 12);
  pm.fill(QColor::fromRgb(static_cast<QRgb>(acedGetRGB(colourIndex))));
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
  return QIcon(pm);
}

// The maker's mark behind which the web page opens.
QPixmap WebMark() {
  QPixmap pm(96, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(30, 90, 160));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(0.5, 0.5, 95, 31), 6, 6);
  p.setPen(QPen(Qt::white, 1.2));
  for (int i = 0; i < 3; ++i) p.drawLine(8, 9 + i * 7, 24, 9 + i * 7);
  p.drawLine(8, 9, 8, 23);
  p.drawLine(16, 9, 16, 23);
  p.drawLine(24, 9, 24, 23);
  QFont f = p.font();
  f.setPixelSize(13);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(28, 0, 66, 32), Qt::AlignCenter, QStringLiteral("VexTable"));
  return pm;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align, bool editable) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(align | Qt::AlignVCenter);
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

void SetUpList(QTableWidget* list) {
  list->verticalHeader()->hide();
  list->verticalHeader()->setDefaultSectionSize(kRowHeight);
  list->verticalHeader()->setMinimumSectionSize(kRowHeight);
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->horizontalHeader()->setHighlightSections(false);
  list->setFixedWidth(kListWidth);
}

void SizeColumns(QTableWidget* list, const std::vector<int>& widths) {
  for (int c = 0; c < static_cast<int>(widths.size()); ++c) list->setColumnWidth(c, widths[c]);
  list->setFixedHeight(list->horizontalHeader()->sizeHint().height() + list->rowCount() * kRowHeight + 2 * list->frameWidth());
}

}  // namespace

// The in-place editors of the text style list: text for the style name, the font and big font
// drop-downs, and the number check of the height and width factor.
class StyleCellDelegate : public QStyledItemDelegate {
 public:
  StyleCellDelegate(SettingsDialog* dialog, const FontCatalogue& fonts, const LanguagePack& language,
                    std::function<void(const QString&)> tell)
      : QStyledItemDelegate(dialog), fonts_(fonts), language_(language), tell_(std::move(tell)) {
    QStringList families = QFontDatabase::families();
    std::vector<std::string> system;
    for (const QString& f : families)
      if (!QFontDatabase::isPrivateFamily(f) && QFontDatabase::isSmoothlyScalable(f)) system.push_back(S(f));
    choices_ = FontChoices(fonts_.textFonts, system);
  }

  const std::vector<FontChoice>& Choices() const { return choices_; }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = nullptr;
    if (index.column() == SettingsDialog::kStyleFont) {
      auto* box = new QComboBox(parent);
      for (const FontChoice& c : choices_) box->addItem(FontKindIcon(c.shapeFont), Q(c.name));
      box->setMaxVisibleItems(16);
      editor = box;
    } else if (index.column() == SettingsDialog::kStyleBigFont) {
      if (!BigFontChoosable(S(index.data().toString()), language_)) return nullptr;
      auto* box = new QComboBox(parent);
      for (const std::string& f : fonts_.bigFonts) box->addItem(FontKindIcon(true), Q(f));
      editor = box;
    } else {
      editor = QStyledItemDelegate::createEditor(parent, option, index);
      if (index.column() == SettingsDialog::kStyleHeight || index.column() == SettingsDialog::kStyleWidth)
        editor->setProperty("vexNumber", true);
    }
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      // A choice goes into the cell at once, as picking from a list does.
      auto* self = const_cast<StyleCellDelegate*>(this);
      QObject::connect(box, &QComboBox::activated, box, [self, box] {
        emit self->commitData(box);
        emit self->closeEditor(box);
      });
    }
    open_ = editor;
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      const int at = box->findText(index.data().toString());
      box->setCurrentIndex(at);
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
    editor->setProperty("vexStart", index.data().toString());
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      if (box->currentIndex() < 0) return;
      const QString chosen = box->currentText();
      model->setData(index, chosen);
      if (index.column() == SettingsDialog::kStyleFont) {
        const QModelIndex big = index.siblingAtColumn(SettingsDialog::kStyleBigFont);
        model->setData(big, Q(BigFontCellAfterFontChoice(S(chosen), S(big.data().toString()), fonts_.textFonts,
                                                         language_)));
      }
      return;
    }
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (edit && editor->property("vexNumber").toBool()) {
      if (!Changed(edit)) return;
      // A wrong number never reaches the cell; the edit that keeps it said so.
      if (!IsNumberText(S(edit->text()))) return;
      model->setData(index, Q(OneDecimal(S(edit->text()))));
      return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
  }

  // Ends the open editor keeping its text; false (and the message) for a wrong number.
  bool Finish() {
    QWidget* editor = open_;
    if (!editor || !editor->isVisible()) return true;
    if (!Acceptable(editor)) {
      // Leaving the editor for the button that asked just said so.
      if (!justRefused_) Refuse(editor);
      return false;
    }
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* editor = qobject_cast<QWidget*>(watched);
    if (editor && editor->property("vexNumber").toBool()) {
      bool leaving = e->type() == QEvent::FocusOut;
      if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        leaving = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab;
      }
      if (leaving && !refusing_ && !Acceptable(editor)) {
        Refuse(editor);
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(watched, e);
  }

 private:
  static bool Changed(const QLineEdit* edit) { return edit->text() != edit->property("vexStart").toString(); }

  bool Acceptable(QWidget* editor) const {
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (!edit || !editor->property("vexNumber").toBool() || !Changed(edit)) return true;
    return IsNumberText(S(edit->text()));
  }

  void Refuse(QWidget* editor) {
    refusing_ = true;
    tell_(QString::fromUtf8(kPleaseInputNumber));
    refusing_ = false;
    justRefused_ = true;
    QTimer::singleShot(0, this, [this] { justRefused_ = false; });
    QPointer<QWidget> keep(editor);
    editor->setFocus();
    QTimer::singleShot(0, editor, [keep] {
      if (keep) keep->setFocus();
    });
  }

  const FontCatalogue& fonts_;
  const LanguagePack& language_;
  std::function<void(const QString&)> tell_;
  std::vector<FontChoice> choices_;
  mutable QPointer<QWidget> open_;
  bool refusing_ = false;
  bool justRefused_ = false;  // until the events of the refusal are handled
};

SettingsDialog::SettingsDialog(const ProfileFile& settings, const LanguagePack& language, FontCatalogue fonts,
                               LinetypeCatalogue linetypes, SettingsDialogServices services, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      language_(language),
      fonts_(std::move(fonts)),
      linetypes_(std::move(linetypes)),
      services_(std::move(services)),
      links_(ReadWebLinks(settings)) {
  setWindowTitle(QStringLiteral("VexTable设置"));
  if (!services_.tell)
    services_.tell = [](QWidget* p, const QString& text) { QMessageBox::information(p, QStringLiteral("VexTable"), text); };
  if (!services_.chooseColour)
    services_.chooseColour = [](QWidget* p, int current) -> std::optional<int> {
      bool ok = false;
      const int v = QInputDialog::getInt(p, QStringLiteral("VexTable"), QStringLiteral("1 - 255"), current, 1, 255, 1, &ok);
      return ok ? std::optional<int>(v) : std::nullopt;
    };
  if (!services_.chooseLinetype)
    services_.chooseLinetype = [this](QWidget* p, const std::string& current) {
      return ChooseLinetype(p, linetypes_.entries, current, language_);
    };
  if (!services_.editReplacements)
    services_.editReplacements = [this](QWidget* p) { RunReplacementDialog(p, settings_, language_); };
  if (!services_.openUrl)
    services_.openUrl = [](const std::string& url) { QDesktopServices::openUrl(QUrl(Q(url))); };

  const auto label = [this](int id, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), this);
    SetControlId(l, id);
    return l;
  };

  // Drawing: plot scale, layers, text style.
  auto* drawing = new QGroupBox(QStringLiteral("绘图设置"), this);
  SetControlId(drawing, 243);
  plotScale_ = new PlotScaleSpinBox(drawing);
  plotScale_->setObjectName(QStringLiteral("PlotScale"));
  SetControlId(plotScale_, kPlotScale);
  plotScale_->setMinimumWidth(90);
  connect(plotScale_, &QDoubleSpinBox::editingFinished, this, &SettingsDialog::Refresh);
  layers_ = new QTableWidget(3, 4, drawing);
  layers_->setObjectName(QStringLiteral("LayerList"));
  SetControlId(layers_, kLayerList);
  SetUpList(layers_);
  layers_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  connect(layers_, &QTableWidget::cellClicked, this, &SettingsDialog::OnLayerClicked);
  styles_ = new QTableWidget(1, 6, drawing);
  styles_->setObjectName(QStringLiteral("StyleList"));
  SetControlId(styles_, kStyleList);
  SetUpList(styles_);
  styles_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  styleDelegate_ = new StyleCellDelegate(this, fonts_, language_, [this](const QString& t) { services_.tell(this, t); });
  styles_->setItemDelegate(styleDelegate_);
  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(label(223, "出图比例"));
  scaleRow->addSpacing(12);
  scaleRow->addWidget(new QLabel(QStringLiteral("1:"), drawing));
  scaleRow->addWidget(plotScale_);
  scaleRow->addStretch(1);
  auto* drawingLayout = new QVBoxLayout(drawing);
  drawingLayout->addLayout(scaleRow);
  drawingLayout->addWidget(layers_);
  drawingLayout->addWidget(styles_);

  // Output text replacement.
  auto* replacement = new QGroupBox(QStringLiteral("输出文本替换"), this);
  SetControlId(replacement, 225);
  useReplacement_ = new QCheckBox(QStringLiteral("使用输出文本替换(&U)"), replacement);
  SetControlId(useReplacement_, kUseReplacement);
  replacementButton_ = new QPushButton(QStringLiteral("替换内容(&R)..."), replacement);
  SetControlId(replacementButton_, kReplacementList);
  replacementButton_->setAutoDefault(false);
  connect(replacementButton_, &QPushButton::clicked, this, [this] { services_.editReplacements(this); });
  auto* replacementLayout = new QVBoxLayout(replacement);
  replacementLayout->addWidget(useReplacement_);
  replacementLayout->addWidget(replacementButton_);
  replacementLayout->addStretch(1);

  // Excel sizes.
  auto* excel = new QGroupBox(QStringLiteral("EXCEL数据交换"), this);
  SetControlId(excel, 226);
  byScale_ = new QRadioButton(QStringLiteral("按比例(&S)"), excel);
  byValue_ = new QRadioButton(QStringLiteral("按数值(&V)"), excel);
  SetControlId(byScale_, kByScale);
  SetControlId(byValue_, kByValue);
  excelWay_ = new QButtonGroup(this);
  excelWay_->addButton(byScale_, 0);
  excelWay_->addButton(byValue_, 1);
  connect(excelWay_, &QButtonGroup::idClicked, this, [this] { Refresh(); });
  excelScale_ = new QDoubleSpinBox(excel);
  excelRowHeight_ = new QDoubleSpinBox(excel);
  excelFontHeight_ = new QDoubleSpinBox(excel);
  SetControlId(excelScale_, kExcelScale);
  SetControlId(excelRowHeight_, kExcelRowHeight);
  SetControlId(excelFontHeight_, kExcelFontHeight);
  excelScale_->setDecimals(2);
  excelScale_->setRange(0.01, 100000);
  excelRowHeight_->setDecimals(0);
  excelRowHeight_->setRange(1, 10000);
  excelFontHeight_->setDecimals(2);
  excelFontHeight_->setRange(0.01, 10000);
  auto* excelLayout = new QGridLayout(excel);
  excelLayout->addWidget(byScale_, 0, 0);
  excelLayout->addWidget(byValue_, 0, 1);
  excelLayout->addWidget(label(227, "比例："), 1, 0);
  excelLayout->addWidget(excelScale_, 1, 1);
  excelLayout->addWidget(label(228, "行高(mm)："), 2, 0);
  excelLayout->addWidget(excelRowHeight_, 2, 1);
  excelLayout->addWidget(label(229, "字高(mm)："), 3, 0);
  excelLayout->addWidget(excelFontHeight_, 3, 1);

  // Language, the maker's mark, OK and Cancel.
  languageBox_ = new QComboBox(this);
  languageBox_->setObjectName(QStringLiteral("LanguageBox"));
  SetControlId(languageBox_, kLanguageBox);
  languageBox_->setMinimumWidth(110);
  connect(languageBox_, &QComboBox::activated, this, [this](int i) { ChooseLanguage(languageBox_->itemText(i)); });
  webPicture_ = new QLabel(this);
  SetControlId(webPicture_, kWebPicture);
  webPicture_->setPixmap(WebMark());
  webPicture_->setCursor(Qt::PointingHandCursor);
  webPicture_->setToolTip(Q(links_.home));
  webPicture_->installEventFilter(this);
  ok_ = new QPushButton(QStringLiteral("确定"), this);
  cancel_ = new QPushButton(QStringLiteral("取消"), this);
  SetControlId(ok_, 1);
  SetControlId(cancel_, 2);
  ok_->setDefault(true);
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &SettingsDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &SettingsDialog::reject);

  auto* middle = new QHBoxLayout;
  middle->addWidget(replacement, 1);
  middle->addWidget(excel, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(label(1000, "语言："));
  bottom->addWidget(languageBox_);
  bottom->addSpacing(12);
  bottom->addWidget(webPicture_);
  bottom->addStretch(1);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(drawing);
  layout->addLayout(middle);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  loaded_.Load("BASE SETTING", settings_);
  Show(loaded_);
  ApplyDialogTexts(this, kDialogId, language_);
  FillLanguages();
  Refresh();
}

SettingsDialog::~SettingsDialog() {
  // QDialog's destructor hides the window, which moves the focus: a box losing it would report
  // an edit to this dialog after its own members are gone.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

void SettingsDialog::Show(const Settings& s) {
  plotScale_->setValue(s.PlotScale);
  useReplacement_->setChecked(s.TurnTextEnable != 0);
  (s.Excel.ExcelTurnType == 1 ? byValue_ : byScale_)->setChecked(true);
  excelScale_->setValue(s.Excel.ExcelScale);
  excelRowHeight_->setValue(s.Excel.ExcelRowHeight);
  excelFontHeight_->setValue(s.Excel.ExcelFontHeight);
  BuildLists(s);
}

void SettingsDialog::BuildLists(const Settings& s) {
  const auto text = [this](const char* key) { return Q(language_.Text(key)); };
  layers_->setHorizontalHeaderLabels({text("IDS_LAYER_ITEM_NAME"), text("IDS_LAYER_NAME"), text("IDS_LAYER_COLOR"),
                                      text("IDS_LAYER_LINE_TYPE")});
  const LayerEntry* layers[] = {&s.Sideline, &s.Inline, &s.Text};
  const char* roles[] = {"IDS_LAYER_THICK_NAME", "IDS_LAYER_THIN_NAME", "IDS_LAYER_TEXT_NAME"};
  for (int r = 0; r < 3; ++r) {
    const LayerRow row = ShowLayer(*layers[r]);
    layers_->setItem(r, 0, Cell(text(roles[r]), Qt::AlignHCenter, false));
    layers_->setItem(r, 1, Cell(Q(row.name), Qt::AlignLeft, true));
    QTableWidgetItem* colour = Cell(Q(row.color), Qt::AlignHCenter, false);
    colour->setIcon(SwatchIcon(layers[r]->Color));
    layers_->setItem(r, kLayerColour, colour);
    layers_->setItem(r, kLayerLinetype, Cell(Q(row.lineType), Qt::AlignHCenter, false));
  }
  SizeColumns(layers_, LayerColumnWidths(kListWidth));

  styles_->setHorizontalHeaderLabels({text("IDS_FONT_ITEM_NAME"), text("IDS_FONT_STYLE_NAME"), text("IDS_FONT_NAME"),
                                      text("IDS_FONT_BIG_NAME"), text("IDS_FONT_HEIGHT"), text("IDS_FONT_WFACTOR")});
  const TextStyleRow row = ShowTextStyle(s.Table);
  styles_->setItem(0, 0, Cell(text("IDS_FONT_NORM_NAME"), Qt::AlignHCenter, false));
  styles_->setItem(0, 1, Cell(Q(row.styleName), Qt::AlignLeft, true));
  styles_->setItem(0, kStyleFont, Cell(Q(row.font), Qt::AlignLeft, true));
  styles_->setItem(0, kStyleBigFont, Cell(Q(row.bigFont), Qt::AlignLeft, true));
  styles_->setItem(0, kStyleHeight, Cell(Q(row.height), Qt::AlignHCenter, true));
  styles_->setItem(0, kStyleWidth, Cell(Q(row.widthFactor), Qt::AlignHCenter, true));
  SizeColumns(styles_, TextStyleColumnWidths(kListWidth));
}

void SettingsDialog::FillLanguages() {
  const LanguageList list = language_.ListLanguages();
  languageBox_->clear();
  for (const std::string& name : list.names) languageBox_->addItem(Q(name));
  languageBox_->setCurrentIndex(languageBox_->findText(Q(list.active)));
}

Settings SettingsDialog::FromControls() const {
  Settings s = loaded_;
  s.PlotScale = plotScale_->value();
  s.TurnTextEnable = useReplacement_->isChecked() ? 1 : 0;
  s.Excel.ExcelTurnType = byValue_->isChecked() ? 1 : 0;
  s.Excel.ExcelScale = excelScale_->value();
  s.Excel.ExcelRowHeight = static_cast<int>(excelRowHeight_->value());
  s.Excel.ExcelFontHeight = excelFontHeight_->value();
  LayerEntry* layers[] = {&s.Sideline, &s.Inline, &s.Text};
  const auto at = [](const QTableWidget* list, int r, int c) {
    const QTableWidgetItem* item = list->item(r, c);
    return item ? S(item->text()) : std::string();
  };
  for (int r = 0; r < 3; ++r)
    *layers[r] = ReadLayerRow(r, {at(layers_, r, 1), at(layers_, r, kLayerColour), at(layers_, r, kLayerLinetype)});
  s.Table = ReadTextStyleRow({at(styles_, 0, 1), at(styles_, 0, kStyleFont), at(styles_, 0, kStyleBigFont),
                              at(styles_, 0, kStyleHeight), at(styles_, 0, kStyleWidth)});
  return s;
}

Settings SettingsDialog::Values() const { return FromControls(); }

void SettingsDialog::Refresh() {
  plotScale_->setValue(RefreshedPlotScale(plotScale_->value()));
  const ExcelFieldsOpen open = ExcelFieldsFor(byValue_->isChecked() ? 1 : 0);
  excelScale_->setEnabled(open.scale);
  excelRowHeight_->setEnabled(open.rowHeight);
  excelFontHeight_->setEnabled(open.fontHeight);
}

void SettingsDialog::OnLayerClicked(int row, int column) {
  QTableWidgetItem* item = layers_->item(row, column);
  if (!item) return;
  if (column == kLayerColour) {
    if (const std::optional<int> chosen = services_.chooseColour(this, item->text().toInt())) {
      item->setText(QString::number(*chosen));
      item->setIcon(SwatchIcon(*chosen));
    }
  } else if (column == kLayerLinetype) {
    if (const std::optional<std::string> chosen = services_.chooseLinetype(this, S(item->text())))
      item->setText(Q(*chosen));
  }
}

void SettingsDialog::ChooseLanguage(const QString& name) {
  styleDelegate_->Finish();
  const Settings remembered = FromControls();
  (void)language_.StartLanguage(S(name));
  ApplyDialogTexts(this, kDialogId, language_);
  BuildLists(remembered);
  FillLanguages();
  if (services_.languageChanged) services_.languageChanged();
}

QStringList SettingsDialog::FontEntries() const {
  QStringList out;
  for (const FontChoice& c : styleDelegate_->Choices()) out << Q(c.name);
  return out;
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* e) {
  if (watched == webPicture_ && e->type() == QEvent::MouseButtonRelease) {
    services_.openUrl(links_.home);
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

void SettingsDialog::accept() {
  if (!styleDelegate_->Finish()) return;
  // An open layer name editor keeps its text.
  layers_->setCurrentIndex(QModelIndex());
  plotScale_->interpretText();
  Refresh();
  const int chosen = languageBox_->currentIndex();
  (void)language_.SetLanguage(chosen < 0 ? std::string("English") : S(languageBox_->itemText(chosen)));
  const Result saved = FromControls().Save("BASE SETTING", settings_);
  if (!saved) {
    services_.tell(this, Q(saved.Describe()));
    return;
  }
  QDialog::accept();
}

}  // namespace vex
