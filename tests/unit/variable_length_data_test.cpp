#include <RTI/VariableLengthData.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace rti1516e {
namespace {

std::string bytesOf(VariableLengthData const& v) {
  return std::string(static_cast<char const*>(v.data()), v.size());
}

// Counts the calls of a release function and the last pointer it was given.
int releaseCalls = 0;
void* lastReleased = nullptr;
void countingRelease(void* p) {
  ++releaseCalls;
  lastReleased = p;
  delete[] static_cast<char*>(p);
}

class VariableLengthDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    releaseCalls = 0;
    lastReleased = nullptr;
  }
  static char* heapBytes(char const* text) {
    size_t n = std::strlen(text);
    char* p = new char[n];
    std::memcpy(p, text, n);
    return p;
  }
};

TEST_F(VariableLengthDataTest, DefaultIsEmpty) {
  VariableLengthData v;
  EXPECT_EQ(v.data(), nullptr);
  EXPECT_EQ(v.size(), 0u);
  VariableLengthData copy(v);
  EXPECT_EQ(copy.size(), 0u);
}

TEST_F(VariableLengthDataTest, ConstructorAndSetDataCopyTheSource) {
  char source[] = "hello";
  VariableLengthData v(source, 5);
  source[0] = 'J';
  EXPECT_EQ(bytesOf(v), "hello");
  EXPECT_NE(v.data(), static_cast<void*>(source));

  v.setData(source, 5);
  source[0] = 'Y';
  EXPECT_EQ(bytesOf(v), "Jello");

  v.setData(source, 0);
  EXPECT_EQ(v.size(), 0u);
}

TEST_F(VariableLengthDataTest, BorrowedBufferIsUsedInPlaceAndNeverFreed) {
  char buffer[10] = "012345678";
  {
    VariableLengthData v;
    v.setDataPointer(buffer, 10);
    EXPECT_EQ(v.data(), static_cast<void*>(buffer));
    EXPECT_EQ(v.size(), 10u);
    buffer[0] = 'X';
    EXPECT_EQ(static_cast<char const*>(v.data())[0], 'X');

    VariableLengthData copy(v);
    EXPECT_NE(copy.data(), v.data());
    EXPECT_EQ(bytesOf(copy), bytesOf(v));
    buffer[0] = 'Y';
    EXPECT_EQ(static_cast<char const*>(copy.data())[0], 'X');
  }
  // Still ours (a free would be reported by the sanitizers when the stack frame ends).
  EXPECT_EQ(buffer[1], '1');
}

TEST_F(VariableLengthDataTest, TakenBufferIsReleasedOnceByDestruction) {
  char* p = heapBytes("abc");
  {
    VariableLengthData v;
    v.takeDataPointer(p, 3, &countingRelease);
    EXPECT_EQ(v.data(), static_cast<void*>(p));
    EXPECT_EQ(releaseCalls, 0);
  }
  EXPECT_EQ(releaseCalls, 1);
  EXPECT_EQ(lastReleased, static_cast<void*>(p));
}

TEST_F(VariableLengthDataTest, TakenBufferIsReleasedOnceByAssignmentAndSetData) {
  char* p = heapBytes("abc");
  VariableLengthData v;
  v.takeDataPointer(p, 3, &countingRelease);
  v = VariableLengthData("xy", 2);
  EXPECT_EQ(releaseCalls, 1);
  EXPECT_EQ(bytesOf(v), "xy");

  char* q = heapBytes("def");
  v.takeDataPointer(q, 3, &countingRelease);
  v.setData("z", 1);
  EXPECT_EQ(releaseCalls, 2);
  EXPECT_EQ(lastReleased, static_cast<void*>(q));
  EXPECT_EQ(bytesOf(v), "z");
}

TEST_F(VariableLengthDataTest, TakenBufferWithoutFunctionIsArrayDeleted) {
  // The sanitizer build reports a mismatched or missing delete here.
  VariableLengthData v;
  v.takeDataPointer(heapBytes("abcdef"), 6);
  EXPECT_EQ(bytesOf(v), "abcdef");
}

TEST_F(VariableLengthDataTest, CopyOfTakenBufferOwnsNewBytesAndNeverCallsTheFunction) {
  char* p = heapBytes("abc");
  VariableLengthData v;
  v.takeDataPointer(p, 3, &countingRelease);
  {
    VariableLengthData copy(v);
    VariableLengthData assigned;
    assigned = v;
    EXPECT_NE(copy.data(), v.data());
    EXPECT_NE(assigned.data(), v.data());
    EXPECT_EQ(bytesOf(copy), "abc");
  }
  EXPECT_EQ(releaseCalls, 0);
}

TEST_F(VariableLengthDataTest, SelfAssignmentKeepsTheBytes) {
  VariableLengthData v("keep me", 7);
  VariableLengthData& alias = v;
  v = alias;
  EXPECT_EQ(bytesOf(v), "keep me");

  char* p = heapBytes("taken");
  VariableLengthData taken;
  taken.takeDataPointer(p, 5, &countingRelease);
  VariableLengthData& takenAlias = taken;
  taken = takenAlias;
  EXPECT_EQ(bytesOf(taken), "taken");
  EXPECT_EQ(releaseCalls, 0);
}

TEST_F(VariableLengthDataTest, SetDataFromItsOwnBufferKeepsTheBytes) {
  VariableLengthData v("abcdef", 6);
  v.setData(v.data(), v.size());
  EXPECT_EQ(bytesOf(v), "abcdef");
  // A part of its own buffer works too.
  v.setData(static_cast<char const*>(v.data()) + 2, 3);
  EXPECT_EQ(bytesOf(v), "cde");
}

TEST_F(VariableLengthDataTest, HandingItsOwnBufferBackNeitherFreesNorDoubleFrees) {
  char* p = heapBytes("own");
  VariableLengthData v;
  v.takeDataPointer(p, 3, &countingRelease);
  v.takeDataPointer(p, 2, &countingRelease);
  EXPECT_EQ(releaseCalls, 0);
  EXPECT_EQ(bytesOf(v), "ow");
  v.setDataPointer(p, 3);
  EXPECT_EQ(releaseCalls, 0);
  EXPECT_EQ(bytesOf(v), "own");
  v = VariableLengthData();
  EXPECT_EQ(releaseCalls, 1);
}

}  // namespace
}  // namespace rti1516e
