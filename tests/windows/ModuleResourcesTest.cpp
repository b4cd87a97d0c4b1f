// The images and the font as resources of the Windows DLLs, and an editor drawn from a module
// that lacks one of them.
#include "editor/EditorLayout.h"
#include "framework/graphics/IGraphics.h"
#include "framework/graphics/windows/ModuleResourceTable.h"
#include "plugin/Velmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace iplug::igraphics;

namespace velmora::test
{
namespace
{

// A module loaded for its resources only.
class ResourceModule
{
public:
  explicit ResourceModule(const std::filesystem::path& path)
      : mModule(LoadLibraryExW(path.wstring().c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
  {
  }
  ~ResourceModule()
  {
    if (mModule)
      FreeLibrary(mModule);
  }
  ResourceModule(const ResourceModule&) = delete;
  ResourceModule& operator=(const ResourceModule&) = delete;
  HMODULE Get() const { return mModule; }

private:
  HMODULE mModule;
};

std::string Upper(std::string s)
{
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Every resource of the module as "type/name", numbered ones as "#n".
std::vector<std::string> AllResources(HMODULE module)
{
  std::vector<std::string> types;
  EnumResourceTypesA(
      module,
      [](HMODULE, LPSTR type, LONG_PTR list)
      {
        reinterpret_cast<std::vector<std::string>*>(list)->push_back(
            IS_INTRESOURCE(type) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(type)) : type);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&types));
  std::vector<std::string> all;
  for (const std::string& type : types)
  {
    std::vector<std::string> names;
    const char* typeId =
        type[0] == '#' ? MAKEINTRESOURCEA(std::stoi(type.substr(1))) : type.c_str();
    EnumResourceNamesA(
        module, typeId,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR list)
        {
          reinterpret_cast<std::vector<std::string>*>(list)->push_back(
              IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name))
                                   : name);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    for (const std::string& name : names)
      all.push_back(type + "/" + name);
  }
  std::sort(all.begin(), all.end());
  return all;
}

std::vector<std::filesystem::path> ResourceFiles()
{
  std::vector<std::filesystem::path> files;
  std::istringstream list(VELMORA_RESOURCE_FILES);
  std::string file;
  while (std::getline(list, file, '|'))
    files.emplace_back(file);
  return files;
}

TEST(WindowsModuleResources, EachDllHoldsExactlyTheSevenFilesAsPNGAndTTFResources)
{
  const auto files = ResourceFiles();
  ASSERT_EQ(files.size(), 7u);
  std::vector<std::string> expected;
  for (const auto& file : files)
    expected.push_back(Upper(file.extension().string().substr(1)) + "/" +
                       Upper(file.filename().string()));
  std::sort(expected.begin(), expected.end());

  for (const char* dll : {VELMORA_VST3_DLL, VELMORA_CLAP_DLL})
  {
    const ResourceModule module(dll);
    ASSERT_NE(module.Get(), nullptr) << dll;
    EXPECT_EQ(AllResources(module.Get()), expected) << dll;

    const ModuleResourceTable table(module.Get());
    ASSERT_EQ(table.Entries().size(), files.size()) << dll;
    for (const auto& file : files)
    {
      const auto entry = std::find_if(table.Entries().begin(), table.Entries().end(),
                                      [&](const ResourceEntry& e)
                                      { return e.name == Upper(file.filename().string()); });
      ASSERT_NE(entry, table.Entries().end()) << file;
      const std::vector<unsigned char> bytes = ReadBytes(file);
      ASSERT_FALSE(bytes.empty()) << file;
      EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), entry->bytes.begin(), entry->bytes.end()))
          << file << " in " << dll;
    }
  }
}

TEST(WindowsModuleResources, ThisProgramCarriesTheSameResourcesAsTheDlls)
{
  const ResourceModule dll(VELMORA_CLAP_DLL);
  const ModuleResourceTable dllTable(dll.Get());
  const auto own = ModuleResources();
  ASSERT_EQ(own.size(), dllTable.Entries().size());
  for (const ResourceEntry& entry : dllTable.Entries())
  {
    const auto found = std::find_if(own.begin(), own.end(),
                                    [&](const ResourceEntry& e) { return e.name == entry.name; });
    ASSERT_NE(found, own.end()) << entry.name;
    EXPECT_TRUE(std::equal(entry.bytes.begin(), entry.bytes.end(), found->bytes.begin(),
                           found->bytes.end()));
  }
}

struct LaidOutEditor
{
  explicit LaidOutEditor(std::span<const ResourceEntry> resources) : ui(plugin, 650, 400, 60, 1.f)
  {
    ui.SetResources(resources);
    fontLoaded = ui.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
    smallKnob = ui.LoadBitmap("smallknob.png");
    LayoutEditor(ui, nullptr);
    ui.DrawAll();
  }

  Velmora plugin{iplug::InstanceInfo{}};
  IGraphics ui;
  bool fontLoaded = false;
  IBitmap smallKnob;
};

TEST(WindowsModuleResources, AnEditorFromAModuleWithoutAnImageDrawsEverythingElse)
{
  const ResourceModule complete(VELMORA_CLAP_DLL);
  const ResourceModule lacking(VELMORA_MODULE_WITHOUT_SMALL_KNOB);
  ASSERT_NE(lacking.Get(), nullptr);
  const ModuleResourceTable completeTable(complete.Get());
  const ModuleResourceTable lackingTable(lacking.Get());
  ASSERT_EQ(lackingTable.Entries().size(), completeTable.Entries().size() - 1);

  LaidOutEditor full(completeTable.Entries());
  LaidOutEditor partial(lackingTable.Entries());
  EXPECT_TRUE(full.smallKnob.IsValid());
  EXPECT_FALSE(partial.smallKnob.IsValid()); // the failed load is reported
  EXPECT_TRUE(partial.fontLoaded);
  ASSERT_EQ(partial.ui.NControls(), full.ui.NControls());

  // The small knobs have no image and no size; everything outside them is drawn as usual.
  std::vector<IRECT> missing;
  for (int i = 0; i < full.ui.NControls(); ++i)
    if (partial.ui.GetControl(i)->GetRECT().Empty() && !full.ui.GetControl(i)->GetRECT().Empty())
      missing.push_back(full.ui.GetControl(i)->GetRECT());
  EXPECT_EQ(missing.size(), 7u); // seven small knobs
  const PixelView a = full.ui.GetPixels();
  const PixelView b = partial.ui.GetPixels();
  int differentOutside = 0;
  int differentInside = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 650; ++x)
    {
      const bool inside =
          std::any_of(missing.begin(), missing.end(),
                      [&](const IRECT& r) { return r.Contains(x + 0.5f, y + 0.5f); });
      (inside ? differentInside : differentOutside) += a.At(x, y) != b.At(x, y);
    }
  EXPECT_EQ(differentOutside, 0);
  EXPECT_GT(differentInside, 7 * 500); // the knobs' bodies are missing
}

} // namespace
} // namespace velmora::test
