#include "setup/setup_dialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace vex::setup {
namespace {

// The dialog's layout in dialog units.
struct Box {
  int x, y, w, h;
};
constexpr Box kDialog{0, 0, 242, 168};
constexpr Box kLogoBox{0, 0, 242, 38};
constexpr Box kLinkBox{150, 27, 88, 9};  // on the banner's lower right
constexpr Box kHintBox{7, 42, 228, 9};
constexpr Box kFrameBox{7, 53, 228, 90};
constexpr Box kDefaultBox{7, 148, 50, 14};
constexpr Box kHelpBox{63, 148, 50, 14};
constexpr Box kOkBox{129, 148, 50, 14};
constexpr Box kCancelBox{185, 148, 50, 14};

constexpr int kProductColumnPixels = 230;
constexpr int kStartupColumnPixels = 150;
constexpr const char* kHint = "Please select load VexTable and start AutoCAD.";
constexpr const char* kHomeText = "vextable.example.org";

// Where a tree row sits in the list.
constexpr int kProductRole = Qt::UserRole;
constexpr int kProfileRole = Qt::UserRole + 1;

RowRef RefOf(const QModelIndex& index) {
  return {index.siblingAtColumn(0).data(kProductRole).toInt(), index.siblingAtColumn(0).data(kProfileRole).toInt()};
}

// A picture or text that does something when clicked.
class ClickLabel : public QLabel {
 public:
  ClickLabel(std::function<void()> onClick, QWidget* parent) : QLabel(parent), onClick_(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick_) onClick_();
  }

 private:
  std::function<void()> onClick_;
};

// The second column's drop-down: its only choice makes the row the start-up row. It opens
// with nothing chosen, so closing it without a choice changes nothing.
class StartupDelegate : public QStyledItemDelegate {
 public:
  StartupDelegate(std::function<void(RowRef)> choose, QObject* parent)
      : QStyledItemDelegate(parent), choose_(std::move(choose)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    if (index.column() != 1) return nullptr;
    auto* combo = new QComboBox(parent);
    combo->addItem(QString::fromUtf8(kStartupChoice.data(), static_cast<int>(kStartupChoice.size())));
    combo->setCurrentIndex(-1);
    auto* self = const_cast<StartupDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo] {
      emit self->commitData(combo);
      emit self->closeEditor(combo);
    });
    return combo;
  }
  void setEditorData(QWidget*, const QModelIndex&) const override {}
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    if (static_cast<QComboBox*>(editor)->currentIndex() == 0) choose_(RefOf(index));
  }

 private:
  std::function<void(RowRef)> choose_;
};

// Bitmap 142, the maker's banner: a small drawn table and the product's name.
QPixmap MakeLogo(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, size.width(), size.height());
  sky.setColorAt(0, QColor(18, 52, 96));
  sky.setColorAt(1, QColor(40, 110, 160));
  p.fillRect(pixmap.rect(), sky);
  const int h = size.height();
  const QRectF grid(h * 0.25, h * 0.18, h * 1.1, h * 0.64);
  p.setPen(QPen(QColor(240, 200, 80), 2));
  p.drawRect(grid);
  p.setPen(QPen(QColor(230, 235, 245), 1));
  for (int i = 1; i < 3; ++i) p.drawLine(QPointF(grid.left(), grid.top() + grid.height() * i / 3),
                                         QPointF(grid.right(), grid.top() + grid.height() * i / 3));
  p.drawLine(QPointF(grid.left() + grid.width() * 0.4, grid.top()), QPointF(grid.left() + grid.width() * 0.4, grid.bottom()));
  QFont title = p.font();
  title.setBold(true);
  title.setPixelSize(std::max(10, h * 2 / 5));
  p.setFont(title);
  p.setPen(Qt::white);
  const int textLeft = static_cast<int>(grid.right() + h * 0.3);
  p.drawText(QRect(textLeft, 0, size.width() - textLeft, h * 62 / 100), Qt::AlignLeft | Qt::AlignBottom, "VexTable");
  QFont sub = p.font();
  sub.setBold(false);
  sub.setPixelSize(std::max(8, h / 5));
  p.setFont(sub);
  p.setPen(QColor(200, 220, 240));
  p.drawText(QRect(textLeft, h * 64 / 100, size.width() - textLeft, h / 3), Qt::AlignLeft | Qt::AlignTop,
             "Harbek SoftWare");
  return pixmap;
}

}  // namespace

