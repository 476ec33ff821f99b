#include "plugin/floating_toolbar.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QUrl>

#include <cmath>
#include <numbers>

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "editor/dialog_texts.h"
#include "plugin/commands.h"
#include "plugin/plugin_context.h"
#include "settings/window_placement.h"
#include "widgets/flat_button.h"

namespace vex {
namespace {

constexpr int kIcon = 20;
const QColor kFace(0xC0, 0xC0, 0xC0);

// Our own pictures of the toolbar's buttons, drawn at kIcon pixels.
enum class Picture { kHandle, kSettings, kTable, kNew, kEdit, kExcel, kHelp, kClose };

void DrawTable(QPainter& p, const QRectF& r, const QColor& line) {
  p.setPen(QPen(line, 1.2));
  p.setBrush(Qt::white);
  p.drawRect(r);
  for (int i = 1; i < 3; ++i) p.drawLine(QPointF(r.left(), r.top() + r.height() * i / 3), QPointF(r.right(), r.top() + r.height() * i / 3));
  p.drawLine(QPointF(r.left() + r.width() * 0.4, r.top()), QPointF(r.left() + r.width() * 0.4, r.bottom()));
}

QPixmap Draw(Picture picture) {
  QPixmap pm(kIcon, kIcon);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (picture) {
    case Picture::kHandle:
      p.setPen(Qt::NoPen);
      for (int y = 3; y < kIcon - 2; y += 4) {
        p.setBrush(Qt::white);
        p.drawRect(6, y, 2, 2);
        p.drawRect(11, y, 2, 2);
        p.setBrush(QColor(90, 90, 90));
        p.drawRect(7, y + 1, 2, 2);
        p.drawRect(12, y + 1, 2, 2);
      }
      break;
    case Picture::kSettings: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(70, 80, 100));
      QPainterPath gear;
      const QPointF c(10, 10);
      for (int i = 0; i < 16; ++i) {
        const double a = i * std::numbers::pi / 8;
        const double r = (i % 2 == 0) ? 8.5 : 6.2;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0) gear.moveTo(pt);
        else gear.lineTo(pt);
      }
      gear.closeSubpath();
      gear.addEllipse(c, 2.8, 2.8);
      gear.setFillRule(Qt::OddEvenFill);
      p.drawPath(gear);
      break;
    }
    case Picture::kTable:
      DrawTable(p, QRectF(2.5, 3.5, 15, 13), QColor(20, 60, 140));
      break;
    case Picture::kNew:
      DrawTable(p, QRectF(1.5, 5.5, 13, 12), QColor(20, 60, 140));
      p.setPen(QPen(QColor(0, 140, 0), 2.2));
      p.drawLine(QPointF(15.5, 1.5), QPointF(15.5, 8.5));
      p.drawLine(QPointF(12, 5), QPointF(19, 5));
      break;
    case Picture::kEdit:
      DrawTable(p, QRectF(1.5, 2.5, 13, 12), QColor(20, 60, 140));
      p.setPen(QPen(QColor(150, 80, 0), 2.6, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(17.5, 7.5), QPointF(9.5, 15.5));
      p.setPen(QPen(Qt::black, 1.2));
      p.drawLine(QPointF(9.5, 15.5), QPointF(8, 18));
      break;
    case Picture::kExcel:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(30, 120, 60));
      p.drawRoundedRect(QRectF(2, 2, 16, 16), 2, 2);
      p.setPen(QPen(Qt::white, 2.2));
      p.drawLine(QPointF(6, 6), QPointF(14, 14));
      p.drawLine(QPointF(14, 6), QPointF(6, 14));
      break;
    case Picture::kHelp: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(30, 90, 190));
      p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
      QFont f = p.font();
      f.setPixelSize(14);
      f.setBold(true);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRect(0, 0, kIcon, kIcon), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case Picture::kClose:
      p.setPen(QPen(QColor(150, 20, 20), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(6, 6), QPointF(14, 14));
      p.drawLine(QPointF(14, 6), QPointF(6, 14));
      break;
  }
  return pm;
}

