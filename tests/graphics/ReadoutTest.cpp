// The value readout: when it shows and for which control, what it says, where it sits, when it
// steps aside for the mouse, and that it is redrawn only when what it shows changes.
#include "tests/graphics/GraphicsTestSupport.h"

#include "framework/graphics/controls/IBSwitchControl.h"
#include "framework/graphics/controls/IKnobControlBase.h"
#include "framework/graphics/controls/IValueReadoutControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace iplug::igraphics;
using namespace velmora::test;

namespace
{

const IValueReadoutControl::Style kStyle{
    .name = IText(9.f, {255, 225, 225, 220}, "Roboto-Regular"),
    .value = IText(11.f, {255, 149, 219, 94}, "Roboto-Regular"),
    .fill = {220, 14, 15, 16},
    .frame = {60, 225, 225, 220},
};

class Knob final : public IKnobControlBase
{
public:
  using IKnobControlBase::IKnobControlBase;
  void Draw(IGraphics& g) override { g.FillRect({255, 80, 80, 80}, GetRECT()); }
};

struct Readout : ::testing::Test
{
  void Build(float scale = 1.f)
  {
    resources.Add("Roboto-Regular.ttf", RobotoBytes());
    resources.Add("switch.png", SolidPNG(20, 40, 0x95DB5E, true));
    ui = std::make_unique<IGraphics>(plugin, 650, 400, 60, scale);
    ui->SetResources(resources.Table());
    ui->EnableMouseOver(true);
    ui->LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
    ui->AttachControl(std::make_unique<PaintControl>(ui->GetBounds(),
                                                     [](IGraphics& g, const IRECT& r) {
                                                       g.FillRect({255, 30, 32, 35}, r);
                                                     }));
    knob = ui->AttachControl(std::make_unique<Knob>(IRECT{100, 150, 150, 200}, 0));
    // Just above the knob, where the knob's label would go.
    neighbour = ui->AttachControl(std::make_unique<Knob>(IRECT{100, 110, 150, 140}, 0));
    toggle = ui->AttachControl(
        std::make_unique<IBSwitchControl>(300.f, 300.f, ui->LoadBitmap("switch.png", 2), 1));
    readout = static_cast<IValueReadoutControl*>(
        ui->AttachControl(std::make_unique<IValueReadoutControl>(kStyle)));
    readout->SetClock([this] { return now; });
    for (int param = 0; param < plugin.NParams(); ++param)
      ui->UpdateControlsOfParam(param, plugin.Normalized(param));
    Frame();
  }

  PixelRect Frame() { return ui->Draw(); }
  float S() const { return ui->GetTotalScale(); }
  void Press(const IControl* c, const IMouseMod& mod = {true, false})
  {
    ui->OnMouseDown(c->GetRECT().MW() * S(), c->GetRECT().MH() * S(), mod);
  }
  void Release(const IControl* c)
  {
    ui->OnMouseUp(c->GetRECT().MW() * S(), c->GetRECT().MH() * S(), {true, false});
  }
  void Hover(float x, float y) { ui->OnMouseOver(x * S(), y * S(), {}); }
  // Whom the label is for after a frame at the given time.
  const IControl* ShownAt(double time)
  {
    now = time;
    Frame();
    return readout->ShownFor();
  }
  std::string Text() const { return readout->GetText(); }

  GesturePlugin plugin;
  TestResources resources;
  std::unique_ptr<IGraphics> ui;
  IControl* knob = nullptr;
  IControl* neighbour = nullptr;
  IControl* toggle = nullptr;
  IValueReadoutControl* readout = nullptr;
  double now = 100.0;
};

} // namespace

