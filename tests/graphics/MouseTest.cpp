#include "tests/graphics/GraphicsTestSupport.h"

#include "framework/graphics/controls/IBSwitchControl.h"
#include "framework/graphics/controls/IKnobControlBase.h"
#include "framework/graphics/controls/ITextControl.h"

#include <gtest/gtest.h>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

// Records the mouse events it receives, positions in logical units.
class MouseProbe final : public IControl
{
public:
  MouseProbe(const IRECT& r, std::vector<std::string>& log, std::string name)
      : IControl(r), mLog(log), mName(std::move(name))
  {
  }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override
  {
    Log("down", x, y);
    lastMod = mod;
  }
  void OnMouseUp(float x, float y, const IMouseMod&) override { Log("up", x, y); }
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod&) override
  {
    Log("drag", x, y);
    Log("by", dX, dY);
  }
  void OnMouseDblClick(float x, float y, const IMouseMod&) override { Log("dbl", x, y); }
  void OnMouseWheel(float x, float, const IMouseMod&, float d) override { Log("wheel", x, d); }
  void OnMouseOver(float x, float y, const IMouseMod& mod) override
  {
    IControl::OnMouseOver(x, y, mod);
    Log("over", x, y);
  }
  void OnMouseOut() override
  {
    IControl::OnMouseOut();
    mLog.push_back(mName + " out");
  }

  IMouseMod lastMod;

private:
  void Log(const char* what, float a, float b)
  {
    char text[96];
    std::snprintf(text, sizeof text, "%s %s %g %g", mName.c_str(), what, a, b);
    mLog.emplace_back(text);
  }
  std::vector<std::string>& mLog;
  std::string mName;
};

struct MouseFixture : ::testing::Test
{
  void Build(float scale)
  {
    ui = std::make_unique<IGraphics>(plugin, 650, 400, 60, scale);
    back = Add({0, 0, 650, 400}, "back");
    mid = Add({100, 100, 200, 200}, "mid");
    top = Add({150, 150, 250, 250}, "top");
  }
  MouseProbe* Add(const IRECT& r, const char* name)
  {
    return static_cast<MouseProbe*>(ui->AttachControl(std::make_unique<MouseProbe>(r, log, name)));
  }

  GesturePlugin plugin;
  std::unique_ptr<IGraphics> ui;
  std::vector<std::string> log;
  MouseProbe* back = nullptr;
  MouseProbe* mid = nullptr;
  MouseProbe* top = nullptr;
};

} // namespace

TEST_F(MouseFixture, HitTestTakesTheLastAttachedAndSkipsHiddenDisabledAndMouseIgnoring)
{
  Build(1.f);
  EXPECT_EQ(ui->GetMouseControlIdx(160, 160), 2);
  EXPECT_EQ(ui->GetMouseControlIdx(120, 120), 1);
  EXPECT_EQ(ui->GetMouseControlIdx(650, 10), -1);
  top->Hide(true);
  EXPECT_EQ(ui->GetMouseControlIdx(160, 160), 1);
  mid->SetDisabled(true);
  EXPECT_EQ(ui->GetMouseControlIdx(160, 160), 0);
  back->SetIgnoreMouse(true);
  EXPECT_EQ(ui->GetMouseControlIdx(160, 160), -1);
  ui->AttachControl(
      std::make_unique<ITextControl>(IRECT{0, 0, 650, 400}, "t", IText(10.f, {255, 0, 0, 0})));
  EXPECT_EQ(ui->GetMouseControlIdx(5, 5), -1);
}

TEST_F(MouseFixture, WindowPixelsMapToLogicalUnitsAndDragsStayWithTheCapturedControl)
{
  for (const auto& [drawScale, screenScale] :
       {std::pair{1.f, 1.f}, {1.5f, 1.f}, {2.f, 1.f}, {1.5f, 2.f}})
  {
    log.clear();
    Build(drawScale);
    ui->SetScreenScale(screenScale);
    const float scale = drawScale * screenScale;
    const IMouseMod left{true, false, true, false, true};
    ui->OnMouseDown(160 * scale, 170 * scale, left);
    EXPECT_EQ(ui->GetCapturedControl(), top);
    EXPECT_TRUE(top->lastMod.L && top->lastMod.S && top->lastMod.A && !top->lastMod.C);
    ui->OnMouseDrag(400 * scale, 20 * scale, 240 * scale, -150 * scale, left);
    ui->OnMouseUp(400 * scale, 20 * scale, left);
    ui->OnMouseUp(400 * scale, 20 * scale, left);
    ui->OnMouseDrag(110 * scale, 110 * scale, 1, 1, left);
    EXPECT_EQ(ui->GetCapturedControl(), nullptr);
    ui->OnMouseDblClick(120 * scale, 130 * scale, {});
    ui->OnMouseWheel(20 * scale, 30 * scale, {}, -2.f);
    EXPECT_EQ(log,
              (std::vector<std::string>{"top down 160 170", "top drag 400 20", "top by 240 -150",
                                        "top up 400 20", "mid dbl 120 130", "back wheel 20 -2"}))
        << scale;
  }
}

