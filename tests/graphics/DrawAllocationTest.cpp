#include "tests/graphics/FullEditor.h"
#include "tests/support/AllocationGuard.h"

#include <gtest/gtest.h>

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
