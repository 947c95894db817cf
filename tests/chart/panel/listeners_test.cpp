// Listeners get the panel's events in order; a mouse event stops at the listener that sets
// CancelMouse; a cancelled double click ends silently.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include "platform/vcl/form.h"
#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

using chart::TPlotEvent;
using chart::TPlotMouseEvent;

struct Listener : chart::IPlotEventListener {
  Listener(std::string n, std::vector<std::string>& l) : name(std::move(n)), log(l) {}
  void PlotEvent(TPlotEvent& event) override {
    if (auto* m = dynamic_cast<TPlotMouseEvent*>(&event)) {
      static const char* kinds[] = {"down", "up", "move"};
      log.push_back(name + " " + kinds[m->Event] + " " + std::to_string(m->X) + "," +
                    std::to_string(m->Y) + (m->Button == platform::mbLeft ? " left" : " other"));
      if (cancelOn == m->Event) event.Sender->CancelMouse = true;
    } else if (dynamic_cast<chart::TPlotView3DEvent*>(&event)) {
      log.push_back(name + " view3d");
      sender = event.Sender;
    }
    if (then) then();
  }
  std::string name;
  std::vector<std::string>& log;
  int cancelOn = -1;
  chart::TCustomPlotPanel* sender = nullptr;
  std::function<void()> then;
};

TEST_F(PanelTest, MouseGoesToListenersInOrderUntilOneCancels) {
  TestPanel p;
  std::vector<std::string> log;
  Listener a("A", log), b("B", log), c("C", log);
  b.cancelOn = chart::meDown;
  EXPECT_EQ(p.Listeners().Add(&a), 0);
  EXPECT_EQ(p.Listeners().Add(&b), 1);
  EXPECT_EQ(p.Listeners().Add(&c), 2);
  p.OnMouseDown = [&](platform::TObject*, platform::TMouseButton, platform::TShiftState, int, int) {
    log.push_back("handler");
  };

  p.PerformMouseDown(platform::mbRight, {}, 10, 20);
  EXPECT_EQ(log, (std::vector<std::string>{"handler", "A down 10,20 other", "B down 10,20 other"}));
  // Up does not clear CancelMouse: the cancelled click stays cancelled after the first one.
  log.clear();
  p.PerformMouseUp(platform::mbRight, {}, 11, 21);
  EXPECT_EQ(log, (std::vector<std::string>{"A up 11,21 other"}));
  // Move clears it, and always reports the left button.
  log.clear();
  p.PerformMouseMove(platform::TShiftState{platform::ssShift}, 12, 22);
  EXPECT_EQ(log, (std::vector<std::string>{"A move 12,22 left", "B move 12,22 left",
                                           "C move 12,22 left"}));
  EXPECT_EQ(p.GetCursorPos(), (platform::TPoint{12, 22}));
}

TEST_F(PanelTest, ListenerListKeepsOneEntryPerListener) {
  TestPanel p;
  std::vector<std::string> log;
  Listener a("A", log), b("B", log);
  auto& list = p.Listeners();
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(&b), 1);
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(1), &b);
  EXPECT_EQ(list.Get(2), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Remove(&a), 0);
  EXPECT_EQ(list.Remove(&a), -1);
  EXPECT_EQ(list.Get(0), &b);
  p.RemoveListener(&b);
  EXPECT_EQ(list.Count(), 0);
  // No listeners: nothing to broadcast.
  p.PerformMouseDown(platform::mbLeft, {}, 1, 1);
  EXPECT_TRUE(log.empty());
}

TEST_F(PanelTest, AListenerMayRemoveItselfWhileTheEventIsBroadcast) {
  TestPanel p;
  std::vector<std::string> log;
  Listener a("A", log), b("B", log), c("C", log);
  a.then = [&] { p.RemoveListener(&a); };
  b.then = [&] { p.RemoveListener(&c); };
  p.Listeners().Add(&a);
  p.Listeners().Add(&b);
  p.Listeners().Add(&c);
  p.PerformMouseDown(platform::mbLeft, {}, 3, 4);
  p.PerformMouseDown(platform::mbLeft, {}, 5, 6);
  EXPECT_EQ(p.Listeners().Count(), 1);
  EXPECT_EQ(log.back(), "B down 5,6 left");
}

TEST_F(PanelTest, View3DChangeIsBroadcastOnce) {
  TestPanel p;
  std::vector<std::string> log;
  Listener a("A", log);
  p.Listeners().Add(&a);
  p.SetView3D(true);
  EXPECT_TRUE(log.empty());
  p.SetView3D(false);
  EXPECT_EQ(log, (std::vector<std::string>{"A view3d"}));
  EXPECT_EQ(a.sender, &p);
}

class DblClickPanel : public TestPanel {
 public:
  int after = 0;

 protected:
  void DblClick() override {
    TestPanel::DblClick();
    ++after;
  }
};

TEST_F(PanelTest, ACancelledDoubleClickEndsSilently) {
  DblClickPanel p;
  ModalLog boxes;
  int handled = 0;
  p.OnDblClick = [&](platform::TObject*) { ++handled; };
  p.PerformDblClick();
  EXPECT_EQ(p.after, 1);
  p.OnDblClick = [&](platform::TObject* sender) {
    ++handled;
    static_cast<DblClickPanel*>(sender)->CancelMouse = true;
  };
  EXPECT_NO_THROW(p.PerformDblClick());
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(p.after, 1);
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(PanelTest, LeavingTheWindowRestoresTheCursorAndEndsPanning) {
  TestPanel p;
  p.SetCursor(platform::crSizeAll);
  p.Panning()->Activate(5, 6);
  EXPECT_TRUE(p.Panning()->Active);
  p.PerformMouseLeave();
  EXPECT_EQ(p.GetCursor(), platform::crDefault);
  EXPECT_FALSE(p.Panning()->Active);
}

TEST_F(PanelTest, TheWindowHandsItsMouseToThePanelWithButtonAndShiftState) {
  platform::TForm form(nullptr);
  auto* p = new TestPanel(platform::TPanelSurface::Window);
  p->SetParent(&form);
  form.Show();
  std::vector<std::string> log;
  Listener a("A", log);
  p->Listeners().Add(&a);
  platform::TShiftState shift;
  p->OnMouseDown = [&](platform::TObject*, platform::TMouseButton, platform::TShiftState s, int,
                       int) { shift = s; };
  QWidget* w = p->Widget();
  ASSERT_NE(w, nullptr);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 20), w->mapToGlobal(QPointF(10, 20)),
                    Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
  QCoreApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(12, 22), w->mapToGlobal(QPointF(12, 22)),
                      Qt::RightButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &release);
  EXPECT_EQ(log, (std::vector<std::string>{"A down 10,20 other", "A up 12,22 other"}));
  EXPECT_TRUE(shift.Contains(platform::ssShift));
  EXPECT_TRUE(shift.Contains(platform::ssRight));
  EXPECT_FALSE(shift.Contains(platform::ssCtrl));
}

}  // namespace
}  // namespace paneltest
