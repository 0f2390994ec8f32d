#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "runtime/values/byte_set.h"
#include "runtime/values/static_ranges.h"
#include "runtime/values/text_value.h"
#include "runtime/values/type_tag.h"
#include "runtime/values/value.h"
#include "runtime/values/value_cell.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::Bytes;
using testing::CountingHeap;

struct TagCase {
  TypeTag tag;
  TagClass tag_class;
  bool indirect;
};

TEST(TypeTagTest, ClassesFollowTheSignedValueOfTheTag) {
  const TagCase cases[] = {
      {0, TagClass::None, false},
      {tags::Byte, TagClass::Basic, false},
      {tags::Subprogram, TagClass::Basic, false},
      {0xA0000301, TagClass::Basic, true},
      {0xBFFFFFFF, TagClass::Basic, true},
      {0xC0000000, TagClass::Record, false},  // -0x40000000 itself is not below the limit
      {0x00010001, TagClass::Library, false},
      {0x0001000B, TagClass::Library, false},
      {0x3FFFFFFF, TagClass::Library, false},
      {0x0000FFFF, TagClass::Record, false},
      {0x40000000, TagClass::Record, false},
  };
  for (const TagCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.tag);
    EXPECT_EQ(ClassOf(c.tag), c.tag_class);
    EXPECT_EQ(IsIndirect(c.tag), c.indirect);
  }
  EXPECT_EQ(PlainTag(0xA0000301), tags::Integer);
  EXPECT_EQ(LibraryNumber(0x0001000B), 1);
  EXPECT_EQ(LibraryTypeIndex(0x0001000B), 11);
  // The flag bit of a library type is part of its number, not an indirection.
  EXPECT_EQ(PlainTag(0x20010001), 0x20010001u);
}

TEST(TypeTagTest, KindSizesOnX64) {
  EXPECT_EQ(KindSize(tags::Byte), 1u);
  EXPECT_EQ(KindSize(tags::Short), 2u);
  EXPECT_EQ(KindSize(tags::Bool), 4u);
  EXPECT_EQ(KindSize(tags::DateTime), 8u);
  EXPECT_EQ(KindSize(tags::Text), 8u);
  EXPECT_EQ(KindSize(IndirectTag(tags::ByteSet)), 8u);
  EXPECT_EQ(KindSize(0x0001000B), 0u);
}

TEST(ValueCellTest, LayoutIsLowHighTag) {
  EXPECT_EQ(offsetof(ValueCell, low), 0u);
  EXPECT_EQ(offsetof(ValueCell, high), 4u);
  EXPECT_EQ(offsetof(ValueCell, tag), 8u);

  const ValueCell integer = ValueCell::Integer(-2);
  EXPECT_EQ(integer.low, 0xFFFFFFFEu);
  EXPECT_EQ(integer.high, 0u);

  const ValueCell shortValue = ValueCell::Short(-1);
  EXPECT_EQ(shortValue.low, 0xFFFFu);  // low bytes of the low dword only

  const ValueCell longValue = ValueCell::Long(0x1122334455667788);
  EXPECT_EQ(longValue.low, 0x55667788u);
  EXPECT_EQ(longValue.high, 0x11223344u);

  const double one = 1.0;  // 0x3FF0000000000000
  std::uint64_t bits;
  std::memcpy(&bits, &one, sizeof bits);
  const ValueCell doubleValue = ValueCell::Double(one);
  EXPECT_EQ(doubleValue.Bits(), bits);
  EXPECT_EQ(doubleValue.low, 0u);
  EXPECT_EQ(doubleValue.AsDouble(), 1.0);

  int variable = 0;
  const ValueCell byReference = ValueCell::IndirectVariable(tags::Integer, &variable);
  EXPECT_EQ(byReference.tag, 0xA0000301u);
  EXPECT_EQ(byReference.Pointer(), &variable);

  const UnitRef button{3, 17, 0x0001000B};
  const ValueCell unit = ValueCell::Unit(button);
  EXPECT_EQ(unit.low, 3u);
  EXPECT_EQ(unit.high, 17u);
  EXPECT_EQ(unit.AsUnit(), button);
}