TEST_F(Readout, ShowsWhileHeldAndUntilASecondAfterTheLastChange)
{
  Build();
  EXPECT_EQ(ShownAt(100.0), nullptr);

  Press(knob);
  EXPECT_EQ(ShownAt(100.0), knob);
  EXPECT_EQ(Text(), "Knob  25");
  // Up by 10 units of a 50-unit knob at gearing 4: a twentieth of the range.
  ui->OnMouseDrag(125 * S(), 165 * S(), 0, -10 * S(), {true, false});
  EXPECT_EQ(ShownAt(100.5), knob);
  EXPECT_EQ(Text(), "Knob  30");
  // Held without change, it stays.
  EXPECT_EQ(ShownAt(104.0), knob);
  Release(knob);
  EXPECT_EQ(ShownAt(104.0), nullptr) << "the last change was long before the release";

  struct Edit
  {
    const char* what;
    IControl* control;
    const char* text;
  };
  for (const Edit& edit : {Edit{"wheel", knob, "Knob  31"}, Edit{"double-click", knob, "Knob  25"},
                           Edit{"click", toggle, "Switch  on"}})
  {
    SCOPED_TRACE(edit.what);
    now += 10.0;
    const float x = edit.control->GetRECT().MW() * S();
    const float y = edit.control->GetRECT().MH() * S();
    if (std::string(edit.what) == "wheel")
      ui->OnMouseWheel(x, y, {}, 1.f);
    else if (std::string(edit.what) == "double-click")
      ui->OnMouseDblClick(x, y, {true, false});
    else
      Press(edit.control);
    Release(edit.control);
    const double changed = now;
    EXPECT_EQ(ShownAt(changed + 0.99), edit.control);
    EXPECT_EQ(Text(), edit.text);
    EXPECT_EQ(ShownAt(changed + 1.01), nullptr);
  }
}

TEST_F(Readout, ShowsAfterTheMouseRestsOnAControlAndGoesWhenItLeaves)
{
  Build();
  Hover(120, 170);
  const double arrived = now;
  EXPECT_EQ(ShownAt(arrived + 0.5), nullptr);
  // Moving on the knob before the label shows starts the wait again.
  Hover(121, 171);
  const double rested = now = arrived + 0.5;
  Hover(121, 171);
  EXPECT_EQ(ShownAt(rested + 0.59), nullptr);
  EXPECT_EQ(ShownAt(rested + 0.61), knob);
  // Once shown it stays while the mouse moves on the knob, and goes as soon as it leaves.
  Hover(140, 190);
  EXPECT_EQ(ShownAt(rested + 0.7), knob);
  Hover(400, 50);
  EXPECT_EQ(ShownAt(rested + 0.71), nullptr);
  // Controls without a parameter get none, however long the mouse rests.
  EXPECT_EQ(ShownAt(rested + 5.0), nullptr);
  Hover(120, 170);
  EXPECT_EQ(ShownAt(rested + 6.0), knob);
  ui->OnMouseOut();
  EXPECT_EQ(ShownAt(rested + 6.01), nullptr);
}

TEST_F(Readout, StepsAsideForTheControlOrPlaceTheMouseIsOn)
{
  Build();
  Hover(125, 175);
  ui->OnMouseWheel(125 * S(), 175 * S(), {}, 1.f);
  ASSERT_EQ(ShownAt(now), knob);
  const IRECT label = readout->GetRECT();
  ASSERT_TRUE(label.Intersects(neighbour->GetRECT()));
  EXPECT_FALSE(label.Intersects(knob->GetRECT()));

  // Onto the neighbour the label covers, then onto the label over the background, then away.
  Hover(110, 115);
  EXPECT_EQ(ShownAt(now + 0.1), nullptr);
  Hover(label.L + 1, label.B - 1);
  ASSERT_FALSE(neighbour->GetRECT().Contains(label.L + 1, label.B - 1));
  EXPECT_EQ(ShownAt(now + 0.1), nullptr);
  Hover(400, 50);
  EXPECT_EQ(ShownAt(now + 0.1), knob) << "still within a second of the change";

  // While the knob is held the label stays, whatever the pointer does meanwhile.
  Press(knob);
  ui->OnMouseDrag(label.L * S(), label.T * S(), 0, -40 * S(), {true, false});
  EXPECT_EQ(ShownAt(now + 0.1), knob);
  Release(knob);
}