struct ButtonSpec {
  int id;
  Picture picture;
  const char* caption;  // the resource text, replaced by the language's
  const char* tipKey;
  const char* command;  // posted when clicked; null for help
};

constexpr ButtonSpec kButtons[] = {
    {FloatingToolbar::kSettings, Picture::kSettings, "", "IDS_BTN_CTRL", "VEXBASESETUP"},
    {FloatingToolbar::kOpenTable, Picture::kTable, "制表", "IDS_BTN_OPENTABLE", "VEXOPENTABLE"},
    {FloatingToolbar::kNewTable, Picture::kNew, "新建", "IDS_BTN_DRAWTABLE", "VEXDRAWTABLE"},
    {FloatingToolbar::kEditTable, Picture::kEdit, "编辑", "IDS_BTN_EDITTABLE", "VEXEDITTABLE"},
    {FloatingToolbar::kExcel, Picture::kExcel, "EXCEL", "IDS_BTN_READEXCEL", "VEXDRAWEXCEL"},
    {FloatingToolbar::kHelp, Picture::kHelp, "", "IDS_BTN_HELP", nullptr},
};

// Makes the host's window the active one again.
void ActivateHostWindow() {
  if (QWidget* frame = acedGetAcadFrame()) frame->activateWindow();
}

QPointer<FloatingToolbar>& TheToolbar() {
  static QPointer<FloatingToolbar> toolbar;
  return toolbar;
}

}  // namespace

