// The window's conventions: keys at the command line, tabs that follow the documents,
// drawings that cannot be read, the modal bracket, posted commands, the progress meter,
// message boxes, object snaps and F3, and zooming and panning with the mouse.

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTabWidget>
#include <QWheelEvent>


#include <filesystem>

#include "window_fixture.h"

namespace cadhost::ui::test {
namespace {

std::vector<std::string> Described() {
  std::vector<std::string> out;
  AcDbObjectPointer<AcDbBlockTableRecord> ms(
      acdbHostApplicationServices()->workingDatabase()->modelSpaceId(), AcDb::kForRead);
  for (AcDbObjectId id : ms->entityIds()) {
    AcDbEntityPointer e(id, AcDb::kForRead);
    char buf[128];
    if (const auto* l = AcDbLine::cast(e.object())) {
      std::snprintf(buf, sizeof buf, "LINE %g,%g %g,%g", l->startPoint().x, l->startPoint().y,
                    l->endPoint().x, l->endPoint().y);
    } else if (const auto* c = AcDbCircle::cast(e.object())) {
      std::snprintf(buf, sizeof buf, "CIRCLE %g,%g r=%g", c->center().x, c->center().y, c->radius());
    } else if (const auto* t = AcDbText::cast(e.object())) {
      std::snprintf(buf, sizeof buf, "TEXT \"%s\"", t->textString().c_str());
    } else {
      std::snprintf(buf, sizeof buf, "%s", e->isA()->name());
    }
    out.push_back(buf);
  }
  return out;
}

TEST_F(WindowTest, KeysFollowTheCommandLinesConventions) {
  Start();
  Step([&] {
    // Space ends "LINE" and each point; Enter alone ends the command.
    QTest::keyClicks(CommandLine()->Input(), "LINE 0,0 10,0 ");
    Key(Qt::Key_Return);
  });
  Step([&] {
    EXPECT_EQ(Described(), (std::vector<std::string>{"LINE 0,0 10,0"}));
    // Enter on an empty line repeats the last command; Esc cancels it.
    Key(Qt::Key_Return);
  });
  Step([&] {
    EXPECT_EQ(CommandLine()->Prompt(), "Specify first point:");
    Key(Qt::Key_Escape);
  });
  Step([&] {
    EXPECT_NE(History().find("Specify first point: *Cancel*"), std::string::npos) << History();
    // At a text prompt Space is a space.
    QTest::keyClicks(CommandLine()->Input(), "TEXT 0,5 2 0 ");
  });
  Step([&] { Type("two words"); });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    EXPECT_EQ(Described().back(), "TEXT \"two words\"");
    // Up brings back what was entered, newest first.
    Key(Qt::Key_Up);
    EXPECT_EQ(CommandLine()->Input()->text(), "two words");
    Key(Qt::Key_Up);
    Key(Qt::Key_Down);
    EXPECT_EQ(CommandLine()->Input()->text(), "two words");
    Key(Qt::Key_Down);
    EXPECT_EQ(CommandLine()->Input()->text(), "");
  });
  Run();
}

TEST_F(WindowTest, TypingOverTheDrawingGoesToTheCommandLine) {
  Start();
  Step([&] {
    QTest::keyClicks(View(), "CIRCLE");
    QTest::keyClick(View(), Qt::Key_Return);
  });
  Step([&] { Type("5,5 3"); });
  Step([&] { EXPECT_EQ(Described(), (std::vector<std::string>{"CIRCLE 5,5 r=3"})); });
  Run();
}

TEST_F(WindowTest, TabsFollowTheDocumentsAndAChangedOneAsksBeforeClosing) {
  Start();
  AcApDocument* first = nullptr;
  Step([&] {
    first = acDocManager->curDocument();
    window->Action("fileNew")->trigger();
  });
  Step([&] {
    ASSERT_EQ(window->Tabs()->count(), 2);
    EXPECT_EQ(window->Tabs()->tabText(1), "Drawing2.dxf");
    EXPECT_NE(acDocManager->curDocument(), first);
    Type("LINE");
  });
  Step([&] {
    // While a command runs the drawing stays.
    window->Tabs()->setCurrentIndex(0);
    EXPECT_NE(acDocManager->curDocument(), first);
    EXPECT_EQ(window->Tabs()->currentIndex(), 1);
    Type("1,1 2,2");
  });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    EXPECT_EQ(window->Tabs()->tabText(1), "Drawing2.dxf*");
    window->Tabs()->setCurrentIndex(0);
    EXPECT_EQ(acDocManager->curDocument(), first);
    window->Tabs()->setCurrentIndex(1);
    WhenModal([](QWidget* box) {
      auto* m = qobject_cast<QMessageBox*>(box);
      ASSERT_NE(m, nullptr);
      EXPECT_NE(m->text().indexOf("Save changes to Drawing2.dxf?"), -1);
      m->button(QMessageBox::Discard)->click();
    });
    window->Action("fileClose")->trigger();
  });
  Step([&] {
    EXPECT_EQ(window->Tabs()->count(), 1);
    EXPECT_EQ(acDocManager->curDocument(), first);
  });
  Run();
}

