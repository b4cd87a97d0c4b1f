#include "framework/core/ISender.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

using Sender = iplug::ISender<1, 64, float>;
using Reading = Sender::Data;

struct Message
{
  int ctrlTag;
  int msgTag;
  int dataSize;
  Reading reading;
};

class RecordingDelegate : public iplug::IEditorDelegate
{
public:
  void SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize, const void* data) override
  {
    Message message{ctrlTag, msgTag, dataSize, {}};
    std::memcpy(&message.reading, data, sizeof(Reading));
    messages.push_back(message);
  }

  std::vector<Message> messages;
};

Reading MakeReading(int tag, float value)
{
  Reading reading;
  reading.ctrlTag = tag;
  reading.nChans = 1;
  reading.chanOffset = 0;
  reading.vals[0] = value;
  return reading;
}

TEST(ISender, RecordLayoutIsTagChannelsOffsetValue)
{
  const Reading reading = MakeReading(3, 0.25f);
  unsigned char bytes[16];
  std::memcpy(bytes, &reading, sizeof(bytes));
  int32_t fields[3];
  float value = 0.0f;
  std::memcpy(fields, bytes, 12);
  std::memcpy(&value, bytes + 12, 4);
  EXPECT_EQ(fields[0], 3);
  EXPECT_EQ(fields[1], 1);
  EXPECT_EQ(fields[2], 0);
  EXPECT_EQ(value, 0.25f);
}

TEST(ISender, DeliversInPushOrderWithMessageTagZeroAndSixteenBytes)
{
  Sender sender;
  for (int i = 0; i < 5; ++i)
    ASSERT_TRUE(sender.PushData(MakeReading(2, static_cast<float>(i))));
  RecordingDelegate delegate;
  sender.TransmitData(delegate);
  ASSERT_EQ(delegate.messages.size(), 5u);
  for (int i = 0; i < 5; ++i)
  {
    const Message& m = delegate.messages[static_cast<size_t>(i)];
    EXPECT_EQ(m.ctrlTag, 2);
    EXPECT_EQ(m.msgTag, 0);
    EXPECT_EQ(m.dataSize, 16);
    EXPECT_EQ(m.reading.vals[0], static_cast<float>(i));
  }
  delegate.messages.clear();
  sender.TransmitData(delegate);
  EXPECT_TRUE(delegate.messages.empty());
}

TEST(ISender, FullRingDropsAndKeepsWhatItHolds)
{
  Sender sender;
  for (int i = 0; i < 64; ++i)
    ASSERT_TRUE(sender.PushData(MakeReading(1, static_cast<float>(i))));
  EXPECT_FALSE(sender.PushData(MakeReading(1, 100.0f)));
  EXPECT_FALSE(sender.PushData(MakeReading(1, 101.0f)));

  Reading first;
  ASSERT_TRUE(sender.PopData(first));
  EXPECT_EQ(first.vals[0], 0.0f);
  // One slot freed: one more reading fits, and it comes last.
  EXPECT_TRUE(sender.PushData(MakeReading(1, 64.0f)));
  EXPECT_FALSE(sender.PushData(MakeReading(1, 65.0f)));

  RecordingDelegate delegate;
  sender.TransmitData(delegate);
  ASSERT_EQ(delegate.messages.size(), 64u);
  for (size_t i = 0; i < 64; ++i)
    EXPECT_EQ(delegate.messages[i].reading.vals[0], static_cast<float>(i + 1));
}

TEST(ISender, WrapsAroundTheRingManyTimes)
{
  Sender sender;
  RecordingDelegate delegate;
  int next = 0;
  for (int round = 0; round < 50; ++round)
  {
    for (int i = 0; i < 7 + round % 40; ++i)
      ASSERT_TRUE(sender.PushData(MakeReading(4, static_cast<float>(next++))));
    sender.TransmitData(delegate);
  }
  ASSERT_EQ(delegate.messages.size(), static_cast<size_t>(next));
  for (size_t i = 0; i < delegate.messages.size(); ++i)
    ASSERT_EQ(delegate.messages[i].reading.vals[0], static_cast<float>(i));
}

} // namespace
