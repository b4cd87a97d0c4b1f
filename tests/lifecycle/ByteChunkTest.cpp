#include "framework/core/IByteChunk.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

using iplug::IByteChunk;

namespace
{

std::vector<uint8_t> BytesOf(const IByteChunk& chunk)
{
  return {chunk.GetData(), chunk.GetData() + chunk.Size()};
}

} // namespace

TEST(ByteChunk, NumbersAreStoredLittleEndian)
{
  IByteChunk chunk;
  const int32_t i32 = 0x11223344;
  const uint16_t u16 = 0xA1B2;
  const double d = -2.0; // 0xC000000000000000
  const float f = 1.0f;  // 0x3F800000
  chunk.Put(&i32);
  chunk.Put(&u16);
  chunk.Put(&d);
  chunk.Put(&f);
  const std::vector<uint8_t> expected = {0x44, 0x33, 0x22, 0x11, 0xB2, 0xA1, 0, 0,    0,
                                         0,    0,    0,    0,    0xC0, 0,    0, 0x80, 0x3F};
  EXPECT_EQ(BytesOf(chunk), expected);

  int32_t i32Back = 0;
  uint16_t u16Back = 0;
  double dBack = 0.0;
  float fBack = 0.f;
  int pos = chunk.Get(&i32Back, 0);
  pos = chunk.Get(&u16Back, pos);
  pos = chunk.Get(&dBack, pos);
  pos = chunk.Get(&fBack, pos);
  EXPECT_EQ(pos, chunk.Size());
  EXPECT_EQ(i32Back, i32);
  EXPECT_EQ(u16Back, u16);
  EXPECT_EQ(dBack, d);
  EXPECT_EQ(fBack, f);
}

TEST(ByteChunk, ReadsOutsideTheBytesFailAndLeaveTheDestination)
{
  struct Case
  {
    int nBytes;
    int startPos;
    int expected;
  };
  IByteChunk chunk;
  const uint8_t bytes[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  ASSERT_EQ(chunk.PutBytes(bytes, 10), 10);
  const Case cases[] = {
      {4, 0, 4},   {4, 6, 10},  {0, 10, 10},      {1, 10, -1},      {4, 7, -1},
      {4, -1, -1}, {-1, 0, -1}, {INT_MAX, 1, -1}, {1, INT_MAX, -1}, {10, 0, 10},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(::testing::Message() << c.nBytes << " bytes from " << c.startPos);
    std::vector<uint8_t> out(16, 0xEE);
    EXPECT_EQ(chunk.GetBytes(out.data(), c.nBytes, c.startPos), c.expected);
    if (c.expected < 0)
      EXPECT_EQ(out, std::vector<uint8_t>(16, 0xEE));
    else
      EXPECT_TRUE(std::equal(out.begin(), out.begin() + c.nBytes, bytes + c.startPos));
  }
  double d = 7.0;
  EXPECT_EQ(chunk.Get(&d, 3), -1);
  EXPECT_EQ(d, 7.0);
}

TEST(ByteChunk, UnusableWritesFailAndLeaveTheChunk)
{
  IByteChunk chunk;
  const uint8_t byte = 9;
  chunk.PutBytes(&byte, 1);
  EXPECT_EQ(chunk.PutBytes(nullptr, 4), -1);
  EXPECT_EQ(chunk.PutBytes(&byte, -1), -1);
  EXPECT_EQ(chunk.Resize(-5), -1);
  EXPECT_EQ(BytesOf(chunk), std::vector<uint8_t>{9});
  EXPECT_EQ(chunk.PutBytes(nullptr, 0), 1);
}

TEST(ByteChunk, GrowsAcrossManyStepsKeepingItsBytes)
{
  IByteChunk chunk;
  for (int i = 0; i < 3 * IByteChunk::kGrowthStep + 5; ++i)
  {
    const auto b = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(chunk.PutBytes(&b, 1), i + 1);
  }
  for (int i = 0; i < chunk.Size(); ++i)
    ASSERT_EQ(chunk.GetData()[i], static_cast<uint8_t>(i * 7));
}

TEST(ByteChunk, ResizeClearAndAppendAnotherChunk)
{
  IByteChunk a;
  const int32_t v = -1;
  a.Put(&v);
  EXPECT_EQ(a.Resize(6), 6);
  EXPECT_EQ(BytesOf(a), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
  EXPECT_EQ(a.Resize(2), 2);
  IByteChunk b;
  b.PutBytes("xyz", 3);
  EXPECT_EQ(a.PutChunk(b), 5);
  EXPECT_EQ(a.PutChunk(a), 10);
  EXPECT_EQ(BytesOf(a),
            (std::vector<uint8_t>{0xFF, 0xFF, 'x', 'y', 'z', 0xFF, 0xFF, 'x', 'y', 'z'}));
  EXPECT_FALSE(a.IsEqual(b));
  a.Clear();
  EXPECT_EQ(a.Size(), 0);
  EXPECT_EQ(a.PutChunk(b), 3);
  EXPECT_TRUE(a.IsEqual(b));
}