TEST_F(WindowTest, ADrawingThatCannotBeReadOpensNoTabAndSaysWhereItBroke) {
  const std::string broken = dir.File("broken.dxf");
  vex::test::WriteFile(broken, "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n");
  std::string said;
  WhenModal([&](QWidget* box) {
    auto* m = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(m, nullptr);
    said = m->text().toStdString();
    m->accept();
  });
  Start({broken});
  EXPECT_NE(said.find("broken.dxf"), std::string::npos) << said;
  EXPECT_NE(said.find("line 8"), std::string::npos) << said;
  ASSERT_EQ(window->Tabs()->count(), 1);
  EXPECT_EQ(window->Tabs()->tabText(0), "Drawing1.dxf") << "a new drawing instead";
}

TEST_F(WindowTest, NoCommandStartsWhileAPlugInsDialogHoldsActivation) {
  Start();
  Step([&] {
    acDocManager->disableDocumentActivation();
    EXPECT_FALSE(CommandLine()->isEnabled());
    EXPECT_FALSE(window->Action("editUndo")->isEnabled());
    // A plug-in's window posts a command meanwhile: it waits.
    acDocManager->sendStringToExecute(acDocManager->curDocument(), "\x1bLINE\n0,0\n3,3\n\n");
    QTimer::singleShot(200, [] {
      EXPECT_TRUE(Described().empty()) << "nothing ran while the dialog was up";
      acDocManager->enableDocumentActivation();
    });
  });
  Step([&] {
    EXPECT_TRUE(CommandLine()->isEnabled());
    EXPECT_EQ(Described(), (std::vector<std::string>{"LINE 0,0 3,3"}));
  });
  Run();
}

TEST_F(WindowTest, ACommandPostedFromAWindowEndsTheRunningOneAndRuns) {
  Start();
  Step([&] { Type("LINE 0,0"); });
  Step([&] {
    EXPECT_EQ(CommandLine()->Prompt(), "Specify next point or [Undo]:");
    // As the plug-in's PostCommand does: ESC, the name, ENTER.
    AcApDocument* doc = acDocManager->curDocument();
    acDocManager->sendStringToExecute(doc, "\x1b", false);
    acDocManager->sendStringToExecute(doc, "CIRCLE", false);
    acDocManager->sendStringToExecute(doc, "\r", false);
  });
  Step([&] {
    EXPECT_EQ(CommandLine()->Prompt(), "Specify center point for circle:");
    Type("1,1 1");
  });
  Step([&] { EXPECT_EQ(Described(), (std::vector<std::string>{"CIRCLE 1,1 r=1"})); });
  Run();
}

bool g_meterShown = false;
QString g_meterLabel;
void ShowsTheMeter() {
  acedSetStatusBarProgressMeter("Drawing table", 0, 200);
  acedSetStatusBarProgressMeterPos(100);
  MainWindow* w = MainWindow::Instance();
  g_meterShown = w->Meter()->isVisible() && w->Meter()->value() == 50;
  g_meterLabel = w->MeterLabel()->text();
  acedRestoreStatusBar();
}

TEST_F(WindowTest, TheProgressMeterShowsInTheStatusBarWhileACommandRuns) {
  Start();
  AddHostCommand("TMETER", ShowsTheMeter, false);
  Step([&] { Type("TMETER"); });
  Step([&] {
    EXPECT_TRUE(g_meterShown);
    EXPECT_EQ(g_meterLabel, "Drawing table");
    EXPECT_FALSE(window->Meter()->isVisible());
  });
  Run();
}

void AlertsAndAsksAColour() {
  acedAlert("Table drawn.");
  int colour = 7;
  if (acedSetColorDialog(colour, true, 3)) acutPrintf("\ncolour %d", colour);
}

