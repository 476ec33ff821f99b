#pragma once
// The real main window on the host, offscreen, driven as a drafter drives it: each step of a
// test runs when the host waits for input at a prompt (the nested event loop of the window's
// input), so steps see the window as the drafter would at that moment. Modal dialogs are met
// by handlers that run when the dialog shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "cadhost/ui/command_line_widget.h"
#include "cadhost/ui/drawing_view.h"
#include "cadhost/ui/main_window.h"
#include "support/temp_dir.h"

namespace cadhost::ui::test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHost();
    window = std::make_unique<MainWindow>();
    window->resize(1000, 700);
    window->Attach();
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QObject::connect(&window->Queue(), &InputQueue::WaitingChanged, window.get(), [this](bool waiting) {
      if (waiting) Schedule();
    });
  }
  void TearDown() override {
    if (window) window->Detach();
    ResetHost();
    window.reset();
  }

  // Opens `drawings` (or a new one) and starts the host with a scratch registry.
  void Start(const std::vector<std::string>& drawings = {}) {
    WindowStart start;
    start.drawings = drawings;
    start.registryFolder = dir.File("registry");
    window->Start(start);
  }

  // Adds a step; it runs when the host next waits for input.
  void Step(std::function<void()> step) { m_steps.push_back(std::move(step)); }
  // Runs the host's command line until the steps run out (the input ends then).
  void Run(int timeoutMs = 60000) {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
      ADD_FAILURE() << "the window did not get through its steps in time; "
                    << m_steps.size() << " left\n" << History();
      m_steps.clear();
      // A dialog left open would hold the host's command for ever: the test fails instead.
      for (int i = 0; i < 8; ++i)
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
      window->Queue().End();
    });
    watchdog.start(timeoutMs);
    Schedule();
    RunCommandLine();
  }
  // When a modal dialog shows, `handle` gets it (once).
  void WhenModal(std::function<void(QWidget*)> handle) {
    auto* poll = new QTimer(window.get());
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, handle = std::move(handle)] {
      if (QWidget* m = QApplication::activeModalWidget()) {
        poll->stop();
        poll->deleteLater();
        handle(m);
      }
    });
    poll->start();
  }

  DrawingView* View() const { return window->CurrentView(); }
  CommandLineWidget* CommandLine() const { return window->CommandLine(); }
  // Types as a drafter does: character by character into the command line, then ENTER.
  void Type(const QString& text, bool enter = true) {
    QWidget* line = CommandLine()->Input();
    QTest::keyClicks(line, text);
    if (enter) QTest::keyClick(line, Qt::Key_Return);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(CommandLine()->Input(), key, mods);
  }
  QPoint At(double x, double y) const { return View()->ScreenOf({x, y}); }
  void Click(double x, double y, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseMove(View(), At(x, y));
    QTest::mouseClick(View(), Qt::LeftButton, mods, At(x, y));
  }
  void Move(double x, double y) { QTest::mouseMove(View(), At(x, y)); }
  std::string History() const { return CommandLine()->HistoryText().toStdString(); }
  AcDbDatabase* Drawing() const { return acdbHostApplicationServices()->workingDatabase(); }
  std::vector<AcDbObjectId> Entities() const {
    AcDbObjectPointer<AcDbBlockTableRecord> ms(Drawing()->modelSpaceId(), AcDb::kForRead);
    return ms ? ms->entityIds() : std::vector<AcDbObjectId>{};
  }

  vex::test::TempDir dir;
  std::unique_ptr<MainWindow> window;

 private:
  void Schedule() {
    QTimer::singleShot(0, window.get(), [this] { Next(); });
  }
  void Next() {
    InputQueue& q = window->Queue();
    if (!q.Waiting() || q.Pending()) return;  // the host has input to read first
    if (m_steps.empty()) {
      q.End();
      return;
    }
    auto step = std::move(m_steps.front());
    m_steps.pop_front();
    step();
    // A step that gave no input leaves the host waiting: the next one may go.
    if (q.Waiting() && !q.Pending() && !q.Ended()) Schedule();
  }
  std::deque<std::function<void()>> m_steps;
};

}  // namespace cadhost::ui::test
