#include "tests/vst3/Vst3TestSupport.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <gtest/gtest.h>

using namespace Steinberg;

namespace
{

// The editor view of a fresh instance, released at the end of the test.
class Vst3ViewTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mPlugin = velmora::test::LoadEffect();
    ASSERT_TRUE(mPlugin);
    mView = owned(mPlugin->Controller().createView(Vst::ViewType::kEditor));
    ASSERT_TRUE(mView);
  }

  std::unique_ptr<velmora::host::vst3::VST3HostedPlugin> mPlugin;
  IPtr<IPlugView> mView;
};

TEST_F(Vst3ViewTest, OnlyTheEditorViewTypeAndOneViewAtATime)
{
  EXPECT_EQ(mPlugin->Controller().createView("other"), nullptr);
  EXPECT_EQ(mPlugin->Controller().createView(nullptr), nullptr);
  EXPECT_EQ(mPlugin->Controller().createView(Vst::ViewType::kEditor), nullptr);
  mView = nullptr;
  IPtr<IPlugView> again = owned(mPlugin->Controller().createView(Vst::ViewType::kEditor));
  EXPECT_TRUE(again);
}

TEST_F(Vst3ViewTest, OnlyTheX11PlatformType)
{
  EXPECT_EQ(mView->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  for (const FIDString type : {kPlatformTypeHWND, kPlatformTypeNSView, kPlatformTypeHIView, "",
                               static_cast<FIDString>(nullptr)})
    EXPECT_EQ(mView->isPlatformTypeSupported(type), kResultFalse) << (type ? type : "null");
  int dummyWindow = 0;
  EXPECT_NE(mView->attached(&dummyWindow, kPlatformTypeHWND), kResultOk);
  EXPECT_NE(mView->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultOk);
}

TEST_F(Vst3ViewTest, FixedSizeThatOnlyTheEditorChanges)
{
  ViewRect size;
  ASSERT_EQ(mView->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), 650);
  EXPECT_EQ(size.getHeight(), 400);
  EXPECT_EQ(mView->canResize(), kResultFalse);
  ViewRect other(0, 0, 800, 500);
  EXPECT_EQ(mView->onSize(&other), kResultFalse);
  ViewRect same(0, 0, 650, 400);
  EXPECT_EQ(mView->onSize(&same), kResultOk);
  EXPECT_EQ(mView->getSize(nullptr), kInvalidArgument);
}

TEST_F(Vst3ViewTest, SizeConstraintClampsToTheEditorsLimits)
{
  struct Case
  {
    ViewRect proposed;
    int width;
    int height;
  };
  const Case cases[] = {
      {ViewRect(0, 0, 100, 50), 216, 133},      {ViewRect(0, 0, 216, 133), 216, 133},
      {ViewRect(0, 0, 215, 132), 216, 133},     {ViewRect(0, 0, 1950, 1200), 1950, 1200},
      {ViewRect(0, 0, 1951, 1201), 1950, 1200}, {ViewRect(0, 0, 5000, 9000), 1950, 1200},
      {ViewRect(10, 20, 810, 520), 800, 500},   {ViewRect(0, 0, -40, -40), 216, 133},
  };
  for (const Case& c : cases)
  {
    ViewRect rect = c.proposed;
    ASSERT_EQ(mView->checkSizeConstraint(&rect), kResultOk);
    EXPECT_EQ(rect.left, c.proposed.left);
    EXPECT_EQ(rect.top, c.proposed.top);
    EXPECT_EQ(rect.getWidth(), c.width) << c.proposed.getWidth();
    EXPECT_EQ(rect.getHeight(), c.height) << c.proposed.getHeight();
  }
  EXPECT_EQ(mView->checkSizeConstraint(nullptr), kInvalidArgument);
}

TEST_F(Vst3ViewTest, ContentScaleSizesTheEditor)
{
  IPtr<IPlugViewContentScaleSupport> scaling = FUnknownPtr<IPlugViewContentScaleSupport>(mView);
  ASSERT_TRUE(scaling);
  EXPECT_EQ(scaling->setContentScaleFactor(2.f), kResultOk);
  ViewRect size;
  ASSERT_EQ(mView->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), 1300);
  EXPECT_EQ(size.getHeight(), 800);
  EXPECT_NE(scaling->setContentScaleFactor(0.f), kResultOk);
  EXPECT_NE(scaling->setContentScaleFactor(-1.f), kResultOk);
  ASSERT_EQ(mView->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), 1300);
}

TEST_F(Vst3ViewTest, AHostWithoutARunLoopGetsNoEditor)
{
  auto plugin =
      velmora::test::LoadEffect("No Run Loop Host", velmora::host::vst3::RunLoopOffer::None);
  ASSERT_TRUE(plugin);
  IPtr<IPlugView> view = owned(plugin->Controller().createView(Vst::ViewType::kEditor));
  ASSERT_TRUE(view);
  // Any non-null handle: the refusal comes before a window would be made.
  int dummyWindow = 0;
  EXPECT_EQ(view->attached(&dummyWindow, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->removed(), kResultFalse);
}

} // namespace