TEST_F(WindowTest, AlertsAreMessageBoxesAndColoursComeFromTheDialog) {
  Start();
  AddHostCommand("TASK", AlertsAndAsksAColour, false);
  Step([&] {
    WhenModal([&](QWidget* box) {
      auto* m = qobject_cast<QMessageBox*>(box);
      ASSERT_NE(m, nullptr);
      EXPECT_EQ(m->text(), "Table drawn.");
      WhenModal([](QWidget* dialog) {
        auto* swatch = dialog->findChild<QWidget*>("colour30");
        ASSERT_NE(swatch, nullptr);
        QTest::mouseClick(swatch, Qt::LeftButton);
        QMetaObject::invokeMethod(dialog, "accept");
      });
      m->accept();
    });
    Type("TASK");
  });
  Step([&] {
    EXPECT_NE(History().find("colour 30"), std::string::npos) << History();
    EXPECT_EQ(History().find("Table drawn."), std::string::npos) << "a box, not a line";
  });
  Run();
}

TEST_F(WindowTest, ObjectSnapsMarkTheEndAndF3TurnsThemOff) {
  Start();
  Step([&] { Type("LINE 0,0 100,0"); });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    View()->ZoomWindow(Box::Of({-10, -50}, {110, 50}));
    Type("LINE");
  });
  Step([&] {
    const double px = 1 / View()->Transform().Scale();
    Move(100 - 3 * px, 2 * px);
    ASSERT_TRUE(View()->CurrentSnap());
    EXPECT_EQ(View()->CurrentSnap()->mode, kSnapEnd);
    Click(100 - 3 * px, 2 * px);
  });
  Step([&] {
    QTest::keyClick(CommandLine()->Input(), Qt::Key_F3);
    EXPECT_FALSE(window->SnapOn());
    Move(50, 0);
    EXPECT_FALSE(View()->CurrentSnap());
    Type("100,50");
  });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    EXPECT_EQ(Described(), (std::vector<std::string>{"LINE 0,0 100,0", "LINE 100,0 100,50"}))
        << "the click took the end exactly";
  });
  Run();
}

TEST_F(WindowTest, TheWheelZoomsAboutTheCursorAndTheMiddleButtonPans) {
  Start();
  Step([&] { Type("LINE 0,0 100,50"); });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    DrawingView* v = View();
    const QPoint at = At(20, 10);
    const Pt before = v->Transform().ToWorld({double(at.x()), double(at.y())});
    const double scale = v->Transform().Scale();
    QWheelEvent wheel(at, v->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v, &wheel);
    EXPECT_NEAR(v->Transform().Scale(), scale * 1.25, 1e-9);
    const Pt after = v->Transform().ToWorld({double(at.x()), double(at.y())});
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
    // Middle drag: the drawing follows the cursor.
    const QPoint p = At(50, 25);
    QTest::mousePress(v, Qt::MiddleButton, {}, p);
    QTest::mouseMove(v, p + QPoint(40, 30));
    QTest::mouseRelease(v, Qt::MiddleButton, {}, p + QPoint(40, 30));
    EXPECT_EQ(At(50, 25), p + QPoint(40, 30));
    // A double middle click zooms to the extents.
    QTest::mouseDClick(v, Qt::MiddleButton, {}, p);
    EXPECT_NEAR(v->Transform().Center().x, 50, 1e-9);
    EXPECT_NEAR(v->Transform().Center().y, 25, 1e-9);
    EXPECT_TRUE(Described().size() == 1) << "views change no drawing";
  });
  Step([&] { Type("ZOOM W 0,0 10,10"); });
  Step([&] {
    const Box shown = View()->Transform().Visible();
    EXPECT_NEAR(shown.Height(), 10, 1e-6) << "the window fills the view's height";
  });
  Run();
}

// A plug-in's window owned by the host's window has keys of its own: the editor's Ctrl+Z and
// Ctrl+S must reach it, not be made ambiguous by the host's (then neither runs).
TEST_F(WindowTest, AnOwnedWindowsKeysAreItsOwn_Issue14) {
  Start();
  Step([&] {
    QDialog owned(window.get());
    QAction undo(QStringLiteral("Undo"), &owned);
    undo.setShortcut(QKeySequence::Undo);
    owned.addAction(&undo);
    int undone = 0, hostUndone = 0;
    QObject::connect(&undo, &QAction::triggered, [&] { ++undone; });
    QObject::connect(window->Action("editUndo"), &QAction::triggered, [&] { ++hostUndone; });
    owned.show();
    QApplication::setActiveWindow(&owned);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owned));
    QTest::keyClick(&owned, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undone, 1);
    EXPECT_EQ(hostUndone, 0);
    owned.hide();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  });
  Run();
}

// A plug-in posting a command gives the focus to the host's main window: the drafter's next
// key (ENTER at a prompt) must reach the command line, not be lost on the window itself.
TEST_F(WindowTest, TheFocusGivenToTheMainWindowGoesToTheCommandLine_Issue14) {
  Start();
  Step([&] {
    View()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), View());
    adsw_acadMainWnd()->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), CommandLine()->Input());
  });
  Run();
}

