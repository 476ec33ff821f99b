#include "files/table_init_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "files/companion_drawing.h"
#include "files/header_library.h"
#include "files/header_manager_dialog.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "settings/language_pack.h"

namespace vex {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A control's text of the pack, or the dialog's own text when the pack has none.
QString DialogText(const LanguagePack& language, int control, const char* fallback) {
  const std::string t = language.DialogText(TableInitDialog::kDialogId, control);
  return t.empty() ? QString::fromUtf8(fallback) : Q(t);
}

// A size field: its arrows step through TableInit, so they keep the field's lower bound.
class SizeSpin : public QSpinBox {
 public:
  SizeSpin(QWidget* parent, std::function<void(int)> step) : QSpinBox(parent), step_(std::move(step)) {}
  void stepBy(int steps) override { step_(steps); }

 protected:
  // Both arrows stay usable: the rules, not the spin's range, decide what a click does.
  StepEnabled stepEnabled() const override { return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone; }

 private:
  std::function<void(int)> step_;
};

constexpr SizeField kFields[] = {SizeField::kRows, SizeField::kCols, SizeField::kRowHeight, SizeField::kColWidth};
int Slot(SizeField f) { return static_cast<int>(f); }

}  // namespace

TableInitDialog::TableInitDialog(QWidget* parent, const LanguagePack& language, HeaderLibrary& library,
                                 double styleHeightMm, const QString& caption)
    : QDialog(parent),
      language_(language),
      library_(library),
      styleHeightMm_(styleHeightMm),
      browsing_(std::make_unique<ImageStore>()) {
  const std::string title = language.DialogText(kDialogId, LanguagePack::kDialogTitle);
  setWindowTitle(title.empty() ? caption : Q(title));
  runManager_ = [this](QWidget* owner, const std::string& preselect) {
    HeaderManagerDialog manager(owner, language_, library_, styleHeightMm_, preselect, kManagerFromInitDialog);
    manager.exec();
    return ManagerResult{manager.LastClass(), manager.LastHeader()};
  };

  classBox_ = new QComboBox(this);
  headerBox_ = new QComboBox(this);
  classBox_->setMinimumWidth(180);
  headerBox_->setMinimumWidth(180);
  setHeader_ = new QPushButton(DialogText(language, kSetHeaderId, "设置表头(&S)..."), this);
  auto* headerForm = new QFormLayout;
  headerForm->addRow(DialogText(language, 233, "类别："), classBox_);
  headerForm->addRow(DialogText(language, 218, "表头："), headerBox_);
  auto* headerBoxLayout = new QVBoxLayout;
  headerBoxLayout->addLayout(headerForm);
  auto* setRow = new QHBoxLayout;
  setRow->addStretch(1);
  setRow->addWidget(setHeader_);
  headerBoxLayout->addLayout(setRow);
  auto* headerGroup = new QGroupBox(DialogText(language, 232, "表头"), this);
  headerGroup->setLayout(headerBoxLayout);

  for (SizeField f : kFields) {
    auto* spin = new SizeSpin(this, [this, f](int steps) {
      TakeTyped(f);
      init_.Spin(f, steps);
      Refresh();
    });
    const bool count = f == SizeField::kRows || f == SizeField::kCols;
    spin->setRange(count ? -65535 : -100000, count ? 65535 : 100000);
    spin->setKeyboardTracking(false);
    // A typed value counts when the field loses the focus (or Enter is pressed).
    connect(spin, &QSpinBox::editingFinished, this, [this, f] {
      TakeTyped(f);
      Refresh();
    });
    fields_[Slot(f)] = spin;
  }
  auto* sizeForm = new QFormLayout;
  sizeForm->addRow(DialogText(language, 237, "行数："), fields_[Slot(SizeField::kRows)]);
  sizeForm->addRow(DialogText(language, 235, "列数："), fields_[Slot(SizeField::kCols)]);
  auto* sizeGroup = new QGroupBox(DialogText(language, 234, "表格大小"), this);
  sizeGroup->setLayout(sizeForm);
  auto* cellForm = new QFormLayout;
  const QString mm = DialogText(language, -1, "(mm)");
  cellForm->addRow(DialogText(language, 238, "行高：") + " " + mm, fields_[Slot(SizeField::kRowHeight)]);
  cellForm->addRow(DialogText(language, 240, "列宽：") + " " + mm, fields_[Slot(SizeField::kColWidth)]);
  auto* cellGroup = new QGroupBox(DialogText(language, 236, "单元格尺寸"), this);
  cellGroup->setLayout(cellForm);

  info_ = new QLabel(this);
  info_->setMinimumHeight(info_->fontMetrics().height() + 4);
  auto* note = new QLabel(DialogText(language, 239, "表格不能小于所选表头。"), this);
  note->setWordWrap(true);
  auto* infoLayout = new QVBoxLayout;
  infoLayout->addWidget(info_);
  infoLayout->addWidget(note);
  auto* infoGroup = new QGroupBox(DialogText(language, 228, "表头信息"), this);
  infoGroup->setLayout(infoLayout);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(DialogText(language, 1, "确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(DialogText(language, 2, "取消"), QDialogButtonBox::RejectRole);
  ok_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* sizes = new QHBoxLayout;
  sizes->addWidget(sizeGroup);
  sizes->addWidget(cellGroup);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(headerGroup);
  layout->addLayout(sizes);
  layout->addWidget(infoGroup);
  layout->addWidget(buttons);

  connect(classBox_, &QComboBox::currentIndexChanged, this, &TableInitDialog::OnClassChosen);
  connect(headerBox_, &QComboBox::currentIndexChanged, this, &TableInitDialog::OnHeaderChosen);
  connect(setHeader_, &QPushButton::clicked, this, &TableInitDialog::OpenManager);

  FillClasses({});
  FillHeaders({});
  Refresh();
}

TableInitDialog::~TableInitDialog() = default;

QSpinBox* TableInitDialog::Field(SizeField f) const { return fields_[Slot(f)]; }

void TableInitDialog::FillClasses(std::string_view select) {
  classList_ = InitClassList(language_.Text("IDS_WHOLE_HEADER"), library_.ListClasses());
  const int index = EntryIndex(classList_, select);
  filling_ = true;
  classBox_->clear();
  for (const std::string& c : classList_) classBox_->addItem(Q(c));
  classBox_->setCurrentIndex(index);
  filling_ = false;
  className_ = ClassOfEntry(classList_, index);
}

void TableInitDialog::FillHeaders(std::string_view select) {
  headerList_ = InitHeaderList(language_.Text("IDS_BLANK_TALBE"), library_.ListHeaders(className_));
  filling_ = true;
  headerBox_->clear();
  for (const std::string& h : headerList_) headerBox_->addItem(Q(h));
  headerBox_->setCurrentIndex(EntryIndex(headerList_, select));
  filling_ = false;
}

void TableInitDialog::OnClassChosen(int index) {
  if (filling_) return;
  className_ = ClassOfEntry(classList_, index);
  FillHeaders({});
  // The list now shows the blank table selected, and that is what OK gives: a header of
  // another class must not stay chosen unseen.
  OnHeaderChosen(0);
}

void TableInitDialog::OnHeaderChosen(int index) {
  if (filling_ || index < 0) return;
  const std::string name = HeaderOfEntry(headerList_, index);
  const auto path = className_.empty() ? library_.FindHeader(name) : library_.FindHeaderInClass(className_, name);
  TableHeader header;
  SilentSink quiet;
  if (path && library_.LoadHeaderFile(*path, header, *browsing_, quiet)) {
    headerName_ = name;
    headerPath_ = *path;
    init_.ChooseHeader(std::move(header));
  } else {
    headerName_.clear();
    headerPath_.clear();
    init_.ChooseBlank();
  }
  Refresh();
}

void TableInitDialog::TakeTyped(SizeField f) {
  QSpinBox* spin = fields_[Slot(f)];
  if (!spin->isEnabled()) return;
  spin->interpretText();
  if (spin->value() != init_.Get(f)) init_.Set(f, spin->value());
}

void TableInitDialog::Refresh() {
  init_.Refresh();
  for (SizeField f : kFields) {
    QSpinBox* spin = fields_[Slot(f)];
    spin->setEnabled(init_.Enabled(f));
    const QSignalBlocker quiet(spin);
    spin->setValue(init_.Get(f));
  }
  info_->setText(Q(init_.InfoLine(language_)));
}

void TableInitDialog::OpenManager() {
  const ManagerResult last = runManager_(this, headerName_);
  FillClasses(last.className);
  FillHeaders(last.headerName);
  OnHeaderChosen(headerBox_->currentIndex());
}

void TableInitDialog::accept() {
  for (SizeField f : kFields) TakeTyped(f);
  Refresh();
  answer_ = TableInitAnswer{};
  answer_.hasHeader = init_.HasHeader();
  answer_.headerName = headerName_;
  answer_.headerPath = headerPath_;
  answer_.type = init_.HasHeader() ? init_.Header().TitleROrC : kBlankTableType;
  answer_.rows = init_.Get(SizeField::kRows);
  answer_.cols = init_.Get(SizeField::kCols);
  answer_.rowHeight = init_.Get(SizeField::kRowHeight);
  answer_.colWidth = init_.Get(SizeField::kColWidth);
  answer_.table = init_.Table();
  QDialog::accept();
}

std::optional<TableInitAnswer> TableInitDialog::Run(QWidget* parent, const LanguagePack& language,
                                                    HeaderLibrary& library, double styleHeightMm,
                                                    const QString& caption, ImageStore& pictures,
                                                    MessageSink& messages) {
  TableInitDialog dialog(parent, language, library, styleHeightMm, caption);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  TableInitAnswer answer = dialog.Answer();
  // The chosen header's pictures go into the caller's store only now.
  if (answer.hasHeader)
    if (const Result r = LoadCompanionDrawing(answer.table, answer.headerPath, pictures, messages); !r)
      messages.Print("\n" + r.Describe());
  return answer;
}

}  // namespace vex