TEST_F(MouseFixture, MouseOverAndOutFollowTheControlUnderTheMouseOnlyWhenEnabled)
{
  Build(2.f);
  ui->OnMouseOver(320, 320, {});
  EXPECT_TRUE(log.empty());
  ui->EnableMouseOver(true);
  ui->OnMouseOver(320, 320, {});
  ui->OnMouseOver(220, 220, {});
  ui->OnMouseOver(222, 222, {});
  ui->OnMouseOut();
  EXPECT_EQ(log, (std::vector<std::string>{"top over 160 160", "top out", "mid over 110 110",
                                           "mid over 111 111", "mid out"}));
  EXPECT_FALSE(mid->GetMouseIsOver());
  EXPECT_EQ(ui->GetMouseOverControl(), nullptr);
}

TEST_F(MouseFixture, CursorRequestsAreRecordedForTheWindow)
{
  Build(1.f);
  EXPECT_EQ(ui->GetMouseCursor(), ECursor::ARROW);
  EXPECT_EQ(ui->SetMouseCursor(ECursor::SIZENWSE), ECursor::ARROW);
  EXPECT_EQ(ui->SetMouseCursor(ECursor::ARROW), ECursor::SIZENWSE);
  float x = 0.f, y = 0.f;
  EXPECT_FALSE(ui->TakeCursorRestore(x, y));
  ui->OnMouseDown(33, 44, {});
  ui->HideMouseCursor(true);
  ui->OnMouseDrag(90, 10, 57, -34, {});
  EXPECT_TRUE(ui->IsCursorHidden());
  ui->HideMouseCursor(false);
  EXPECT_FALSE(ui->IsCursorHidden());
  ASSERT_TRUE(ui->TakeCursorRestore(x, y));
  EXPECT_EQ(x, 33.f);
  EXPECT_EQ(y, 44.f);
  EXPECT_FALSE(ui->TakeCursorRestore(x, y));
}

TEST_F(MouseFixture, RemovingControlsDropsCaptureAndMouseOver)
{
  Build(1.f);
  ui->EnableMouseOver(true);
  ui->OnMouseOver(120, 120, {});
  ui->OnMouseDown(120, 120, {});
  ui->RemoveAllControls();
  EXPECT_EQ(ui->GetCapturedControl(), nullptr);
  EXPECT_EQ(ui->GetMouseOverControl(), nullptr);
  ui->OnMouseDrag(130, 130, 10, 10, {});
  ui->OnMouseUp(130, 130, {});
  ui->OnMouseOut();
  EXPECT_EQ(ui->NControls(), 0);
}

// A right-click on a control bound to a parameter asks for the host's menu there, in window
// pixels, and is no gesture, no grab and no edit; other controls get the right button as before.
TEST_F(MouseFixture, RightClicksOnParameterControlsAskForTheHostMenuAndChangeNothing)
{
  Build(1.5f);
  auto* knob = static_cast<IKnobControlBase*>(
      ui->AttachControl(std::make_unique<IKnobControlBase>(IRECT{300, 100, 350, 150}, 0)));
  knob->SetValue(plugin.Normalized(0));
  const double before = plugin.Normalized(0);
  const IMouseMod right{false, true};
  ui->OnMouseDown(480, 190, right);
  EXPECT_EQ(ui->GetCapturedControl(), nullptr);
  ui->OnMouseDrag(480, 100, 0, -90, right);
  ui->OnMouseUp(480, 100, right);
  ui->OnMouseDblClick(481, 191, right);
  ui->OnMouseUp(481, 191, right);
  EXPECT_EQ(plugin.events, (std::vector<std::string>{"menu 0 480 190", "menu 0 481 191"}));
  EXPECT_EQ(plugin.Normalized(0), before);
  EXPECT_FALSE(ui->IsCursorHidden());

  // Held with the left button, the knob keeps its drag through a right press.
  ui->OnMouseDown(480, 190, {true, false});
  ui->OnMouseDown(480, 190, right);
  EXPECT_EQ(ui->GetCapturedControl(), knob);
  ui->OnMouseUp(480, 190, {true, false});
  EXPECT_EQ(plugin.Count("menu"), 2);

  // A control without a parameter takes the right button itself.
  log.clear();
  ui->OnMouseDown(160 * 1.5f, 170 * 1.5f, right);
  ui->OnMouseUp(160 * 1.5f, 170 * 1.5f, right);
  EXPECT_EQ(log, (std::vector<std::string>{"top down 160 170", "top up 160 170"}));
  EXPECT_TRUE(top->lastMod.R);
  EXPECT_EQ(plugin.Count("menu"), 2);
}