TEST_F(Readout, IsRedrawnOnlyWhenItsTextOrPlaceChanges)
{
  Build();
  Press(knob);
  const PixelRect shown = Frame();
  const IRECT box = readout->GetRECT();
  EXPECT_FALSE(shown.Empty());
  EXPECT_TRUE(Frame().Empty()) << "a frame with no change draws nothing";
  // A change the display does not show redraws the knob only.
  ui->OnMouseDrag(125 * S(), 175 * S(), 0, -0.5f * S(), {true, false});
  ASSERT_NE(plugin.GetParam(0)->Value(), 25.0);
  ASSERT_EQ(Text(), "Knob  25");
  const PixelRect knobOnly = Frame();
  EXPECT_EQ(knobOnly, (PixelRect{100, 150, 50, 50}));
  ui->OnMouseDrag(125 * S(), 165 * S(), 0, -10 * S(), {true, false});
  const PixelRect both = Frame();
  EXPECT_EQ(Text(), "Knob  30");
  EXPECT_LE(both.y, static_cast<int>(box.T));
  EXPECT_TRUE(Frame().Empty());
  Release(knob);
  // Going away redraws where it was.
  now += 2.0;
  const PixelRect gone = Frame();
  EXPECT_LE(gone.y, static_cast<int>(box.T));
  EXPECT_GE(gone.y + gone.h, static_cast<int>(box.B));
  EXPECT_TRUE(Frame().Empty());
}

TEST_F(Readout, DrawsTheNameAndTheValueInTheStyleOverEveryControl)
{
  Build(2.f);
  Press(knob);
  Frame();
  const IRECT box = readout->GetRECT();
  const PixelView px = ui->GetPixels();
  // Whole pixels at 200 %, a dark box and some accent green inside it.
  EXPECT_EQ(box.L * 2.f, std::round(box.L * 2.f));
  EXPECT_EQ(box.T * 2.f, std::round(box.T * 2.f));
  int green = 0;
  int light = 0;
  for (int y = static_cast<int>(box.T * 2) + 2; y < static_cast<int>(box.B * 2) - 2; ++y)
  {
    for (int x = static_cast<int>(box.L * 2) + 2; x < static_cast<int>(box.R * 2) - 2; ++x)
    {
      const uint32_t c = px.At(x, y);
      green += Green(c) > 150 && Red(c) < 140 && Blue(c) < 110;
      light += Red(c) > 150 && Green(c) > 150 && Blue(c) > 150;
    }
  }
  EXPECT_GT(green, 20) << "the value";
  EXPECT_GT(light, 20) << "the name";
  const uint32_t inside = px.At(static_cast<int>(box.L * 2) + 3, static_cast<int>(box.MH() * 2));
  EXPECT_LT(Red(inside), 30);
  // Where it covers the neighbour knob it is drawn over it.
  ASSERT_TRUE(box.Intersects(neighbour->GetRECT()));
  EXPECT_LT(Red(px.At(102 * 2, 138 * 2)), 40);
  EXPECT_EQ(px.At(102 * 2, 112 * 2), 0x505050u);
}

TEST(ReadoutPlacement, AboveTheControlElseBelowAlwaysInsideOnWholePixels)
{
  const IRECT bounds{0, 0, 650, 400};
  struct Case
  {
    const char* where;
    IRECT control;
    bool above;
  };
  const Case cases[] = {
      {"middle", {300, 200, 347, 247}, true},      {"top edge", {300, 0, 347, 47}, false},
      {"near the top", {300, 20, 347, 67}, false}, {"left edge", {0, 150, 64, 214}, true},
      {"right edge", {586, 150, 650, 214}, true},  {"bottom edge", {300, 353, 347, 400}, true},
      {"top left corner", {0, 0, 47, 47}, false},  {"bottom right", {603, 353, 650, 400}, true},
  };
  for (const float scale : {1.f, 1.25f, 1.5f, 2.f})
  {
    for (const Case& c : cases)
    {
      SCOPED_TRACE(std::string(c.where) + " at " + std::to_string(scale));
      const IRECT box =
          IValueReadoutControl::Place(c.control, 131.3f, 20.f, bounds, 4.f, 2.f, scale);
      EXPECT_GE(box.L, bounds.L + 2.f - 0.5f / scale);
      EXPECT_GE(box.T, bounds.T + 2.f - 0.5f / scale);
      EXPECT_LE(box.R, bounds.R);
      EXPECT_LE(box.B, bounds.B);
      EXPECT_GE(box.W(), 131.3f);
      EXPECT_FALSE(box.Intersects(c.control));
      EXPECT_EQ(box.B <= c.control.T, c.above);
      for (const float edge : {box.L, box.T, box.R, box.B})
        EXPECT_NEAR(edge * scale, std::round(edge * scale), 1e-3);
    }
  }
}
