#include "cadhost/ui/appload_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/rxregsvc.h"

namespace cadhost::ui {
namespace {

// The lines the host printed while `action` ran, without the leading line breaks.
template <typename Action>
QString Said(Action&& action) {
  const std::size_t before = Feedback::Text().size();
  action();
  const std::string text = Feedback::Text();
  return QString::fromStdString(text.size() >= before ? text.substr(before) : text).trimmed();
}

}  // namespace

AppLoadDialog::AppLoadDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Load/Unload Applications"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Loaded applications:"), this));
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("loadedApplications"));
  layout->addWidget(m_list, 1);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(new QLabel(QStringLiteral("File:"), this));
  m_file = new QLineEdit(this);
  m_file->setObjectName(QStringLiteral("applicationFile"));
  fileRow->addWidget(m_file, 1);
  auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, &AppLoadDialog::Browse);
  fileRow->addWidget(browse);
  layout->addLayout(fileRow);
  auto* actions = new QHBoxLayout;
  auto* load = new QPushButton(QStringLiteral("Load"), this);
  load->setObjectName(QStringLiteral("load"));
  load->setDefault(true);
  connect(load, &QPushButton::clicked, this, [this] { Load(); });
  auto* unload = new QPushButton(QStringLiteral("Unload"), this);
  unload->setObjectName(QStringLiteral("unload"));
  unload->setAutoDefault(false);
  connect(unload, &QPushButton::clicked, this, [this] { Unload(); });
  actions->addWidget(load);
  actions->addWidget(unload);
  actions->addStretch();
  layout->addLayout(actions);
  m_message = new QLabel(this);
  m_message->setWordWrap(true);
  layout->addWidget(m_message);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  close->button(QDialogButtonBox::Close)->setAutoDefault(false);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::accept);
  layout->addWidget(close);
  resize(520, 360);
  Fill();
  // The drafter types or pastes a path first.
  m_file->setFocus();
}

void AppLoadDialog::Fill() {
  m_list->clear();
  for (const std::string& path : acrxDynamicLinker->loadedApplications())
    m_list->addItem(QString::fromStdString(path));
}

QString AppLoadDialog::Message() const { return m_message->text(); }

void AppLoadDialog::Browse() {
  const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("Load Application"),
                                                 m_file->text(),
                                                 QStringLiteral("Applications (*.arx)"), nullptr,
                                                 QFileDialog::DontUseNativeDialog);
  if (!f.isEmpty()) m_file->setText(f);
}

bool AppLoadDialog::Load() {
  const std::string path = m_file->text().trimmed().toStdString();
  if (path.empty()) return false;
  bool ok = false;
  m_message->setText(Said([&] { ok = acrxDynamicLinker->loadModule(path.c_str(), true, true); }));
  Fill();
  return ok;
}

bool AppLoadDialog::Unload() {
  const QListWidgetItem* item = m_list->currentItem();
  if (item == nullptr) return false;
  const std::string path = item->text().toStdString();
  bool ok = false;
  m_message->setText(Said([&] { ok = acrxDynamicLinker->unloadModule(path.c_str(), true); }));
  if (!ok && m_message->text().isEmpty())
    m_message->setText(QStringLiteral("Unable to unload %1: the application is locked.").arg(item->text()));
  else if (ok)
    m_message->setText(QStringLiteral("%1 unloaded.").arg(item->text()));
  Fill();
  return ok;
}

}  // namespace cadhost::ui
