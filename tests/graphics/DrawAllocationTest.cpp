#include "tests/graphics/FullEditor.h"
#include "tests/support/AllocationGuard.h"

#include <gtest/gtest.h>

#include <string>

using namespace iplug::igraphics;
using namespace velmora::test;

TEST(EditorDrawing, NoAllocationPerFrameAfterTheFirst)
{
  for (const float scale : {1.f, 2.f})
  {
    FullEditor editor(scale);
    IGraphics& g = editor.UI();
    std::vector<double> points(FullEditor::kCurvePoints, 0.5);
    const auto frame = [&](int n)
    {
      for (int m = 0; m < 4; ++m)
        editor.SendLevel(m, static_cast<float>((n * 7 + m * 3) % 20) / 16.f);
      points[static_cast<size_t>(n) % points.size()] = 0.25 + 0.01 * (n % 10);
      editor.Curve().SetPoints(points);
      g.UpdateControlsOfParam(0, (n % 11) / 10.0);
      g.Draw();
      if (n % 5 == 0)
        g.DrawAll();
    };
    frame(0);
    ClearAllocationViolations();
    {
      const ForbidAllocations forbid;
      for (int n = 1; n < 40; ++n)
        frame(n);
    }
    EXPECT_EQ(AllocationViolations(), 0) << scale;
  }
}

// A knob held with the mouse while its parameter moves: the readout shows over it and follows
// every value with new text.
TEST(EditorDrawing, NoAllocationPerFrameWhileTheValueReadoutShows)
{
  for (const float scale : {1.f, 2.f})
  {
    FullEditor editor(scale);
    IGraphics& g = editor.UI();
    iplug::IParam& param = *editor.Plugin().GetParam(0);
    const IRECT knob = editor.Knob(9).GetRECT();
    g.OnMouseDown(knob.MW() * scale, knob.MH() * scale, {true, false});
    const auto frame = [&](int n)
    {
      param.Set((n * 37) % 101 + (n % 3) * 0.4);
      g.UpdateControlsOfParam(0, param.GetNormalized());
      g.Draw();
    };
    // Every digit once, so that the glyphs are cached.
    for (int n = 0; n < 12; ++n)
      frame(n);
    ASSERT_EQ(editor.Readout().ShownFor(), &editor.Knob(9));
    ClearAllocationViolations();
    {
      const ForbidAllocations forbid;
      for (int n = 12; n < 52; ++n)
        frame(n);
    }
    EXPECT_EQ(AllocationViolations(), 0) << scale;
    EXPECT_EQ(std::string(editor.Readout().GetText()), "Knob  " + param.GetDisplay(true));
  }
}