// A new drawing zooms to its first entities, unless the drafter chose a view before them:
// a table placed by a click in a view zoomed to a window lands where that view shows it.
TEST_F(WindowTest, AViewChosenOnAnEmptyDrawingStaysWhenTheFirstEntitiesCome_Issue14) {
  Start();
  Step([&] { Type("ZOOM W -10,-10 130,80"); });
  Box chosen{};
  Step([&] {
    chosen = View()->Transform().Visible();
    Type("LINE 0,0 20,10");
  });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    ASSERT_EQ(Entities().size(), 1u);
    const Box shown = View()->Transform().Visible();
    EXPECT_NEAR(shown.Width(), chosen.Width(), 1e-6);
    EXPECT_NEAR(shown.Height(), chosen.Height(), 1e-6);
    EXPECT_NEAR(View()->Transform().Center().x, 60, 1e-6);
    EXPECT_NEAR(View()->Transform().Center().y, 35, 1e-6);
  });
  Run();
}

TEST_F(WindowTest, QuittingAsksForEachChangedDrawingAndOpenedOnesAreRecent) {
  const std::string plan = dir.File("plan.dxf");
  {
    AcDbDatabase db;
    ASSERT_EQ(db.saveAs(plan.c_str()), Acad::eOk);
  }
  Start({plan});
  std::vector<std::string> asked;
  // Discard for the first drawing, Cancel at the second.
  std::function<void(QWidget*)> answer = [&](QWidget* box) {
    auto* m = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(m, nullptr);
    asked.push_back(m->text().toStdString());
    if (asked.size() == 1) {
      WhenModal(answer);
      m->button(QMessageBox::Discard)->click();
    } else {
      m->button(QMessageBox::Cancel)->click();
    }
  };
  Step([&] {
    EXPECT_EQ(window->RecentFiles().front(), plan);
    Type("LINE 0,0 1,1");
  });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] { window->Action("fileNew")->trigger(); });
  Step([&] { Type("CIRCLE 0,0 1"); });
  Step([&] {
    // Cancel at the second question: nothing is closed.
    WhenModal(answer);
    window->close();  // the window's close button
  });
  Step([&] {
    EXPECT_EQ(asked, (std::vector<std::string>{"Save changes to plan.dxf?", "Save changes to Drawing1.dxf?"}));
    EXPECT_EQ(acDocManager->documentCount(), 2);
  });
  Run();
}

TEST_F(WindowTest, ASaveThatFailsSaysWhyAndTheDrawingStaysChanged) {
  std::filesystem::create_directories(dir.File("job"));
  const std::string plan = dir.File("job/plan.dxf");
  {
    AcDbDatabase db;
    ASSERT_EQ(db.saveAs(plan.c_str()), Acad::eOk);
  }
  Start({plan});
  std::string said;
  Step([&] { Type("LINE 0,0 1,1"); });
  Step([&] { Key(Qt::Key_Return); });
  Step([&] {
    // The drawing's folder has become a file: no save can succeed there, not even root's.
    std::filesystem::rename(dir.File("job"), dir.File("job.moved"));
    vex::test::WriteFile(dir.File("job"), "not a folder");
    WhenModal([&](QWidget* box) {
      auto* m = qobject_cast<QMessageBox*>(box);
      ASSERT_NE(m, nullptr);
      said = m->text().toStdString();
      m->accept();
    });
    window->Action("fileSave")->trigger();
  });
  Step([&] {
    EXPECT_NE(said.find("Cannot save " + plan + ": "), std::string::npos) << said;
    EXPECT_NE(History().find("Cannot save " + plan), std::string::npos);
    EXPECT_NE(window->Tabs()->tabText(0).toStdString().find('*'), std::string::npos)
        << "still changed";
  });
  Run();
}

TEST_F(WindowTest, AStartScriptRunsInTheSession) {
  const std::string script = dir.File("start.scr");
  vex::test::WriteFile(script, "LINE 0,0 5,5\n\nCIRCLE 0,0 2\n");
  WindowStart start;
  start.startScript = script;
  start.registryFolder = dir.File("registry");
  window->Start(start);
  Step([&] {
    EXPECT_EQ(Described(), (std::vector<std::string>{"LINE 0,0 5,5", "CIRCLE 0,0 r=2"}));
    EXPECT_FALSE(ScriptRunning());
  });
  Run();
}

}  // namespace
}  // namespace cadhost::ui::test