TEST(TextValueTest, EmptyTextIsNull) {
  EXPECT_EQ(TextValue().block(), nullptr);
  EXPECT_EQ(TextValue("").block(), nullptr);
  EXPECT_EQ(TextValue(std::string_view("\0abc", 4)).block(), nullptr);
  EXPECT_STREQ(TextValue().c_str(), "");
  EXPECT_TRUE(TextRef(static_cast<const char*>(nullptr)).empty());
}

TEST(TextValueTest, LengthsCountBytes) {
  const TextValue name("按钮_音效");
  EXPECT_EQ(name.size(), 9u);
  EXPECT_EQ(static_cast<unsigned char>(name.c_str()[0]), 0xB0);
  EXPECT_EQ(name.c_str()[9], '\0');
  EXPECT_EQ(TextValue(std::string_view("ab\0cd", 5)).view(), "ab");
}

TEST(TextValueTest, OwnershipFreesOldBlocks) {
  CountingHeap heap;
  {
    TextValue a("first");
    TextValue b(a);
    EXPECT_NE(a.block(), b.block());
    EXPECT_EQ(b.view(), "first");
    EXPECT_EQ(heap.live(), 2u);
    b = TextValue("second");
    EXPECT_EQ(heap.live(), 2u);
    a = std::move(b);
    EXPECT_EQ(heap.live(), 1u);
    EXPECT_EQ(a.view(), "second");
    EXPECT_TRUE(b.empty());
  }
  EXPECT_EQ(heap.live(), 0u);
}

TEST(TextValueTest, ConstantsStayWhereTheyAre) {
  static const char constant[] = "常量";
  ProcessStaticRanges().Add(constant, sizeof constant);
  CountingHeap heap;
  {
    TextValue kept = TextValue::FromConstant(constant);
    EXPECT_EQ(kept.block(), constant);
    static const char elsewhere[] = "other";
    TextValue copied = TextValue::FromConstant(elsewhere);
    EXPECT_NE(copied.block(), elsewhere);
    EXPECT_EQ(copied.view(), "other");
  }
  EXPECT_EQ(heap.live(), 0u);
  EXPECT_STREQ(constant, "常量");
}

TEST(ByteSetTest, BlockLayoutAndNullWhenEmpty) {
  const ByteSet bytes{7, 8, 9};
  std::int32_t header[2];
  std::memcpy(header, bytes.block(), sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 3);
  EXPECT_EQ(Bytes(bytes), (std::vector<std::uint8_t>{7, 8, 9}));

  EXPECT_EQ(ByteSet().block(), nullptr);
  EXPECT_EQ(ByteSet(std::span<const std::uint8_t>()).block(), nullptr);
  EXPECT_EQ(ByteSet::Zeroed(0).block(), nullptr);
  EXPECT_TRUE(ByteSetRef::FromBlock(nullptr).empty());
}

TEST(ByteSetTest, JoinSkipsEmptyPartsAndGivesNullForNothing) {
  const ByteSet a{1, 2};
  const ByteSet empty;
  const ByteSet b{3};
  EXPECT_EQ(Bytes(JoinByteSets({a, empty, b})), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(JoinByteSets({empty, empty}).block(), nullptr);
  EXPECT_EQ(JoinByteSets({}).block(), nullptr);
}

TEST(ValueTest, OwnsTheBlockItCarries) {
  CountingHeap heap;
  {
    Value text(TextValue("abc"));
    Value bytes(ByteSet{1});
    Value number = Value::Adopt(ValueCell::Integer(4));
    EXPECT_EQ(text.tag(), tags::Text);
    EXPECT_EQ(text.text().view(), "abc");
    EXPECT_EQ(bytes.bytes().size(), 1u);
    EXPECT_EQ(number.cell().AsInteger(), 4);
    EXPECT_EQ(heap.live(), 2u);
    Value moved = std::move(text);
    EXPECT_EQ(heap.live(), 2u);
    EXPECT_EQ(moved.text().view(), "abc");
  }
  EXPECT_EQ(heap.live(), 0u);
}

}  // namespace
}  // namespace runtime