FloatingToolbar::FloatingToolbar(QWidget* owner, const ProfileFile& settings, const LanguagePack& language,
                                 ToolbarActions actions)
    : QDialog(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      settings_(settings),
      language_(language),
      actions_(std::move(actions)) {
  setObjectName(QStringLiteral("FloatingToolbar"));
  // Never shown (no caption), but the window system and its tools know the window by it.
  setWindowTitle(QStringLiteral("VexTable toolbar"));
  setModal(false);
  // The keyboard stays with the host's command line: showing or clicking the toolbar never
  // takes it.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kFace);
  pal.setColor(QPalette::Button, kFace);
  setPalette(pal);
  // Where the window system cannot make a window translucent it stays opaque.
  setWindowOpacity(kOpacity);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(1);
  handle_ = new QLabel(this);
  handle_->setPixmap(Draw(Picture::kHandle));
  handle_->setCursor(Qt::SizeAllCursor);
  SetControlId(handle_, kHandle);
  handle_->installEventFilter(this);
  layout->addWidget(handle_);
  for (const ButtonSpec& entry : kButtons) {
    auto* b = new FlatButton(QIcon(Draw(entry.picture)), QString(), this);
    b->setIconSize(QSize(kIcon, kIcon));
    b->setText(QString::fromUtf8(entry.caption));
    b->setToolButtonStyle(*entry.caption ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    b->setPalette(pal);
    SetControlId(b, entry.id);
    const std::string command = entry.command ? entry.command : "";
    connect(b, &QToolButton::clicked, this, [this, command] {
      if (command.empty()) {
        if (actions_.help) actions_.help();
      } else if (actions_.post) {
        actions_.post(command);
      }
    });
    layout->addWidget(b);
  }
  closeMark_ = new QLabel(this);
  closeMark_->setPixmap(Draw(Picture::kClose));
  closeMark_->setCursor(Qt::PointingHandCursor);
  SetControlId(closeMark_, kCloseMark);
  closeMark_->installEventFilter(this);
  layout->addWidget(closeMark_);
  ApplyTexts();
}

FloatingToolbar::~FloatingToolbar() { SavePosition(); }

QToolButton* FloatingToolbar::Button(int id) const { return qobject_cast<QToolButton*>(ControlById(this, id)); }

void FloatingToolbar::ApplyTexts() {
  ApplyDialogTexts(this, kDialogId, language_);
  for (const ButtonSpec& entry : kButtons)
    if (QToolButton* b = Button(entry.id)) b->setToolTip(QtText(language_.Text(entry.tipKey)));
  handle_->setToolTip(QtText(language_.Text("IDS_BTN_MOVE")));
  closeMark_->setToolTip(QtText(language_.Text("IDS_BTN_CLOSE")));
  adjustSize();
}

void FloatingToolbar::PlaceAt(int fallbackX, int fallbackY) {
  adjustSize();
  const ToolbarSpot stored = ReadToolbarSpot(settings_, {fallbackX, fallbackY});
  QSize screen(1920, 1080);
  if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
  const ToolbarSpot spot = ToolbarOnScreen(stored, width(), height(), screen.width(), screen.height());
  move(spot.x, spot.y);
}

void FloatingToolbar::SavePosition() const {
  if (settings_.Path().empty()) return;
  (void)WriteToolbarSpot(settings_, {pos().x(), pos().y()});
}

void FloatingToolbar::StartDrag(const QPoint& globalPos) {
  dragging_ = true;
  dragOffset_ = globalPos - frameGeometry().topLeft();
}

bool FloatingToolbar::eventFilter(QObject* watched, QEvent* e) {
  if (watched == closeMark_ && e->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
    SavePosition();
    hide();
    // The next VEXTABLE makes a new toolbar; this one goes once its click is handled.
    TheToolbar() = nullptr;
    deleteLater();
    if (actions_.closedByMark) actions_.closedByMark();
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

void FloatingToolbar::mousePressEvent(QMouseEvent* e) {
  // A press anywhere a button does not take (the handle passes its presses here) moves the
  // whole toolbar.
  if (e->button() == Qt::LeftButton) StartDrag(e->globalPosition().toPoint());
  e->accept();
}

void FloatingToolbar::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_ && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - dragOffset_);
  e->accept();
}

void FloatingToolbar::mouseReleaseEvent(QMouseEvent* e) {
  if (dragging_ && e->button() == Qt::LeftButton) dragging_ = false;
  e->accept();
}

void FloatingToolbar::keyPressEvent(QKeyEvent* e) {
  // Enter and Escape neither close the toolbar nor press a button.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void FloatingToolbar::closeEvent(QCloseEvent* e) {
  // The window system's close: gone without the message.
  e->accept();
  SavePosition();
  if (TheToolbar() == this) TheToolbar() = nullptr;
  deleteLater();
}

void ShowToolbar() {
  PluginContext& ctx = Plugin();
  QPointer<FloatingToolbar>& toolbar = TheToolbar();
  if (!toolbar) {
    EnsureQtApplication();
    QWidget* frame = acedGetAcadFrame();
    ToolbarActions actions;
    // The input goes back to the host's window, whose command line runs what was posted.
    actions.post = [](const std::string& name) {
      PostCommand(name);
      ActivateHostWindow();
    };
    actions.help = [] {
      const PluginContext& c = Plugin();
      const std::string help = HelpFileFor(c.where.helpFile, c.Language().ActiveLanguage());
      QDesktopServices::openUrl(QUrl::fromLocalFile(QtText(help)));
    };
    actions.closedByMark = [] {
      acutPrintf("\n%s", Plugin().Text("IDS_TOOLBAR_IS_CLOSE").c_str());
      if (AcApDocument* doc = acDocManager->curDocument()) acDocManager->sendStringToExecute(doc, "\x1b");
      ActivateHostWindow();
    };
    toolbar = new FloatingToolbar(frame, ctx.SettingsFile(), ctx.Language(), std::move(actions));
    toolbar->adjustSize();
    const QRect host = frame ? frame->frameGeometry() : QRect(0, 0, 1280, 800);
    const ToolbarSpot first = DefaultToolbarSpot(host.left(), host.top(), host.width(), toolbar->width());
    toolbar->PlaceAt(first.x, first.y);
  }
  toolbar->showNormal();
  toolbar->raise();
  ActivateHostWindow();
}

void DestroyToolbar() {
  delete TheToolbar().data();
  TheToolbar() = nullptr;
}

FloatingToolbar* Toolbar() { return TheToolbar().data(); }

}  // namespace vex
