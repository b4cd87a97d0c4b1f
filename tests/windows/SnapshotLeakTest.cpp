// Snapshots of the editor, made one after another in one process, leave no GDI objects or
// handles behind.
#include "framework/graphics/IGraphics.h"
#include "plugin/Velmora.h"
#include "tests/windows/ResourceCount.h"

#include "framework/platform/windows/Win32Headers.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::test
{
namespace
{

bool Snapshot(const std::filesystem::path& png)
{
  Velmora plugin{iplug::InstanceInfo{}};
  iplug::igraphics::IGraphics* ui = plugin.OpenEditor();
  if (!ui)
    return false;
  ui->DrawAll();
  const bool written = ui->WritePNG(png.string().c_str());
  plugin.CloseEditor();
  return written;
}

TEST(EditorSnapshots, AHundredInOneProcessLeakNoGdiObjectsOrHandles)
{
  const auto png = std::filesystem::temp_directory_path() / "velmora-leak-test.png";
  ASSERT_TRUE(Snapshot(png)); // the first one loads what stays for the process's life

  // The counts see what a leak would leave.
  const ResourceCount before = CountResources();
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  const ResourceCount withOneMore = CountResources();
  DeleteObject(brush);
  CloseHandle(event);
  EXPECT_EQ(withOneMore.gdiObjects, before.gdiObjects + 1);
  EXPECT_EQ(withOneMore.handles, before.handles + 1);

  for (int i = 0; i < 100; ++i)
    ASSERT_TRUE(Snapshot(png)) << i;
  const ResourceCount after = CountResources();
  std::filesystem::remove(png);
  std::printf("GDI objects %ld -> %ld, handles %ld -> %ld over 100 snapshots\n", before.gdiObjects,
              after.gdiObjects, before.handles, after.handles);
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.handles, before.handles);
}

} // namespace
} // namespace velmora::test
