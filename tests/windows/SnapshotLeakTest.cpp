// Snapshots of the editor, made one after another in one process, leave no GDI objects or
// handles behind.
#include "framework/graphics/IGraphics.h"
#include "plugin/Velmora.h"

#include "framework/platform/windows/Win32Headers.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::test
{
namespace
{

// Windows counts a process's GDI objects and handles; Wine answers 0 to both questions, so
// there the live ones are found by asking after every value a handle can have in this process.
struct ResourceCount
{
  long gdiObjects;
  long handles;
};

long LiveGdiObjects()
{
  long n = 0;
  for (uintptr_t value = 1; value <= 0xFFFF; ++value)
    n += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
  return n;
}

long LiveHandles()
{
  long n = 0;
  DWORD flags = 0;
  for (uintptr_t value = 4; value <= 0xFFFF; value += 4)
    n += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
  return n;
}

ResourceCount Count()
{
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return {gdi != 0 ? static_cast<long>(gdi) : LiveGdiObjects(),
          handles != 0 ? static_cast<long>(handles) : LiveHandles()};
}

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
  const ResourceCount before = Count();
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  const ResourceCount withOneMore = Count();
  DeleteObject(brush);
  CloseHandle(event);
  EXPECT_EQ(withOneMore.gdiObjects, before.gdiObjects + 1);
  EXPECT_EQ(withOneMore.handles, before.handles + 1);

  for (int i = 0; i < 100; ++i)
    ASSERT_TRUE(Snapshot(png)) << i;
  const ResourceCount after = Count();
  std::filesystem::remove(png);
  std::printf("GDI objects %ld -> %ld, handles %ld -> %ld over 100 snapshots\n", before.gdiObjects,
              after.gdiObjects, before.handles, after.handles);
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.handles, before.handles);
}

} // namespace
} // namespace velmora::test
