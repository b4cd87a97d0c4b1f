#include "tests/vst3/Vst3TestSupport.h"

#include "framework/vst3/VST3Strings.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

using namespace Steinberg;

namespace velmora::test
{
namespace
{

constexpr unsigned char kClassId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                        0x43, 0x72, 0x76, 0x6E, 0x76, 0x6D, 0x30, 0x30};

// A fixed-width field holds the text, then nothing but zero bytes.
template <class Char, size_t N> void ExpectField(const Char (&field)[N], std::u16string_view text)
{
  ASSERT_LT(text.size(), N);
  for (size_t i = 0; i < N; ++i)
  {
    const auto expected = i < text.size() ? static_cast<Char>(text[i]) : Char{0};
    EXPECT_EQ(field[i], expected) << "at " << i;
  }
}

class Vst3Factory : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    module = host::vst3::VST3Module::Load(kBundlePath, error);
    ASSERT_NE(module, nullptr) << error;
  }

  IPluginFactory& Factory() { return module->Factory(); }

  template <class Interface> IPtr<Interface> Query()
  {
    Interface* found = nullptr;
    if (Factory().queryInterface(Interface::iid, reinterpret_cast<void**>(&found)) != kResultOk)
      return nullptr;
    return owned(found);
  }

  std::shared_ptr<host::vst3::VST3Module> module;
};

TEST_F(Vst3Factory, FactoryRecordFieldByField)
{
  PFactoryInfo info;
  std::memset(static_cast<void*>(&info), 0x5A, sizeof(info));
  ASSERT_EQ(Factory().getFactoryInfo(&info), kResultOk);
  ExpectField(info.vendor, u"Corvane Audio");
  ExpectField(info.url, u"https://www.corvaneaudio.com");
  ExpectField(info.email, u"support@corvaneaudio.com");
  EXPECT_EQ(info.flags, 16);
  EXPECT_EQ(Factory().countClasses(), 1);
}

TEST_F(Vst3Factory, ClassRecordIsTheSameThroughAllThreeQueries)
{
  IPtr<IPluginFactory2> factory2 = Query<IPluginFactory2>();
  IPtr<IPluginFactory3> factory3 = Query<IPluginFactory3>();
  ASSERT_TRUE(factory2 && factory3);

  PClassInfo plain;
  PClassInfo2 info2;
  PClassInfoW wide;
  ASSERT_EQ(Factory().getClassInfo(0, &plain), kResultOk);
  ASSERT_EQ(factory2->getClassInfo2(0, &info2), kResultOk);
  ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);

  for (const char* cid : {plain.cid, info2.cid, wide.cid})
    EXPECT_EQ(std::memcmp(cid, kClassId, 16), 0);
  for (const int32 cardinality : {plain.cardinality, info2.cardinality, wide.cardinality})
    EXPECT_EQ(cardinality, 0x7FFFFFFF);
  ExpectField(plain.category, u"Audio Module Class");
  ExpectField(info2.category, u"Audio Module Class");
  ExpectField(wide.category, u"Audio Module Class");
  ExpectField(plain.name, u"Velmora");
  ExpectField(info2.name, u"Velmora");
  ExpectField(wide.name, u"Velmora");
  EXPECT_EQ(info2.classFlags, 2u);
  EXPECT_EQ(wide.classFlags, 2u);
  ExpectField(info2.subCategories, u"Fx|Distortion");
  ExpectField(wide.subCategories, u"Fx|Distortion");
  ExpectField(info2.vendor, u"");
  ExpectField(wide.vendor, u"");
  ExpectField(info2.version, u"4.1.2");
  ExpectField(wide.version, u"4.1.2");
  ExpectField(info2.sdkVersion, u"VST 3.8.0");
  ExpectField(wide.sdkVersion, u"VST 3.8.0");
}

TEST_F(Vst3Factory, ClassQueriesRefuseUnknownIndices)
{
  PClassInfo plain;
  for (const int32 index : {-1, 1, 1000})
    EXPECT_NE(Factory().getClassInfo(index, &plain), kResultOk) << index;
  EXPECT_NE(Factory().getClassInfo(0, nullptr), kResultOk);
  EXPECT_NE(Factory().getFactoryInfo(nullptr), kResultOk);
}

TEST_F(Vst3Factory, SecondGetPluginFactoryGivesTheSameFactoryWithOneMoreReference)
{
  const auto getFactory =
      reinterpret_cast<IPluginFactory* (*)()>(module->Symbol("GetPluginFactory"));
  ASSERT_NE(getFactory, nullptr);
  IPluginFactory& first = Factory();
  const uint32 before = first.addRef() - 1;
  first.release();

  IPluginFactory* second = getFactory();
  EXPECT_EQ(second, &first);
  const uint32 after = first.addRef() - 1;
  first.release();
  EXPECT_EQ(after, before + 1);
  second->release();
}

TEST_F(Vst3Factory, CreatesTheClassAndAnswersItsInterfaces)
{
  Vst::IAudioProcessor* processor = nullptr;
  ASSERT_EQ(Factory().createInstance(reinterpret_cast<const char*>(kClassId),
                                     Vst::IAudioProcessor::iid,
                                     reinterpret_cast<void**>(&processor)),
            kResultOk);
  ASSERT_NE(processor, nullptr);
  Vst::IComponent* component = nullptr;
  EXPECT_EQ(processor->queryInterface(Vst::IComponent::iid, reinterpret_cast<void**>(&component)),
            kResultOk);
  ASSERT_NE(component, nullptr);
  component->release();
  EXPECT_EQ(processor->release(), 0u);
}

TEST_F(Vst3Factory, RefusesUnknownClassesAndMissingArguments)
{
  const char unknown[16] = {1, 2, 3};
  void* object = &object;
  EXPECT_NE(Factory().createInstance(unknown, Vst::IComponent::iid, &object), kResultOk);
  EXPECT_EQ(object, nullptr);
  EXPECT_NE(Factory().createInstance(nullptr, Vst::IComponent::iid, &object), kResultOk);
  EXPECT_NE(Factory().createInstance(reinterpret_cast<const char*>(kClassId), nullptr, &object),
            kResultOk);
  EXPECT_NE(Factory().createInstance(reinterpret_cast<const char*>(kClassId), Vst::IComponent::iid,
                                     nullptr),
            kResultOk);
}

} // namespace
} // namespace velmora::test
