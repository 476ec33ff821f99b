#include "files/header_manager_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editor/grid/grid_ctrl.h"
#include "files/header_library.h"
#include "model/grid_from_table.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "settings/language_pack.h"

namespace vex {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString DialogText(const LanguagePack& language, int control, const char* fallback) {
  const std::string t = language.DialogText(HeaderManagerDialog::kDialogId, control);
  return t.empty() ? QString::fromUtf8(fallback) : Q(t);
}

// Each header item keeps its file: the tree may show two headers of one name.
constexpr int kPathRole = Qt::UserRole + 1;

std::string PathOf(const QTreeWidgetItem* item) { return item->data(0, kPathRole).toString().toStdString(); }
std::string TextOf(const QTreeWidgetItem* item) { return item->text(0).toStdString(); }

}  // namespace

HeaderManagerDialog::HeaderManagerDialog(QWidget* parent, const LanguagePack& language, HeaderLibrary& library,
                                         double styleHeightMm, const std::string& preselect, int mode)
    : QDialog(parent),
      language_(language),
      library_(library),
      styleHeightMm_(styleHeightMm),
      pictures_(std::make_unique<ImageStore>()) {
  const std::string title = language.DialogText(kDialogId, LanguagePack::kDialogTitle);
  setWindowTitle(title.empty() ? QStringLiteral("表头管理") : Q(title));
  setSizeGripEnabled(true);
  ask_ = [](QWidget* owner, const QString& caption, const QString& question) {
    return QMessageBox::warning(owner, caption, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
  };

  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(true);
  tree_->setItemsExpandable(true);
  // The tree only grows downwards; the preview takes the rest.
  tree_->setFixedWidth(190);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  preview_ = new GridCtrl(this);
  preview_->SetEditable(false);
  preview_->SetRowResize(false);
  preview_->SetColumnResize(false);
  preview_->setMinimumSize(320, 240);
  delete_ = new QPushButton(DialogText(language, kDeleteId, "删除(&D)"), this);
  ok_ = new QPushButton(DialogText(language, kOkId, "确定"), this);
  close_ = new QPushButton(DialogText(language, kCloseId, "关闭(&C)"), this);
  ok_->setVisible(mode != kManagerFromEditor);

  auto* left = new QVBoxLayout;
  left->addWidget(tree_, 1);
  left->addWidget(delete_);
  auto* right = new QVBoxLayout;
  right->addWidget(preview_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(close_);
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);
  resize(640, 400);

  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { OnSelected(item); });
  connect(delete_, &QPushButton::clicked, this, &HeaderManagerDialog::DeleteSelected);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);

  ClearPreview();
  FillTree(preselect);
}

HeaderManagerDialog::~HeaderManagerDialog() = default;

void HeaderManagerDialog::FillTree(const std::string& preselect) {
  const std::vector<HeaderTreeClass> tree = BuildHeaderTree(library_);
  const std::optional<TreePlace> place = FindInTree(tree, preselect);
  for (const HeaderTreeClass& c : tree) {
    auto* classItem = new QTreeWidgetItem(tree_, QStringList(Q(c.name)));
    for (std::size_t h = 0; h < c.headers.size(); ++h) {
      auto* item = new QTreeWidgetItem(classItem, QStringList(Q(c.headers[h])));
      item->setData(0, kPathRole, Q(c.paths[h]));
    }
  }
  if (place) {
    QTreeWidgetItem* classItem = tree_->topLevelItem(place->classIndex);
    classItem->setExpanded(true);
    tree_->setCurrentItem(classItem->child(place->headerIndex));
  }
}

void HeaderManagerDialog::OnSelected(QTreeWidgetItem* item) {
  if (item == nullptr || item->parent() == nullptr) return;  // a class shows nothing new
  lastClass_ = TextOf(item->parent());
  lastHeader_ = TextOf(item);
  ShowPreview(PathOf(item));
}

void HeaderManagerDialog::ShowPreview(const std::string& path) {
  TableHeader header;
  SilentSink quiet;
  if (!library_.LoadHeaderFile(path, header, *pictures_, quiet)) {
    ClearPreview();
    return;
  }
  shownPath_ = path;
  LoadTableIntoGrid(preview_->Model(), header, kPreviewZoom, styleHeightMm_);
  preview_->UpdateScrollBars();
  preview_->Redraw();
}

void HeaderManagerDialog::ClearPreview() {
  shownPath_.clear();
  LoadTableIntoGrid(preview_->Model(), TableData{}, kPreviewZoom, styleHeightMm_);
  preview_->UpdateScrollBars();
  preview_->Redraw();
}

bool HeaderManagerDialog::DeleteHeaderItem(QTreeWidgetItem* item) {
  const std::string path = PathOf(item);
  // The picture drawing held for the preview goes first: its file is about to go.
  if (path == shownPath_) {
    ClearPreview();
    pictures_->Discard();
  }
  if (const Result r = library_.DeleteHeaderFile(path); !r && r.code() != ErrorCode::kNotFound) {
    Tell(Q(r.Describe()));
    return false;
  }
  if (TextOf(item) == lastHeader_ && TextOf(item->parent()) == lastClass_) lastHeader_.clear();
  delete item;
  return true;
}

void HeaderManagerDialog::DeleteSelected() {
  QTreeWidgetItem* item = tree_->currentItem();
  if (item == nullptr) return;
  QTreeWidgetItem* classItem = item->parent() ? item->parent() : item;
  if (item->parent()) {
    if (!ask_(this, QString::fromUtf8(kDeleteCaption), Q(DeleteHeaderQuestion(TextOf(item))))) return;
    if (!DeleteHeaderItem(item)) return;
  } else {
    if (!ask_(this, QString::fromUtf8(kDeleteCaption), Q(DeleteClassQuestion(TextOf(item))))) return;
    while (classItem->childCount() > 0)
      if (!DeleteHeaderItem(classItem->child(0))) return;
  }
  // A class without headers is no class any more.
  if (classItem->childCount() == 0) {
    if (TextOf(classItem) == lastClass_) lastClass_.clear();
    delete classItem;
  }
}

void HeaderManagerDialog::Tell(const QString& text) { QMessageBox::information(this, windowTitle(), text); }

}  // namespace vex
