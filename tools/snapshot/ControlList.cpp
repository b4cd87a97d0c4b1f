#include "tools/snapshot/ControlList.h"

#include "editor/IBGridKnobControl.h"

#include <cstdio>
#include <memory>

namespace velmora::tools
{

namespace
{

struct FileClose
{
  void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

bool WriteControlList(const iplug::igraphics::IGraphics& ui, const char* path)
{
  std::unique_ptr<std::FILE, FileClose> file(std::fopen(path, "w"));
  if (!file)
    return false;
  for (int i = 0; i < ui.NControls(); ++i)
  {
    const iplug::igraphics::IControl* control = ui.GetControl(i);
    const auto* knob = dynamic_cast<const iplug::igraphics::IBGridKnobControl*>(control);
    const iplug::igraphics::IRECT& r = control->GetRECT();
    std::fprintf(file.get(), "%d %.4f %.4f %.4f %.4f %d\n", i, r.L, r.T, r.R, r.B,
                 knob ? knob->FrameIndex(knob->GetValue()) : -1);
  }
  return std::fflush(file.get()) == 0 && !std::ferror(file.get());
}

} // namespace velmora::tools