SetupDialog::SetupDialog(ProductList list, SetupDialogActions actions, QWidget* parent)
    : QDialog(parent), list_(std::move(list)), actions_(std::move(actions)) {
  setObjectName(QString::number(kSetupDialogId));
  setWindowTitle(QString::fromUtf8(kSetupCaption));
  // A dialog unit is a quarter of the font's average letter width across (measured over the
  // alphabet, as the dialog units of the original resource are) and an eighth of its height
  // down; the list's columns, given in pixels, then fit as they were laid out.
  const QFontMetrics fm(font());
  const double ux = fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0 / 4.0;
  const double uy = fm.height() / 8.0;
  auto rectOf = [&](const Box& b) {
    return QRect(static_cast<int>(b.x * ux), static_cast<int>(b.y * uy), static_cast<int>(b.w * ux),
                 static_cast<int>(b.h * uy));
  };
  setFixedSize(rectOf(kDialog).size());

  auto openHome = [this] {
    if (actions_.openHomePage) actions_.openHomePage();
  };
  logo_ = new ClickLabel(openHome, this);
  logo_->setObjectName(QString::number(kLogo));
  logo_->setGeometry(rectOf(kLogoBox));
  logo_->setPixmap(MakeLogo(logo_->size()));
  link_ = new ClickLabel(openHome, this);
  link_->setObjectName(QString::number(kHomeLink));
  link_->setGeometry(rectOf(kLinkBox));
  link_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  link_->setText(kHomeText);
  link_->setStyleSheet("color: rgb(200, 220, 240); text-decoration: underline;");
  auto* hint = new QLabel(kHint, this);
  hint->setGeometry(rectOf(kHintBox));

  // The frame only marks the list's place and size.
  auto* frame = new QFrame(this);
  frame->setObjectName(QString::number(kProductFrame));
  frame->setGeometry(rectOf(kFrameBox));
  frame->hide();
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QString::number(kProductTree));
  tree_->setGeometry(frame->geometry());
  tree_->setColumnCount(2);
  tree_->setHeaderLabels({"AutoCAD Version", "Default Startup"});
  tree_->header()->setStretchLastSection(false);
  tree_->setColumnWidth(0, kProductColumnPixels);
  tree_->setColumnWidth(1, kStartupColumnPixels);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setItemDelegate(new StartupDelegate(
      [this](RowRef row) {
        list_.SetStartup(row);
        Refresh();
      },
      tree_));

  default_ = new QPushButton("Default", this);
  default_->setObjectName(QString::number(kDefaultButton));
  default_->setGeometry(rectOf(kDefaultBox));
  help_ = new QPushButton("Help", this);
  help_->setObjectName(QString::number(kHelpButton));
  help_->setGeometry(rectOf(kHelpBox));
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName(QString::number(kOkButton));
  ok_->setGeometry(rectOf(kOkBox));
  ok_->setDefault(true);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName(QString::number(kCancelButton));
  cancel_->setGeometry(rectOf(kCancelBox));

  Fill();
  connect(tree_, &QTreeWidget::itemChanged, this, &SetupDialog::OnItemChanged);
  // One click on the second column opens its drop-down.
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
    if (column == 1) tree_->editItem(item, 1);
  });
  connect(default_, &QPushButton::clicked, this, [this] {
    list_.Default();
    Refresh();
  });
  connect(help_, &QPushButton::clicked, this, &SetupDialog::OpenHelp);
  connect(ok_, &QPushButton::clicked, this, &SetupDialog::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QTreeWidgetItem* SetupDialog::Item(RowRef row) const {
  if (!list_.Valid(row)) return nullptr;
  QTreeWidgetItem* product = tree_->topLevelItem(row.product);
  return row.profile < 0 ? product : product->child(row.profile);
}

void SetupDialog::Fill() {
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEditable;
  const auto& rows = list_.Rows();
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    auto* product = new QTreeWidgetItem(tree_, {QString::fromStdString(rows[i].product.Text())});
    product->setFlags(flags);
    product->setData(0, kProductRole, i);
    product->setData(0, kProfileRole, -1);
    for (int j = 0; j < static_cast<int>(rows[i].profiles.size()); ++j) {
      auto* profile = new QTreeWidgetItem(product, {QString::fromStdString(rows[i].profiles[j].name)});
      profile->setFlags(flags);
      profile->setData(0, kProductRole, i);
      profile->setData(0, kProfileRole, j);
    }
  }
  tree_->expandAll();
  Refresh();
}

void SetupDialog::Refresh() {
  refreshing_ = true;
  const QString choice = QString::fromUtf8(kStartupChoice.data(), static_cast<int>(kStartupChoice.size()));
  const auto& rows = list_.Rows();
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    for (int j = -1; j < static_cast<int>(rows[i].profiles.size()); ++j) {
      QTreeWidgetItem* item = Item({i, j});
      item->setCheckState(0, list_.Checked({i, j}) ? Qt::Checked : Qt::Unchecked);
      item->setText(1, list_.IsStartup({i, j}) ? choice : QString());
    }
  }
  refreshing_ = false;
}

void SetupDialog::OnItemChanged(QTreeWidgetItem* item, int column) {
  if (refreshing_ || column != 0) return;
  list_.SetChecked({item->data(0, kProductRole).toInt(), item->data(0, kProfileRole).toInt()},
                   item->checkState(0) == Qt::Checked);
  Refresh();
}

void SetupDialog::OpenHelp() {
  if (actions_.openHelp) actions_.openHelp();
}

// The Help key reaches the dialog from whichever control has the focus, none of which uses it.
void SetupDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    OpenHelp();
    return;
  }
  QDialog::keyPressEvent(e);
}

void SetupDialog::OnOk() {
  const Result r = actions_.apply ? actions_.apply(list_) : Result::Ok();
  if (!r) {
    if (actions_.message) actions_.message(r.message());
    return;
  }
  accept();
}

}  // namespace vex::setup
