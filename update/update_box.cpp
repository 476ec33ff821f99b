#include "update/update_box.h"

#include <QApplication>
#include <QMetaObject>
#include <QPointer>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "widgets/html_message_box.h"

namespace vex {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

struct RunningCheck {
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> done;
};

void JoinFinished(std::vector<RunningCheck>& running, bool all);

struct Checks {
  // A check still running when the program ends is waited for, never left to a dead thread.
  ~Checks() { JoinFinished(running, true); }
  std::mutex mutex;
  std::vector<RunningCheck> running;
  // Receives the answers on the window thread; deleting it drops answers not delivered yet.
  // Only WaitForUpdateChecks deletes it, once no check runs.
  QObject* receiver = nullptr;
};

Checks& TheChecks() {
  static Checks checks;
  return checks;
}

void JoinFinished(std::vector<RunningCheck>& running, bool all) {
  for (auto it = running.begin(); it != running.end();) {
    if (all || it->done->load()) {
      if (it->thread.joinable()) it->thread.join();
      it = running.erase(it);
    } else {
      ++it;
    }
  }
}

void ShowUpdateBox(QWidget* parent, const std::string& text) {
  auto* box = new HtmlMessageBox(UpdateBoxCaption(), Q(text), parent);
  box->setObjectName(QStringLiteral("UpdateBox"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
  box->raise();
}

}  // namespace

void ShowAboutBox(QWidget* parent, const WebLinks& links) {
  HtmlMessageBox box(Q(AboutCaption()), Q(AboutBoxHtml(links)), parent);
  box.setObjectName(QStringLiteral("AboutBox"));
  box.exec();
}

QString UpdateBoxCaption() { return QStringLiteral("VexTable update"); }

void StartUpdateCheck(QWidget* parent, const WebLinks& links, Downloader download) {
  Checks& checks = TheChecks();
  const std::lock_guard<std::mutex> lock(checks.mutex);
  JoinFinished(checks.running, false);
  if (!checks.receiver) checks.receiver = new QObject;
  QObject* receiver = checks.receiver;
  QPointer<QWidget> owner = parent;
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread thread([links, download = std::move(download), receiver, owner, done] {
    const std::string text = UpdateBoxText(CheckForUpdate(links, download), links);
    // The receiver lives on the window thread; the box is made there.
    QMetaObject::invokeMethod(receiver, [owner, text] { ShowUpdateBox(owner.data(), text); }, Qt::QueuedConnection);
    done->store(true);
  });
  checks.running.push_back({std::move(thread), done});
}

void WaitForUpdateChecks() {
  Checks& checks = TheChecks();
  const std::lock_guard<std::mutex> lock(checks.mutex);
  JoinFinished(checks.running, true);
  delete checks.receiver;
  checks.receiver = nullptr;
}

}  // namespace vex
