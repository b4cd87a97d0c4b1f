#include "tests/clap/ClapTestSupport.h"

#include <cmath>
#include <limits>

using namespace velmora;
using namespace clapabi;

namespace
{

// The "clap.gui" extension of a fresh instance.
class ClapGuiTest : public ::testing::Test
{
protected:
  void SetUp() override { Load({}); }

  void Load(const host::ClapHost::Options& options)
  {
    mPlugin = test::LoadClap(options);
    ASSERT_TRUE(mPlugin);
    mGui = mPlugin->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
    ASSERT_NE(mGui, nullptr);
    mClap = mPlugin->Plugin();
  }

  std::unique_ptr<host::ClapHostedPlugin> mPlugin;
  const clap_plugin_gui* mGui = nullptr;
  const clap_plugin* mClap = nullptr;
};

TEST_F(ClapGuiTest, OnlyEmbeddedX11)
{
  EXPECT_TRUE(mGui->is_api_supported(mClap, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(mGui->is_api_supported(mClap, CLAP_WINDOW_API_X11, true));
  for (const char* api : {CLAP_WINDOW_API_WIN32, CLAP_WINDOW_API_COCOA, CLAP_WINDOW_API_WAYLAND, "",
                          static_cast<const char*>(nullptr)})
  {
    EXPECT_FALSE(mGui->is_api_supported(mClap, api, false)) << (api ? api : "null");
    EXPECT_FALSE(mGui->create(mClap, api, false)) << (api ? api : "null");
  }
  const char* preferred = nullptr;
  bool floating = true;
  EXPECT_FALSE(mGui->get_preferred_api(mClap, &preferred, &floating));
  EXPECT_FALSE(mGui->create(mClap, CLAP_WINDOW_API_X11, true));
}

TEST_F(ClapGuiTest, OneEditorAtATimeAndNoFloatingOrTransientWindows)
{
  ASSERT_TRUE(mGui->create(mClap, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(mGui->create(mClap, CLAP_WINDOW_API_X11, false));
  clap_window transient{};
  transient.api = CLAP_WINDOW_API_X11;
  transient.x11 = 1;
  EXPECT_FALSE(mGui->set_transient(mClap, &transient));
  clap_window win32{};
  win32.api = CLAP_WINDOW_API_WIN32;
  win32.ptr = &win32;
  EXPECT_FALSE(mGui->set_parent(mClap, &win32));
  EXPECT_FALSE(mGui->set_parent(mClap, nullptr));
  mGui->destroy(mClap);
  EXPECT_TRUE(mGui->create(mClap, CLAP_WINDOW_API_X11, false));
  mGui->destroy(mClap);
  mGui->destroy(mClap);
}

TEST_F(ClapGuiTest, FixedSizeNoHintsAndAdjustClampsToLimits)
{
  ASSERT_TRUE(mGui->create(mClap, CLAP_WINDOW_API_X11, false));
  uint32_t width = 0;
  uint32_t height = 0;
  ASSERT_TRUE(mGui->get_size(mClap, &width, &height));
  EXPECT_EQ(width, 650u);
  EXPECT_EQ(height, 400u);
  EXPECT_FALSE(mGui->can_resize(mClap));
  clap_gui_resize_hints hints{};
  EXPECT_FALSE(mGui->get_resize_hints(mClap, &hints));
  EXPECT_FALSE(mGui->set_size(mClap, 800, 500));
  EXPECT_TRUE(mGui->set_size(mClap, 650, 400));

  struct Case
  {
    uint32_t w, h, expectedW, expectedH;
  };
  const Case cases[] = {
      {100, 50, 216, 133},        {216, 133, 216, 133},     {215, 132, 216, 133},
      {1950, 1200, 1950, 1200},   {1951, 1201, 1950, 1200}, {800, 500, 800, 500},
      {0xFFFFFFFF, 0, 1950, 133},
  };
  for (const Case& c : cases)
  {
    uint32_t w = c.w;
    uint32_t h = c.h;
    ASSERT_TRUE(mGui->adjust_size(mClap, &w, &h));
    EXPECT_EQ(w, c.expectedW) << c.w;
    EXPECT_EQ(h, c.expectedH) << c.h;
  }
  mGui->destroy(mClap);
}

TEST_F(ClapGuiTest, HostScaleSizesTheEditor)
{
  ASSERT_TRUE(mGui->create(mClap, CLAP_WINDOW_API_X11, false));
  ASSERT_TRUE(mGui->set_scale(mClap, 2.0));
  uint32_t width = 0;
  uint32_t height = 0;
  ASSERT_TRUE(mGui->get_size(mClap, &width, &height));
  EXPECT_EQ(width, 1300u);
  EXPECT_EQ(height, 800u);
  for (const double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()})
    EXPECT_FALSE(mGui->set_scale(mClap, bad)) << bad;
  mGui->destroy(mClap);
}

TEST_F(ClapGuiTest, AHostWithoutARunLoopGetsNoEditor)
{
  host::ClapHost::Options noFds;
  noFds.offerPosixFdSupport = false;
  Load(noFds);
  EXPECT_FALSE(mGui->create(mClap, CLAP_WINDOW_API_X11, false));
  host::ClapHost::Options noTimer;
  noTimer.offerTimerSupport = false;
  Load(noTimer);
  EXPECT_FALSE(mGui->create(mClap, CLAP_WINDOW_API_X11, false));
}

} // namespace
