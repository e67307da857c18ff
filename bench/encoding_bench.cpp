// encoding_bench: the encoding helpers against hand-written code of the same layout.
//
//   (a) a fixed record of eight mixed fields (a typical entity state attribute);
//   (b) a variable array of 1000 HLAinteger32BE;
//   (c) a fixed record of two nested fixed records (position, attitude);
//   (d) a variable array of 100 fixed records of five fields (a track list).
//
// Results are kept alive with DoNotOptimize on a pointer (a prvalue): this library version
// miscompiles its in-out form on a double lvalue under g++ and clobbers the value.
//
// Each case encodes into, or decodes from, a VariableLengthData. The helpers' fields are
// bound to the federate's own variables, as a federate would use them (in (d) the array
// makes its own records, and the hand-written side fills a vector of structs); the hand-written
// side reads and writes the same variables and checks bounds the same way. At the end the
// ratio helpers / hand-written is printed for each case.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAvariableArray.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "RatioReporter.h"

namespace {

using namespace rti1516e;

// ---- Hand-written big-endian primitives -------------------------------------------

inline void put32(char* p, std::uint32_t v) {
  p[0] = static_cast<char>(v >> 24);
  p[1] = static_cast<char>(v >> 16);
  p[2] = static_cast<char>(v >> 8);
  p[3] = static_cast<char>(v);
}
inline void put64(char* p, std::uint64_t v) {
  put32(p, static_cast<std::uint32_t>(v >> 32));
  put32(p + 4, static_cast<std::uint32_t>(v));
}
inline std::uint32_t get32(char const* p) {
  auto b = [p](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(p[i])); };
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}
inline std::uint64_t get64(char const* p) {
  return static_cast<std::uint64_t>(get32(p)) << 32 | get32(p + 4);
}
inline void putDouble(char* p, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, 8);
  put64(p, bits);
}
inline double getDouble(char const* p) {
  std::uint64_t const bits = get64(p);
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

// ---- (a) the entity record ---------------------------------------------------------

struct Entity {
  Integer32 id = 4711;
  double x = 1.5, y = -2.25, z = 1000.0;
  Integer16 heading = 270;
  char kind = 'T';
  bool alive = true;
  std::string name = "Tank Alpha";
};

// id@0, pad, x@8, y@16, z@24, heading@32, kind@34, pad, alive@36, name count@40, name@44.
void handEncode(Entity const& e, VariableLengthData& out) {
  char bytes[128] = {};
  std::vector<char> big;
  size_t const length = 44 + e.name.size();
  char* p = bytes;
  if (length > sizeof bytes) {
    big.assign(length, 0);
    p = big.data();
  }
  put32(p, static_cast<std::uint32_t>(e.id));
  putDouble(p + 8, e.x);
  putDouble(p + 16, e.y);
  putDouble(p + 24, e.z);
  p[32] = static_cast<char>(static_cast<std::uint16_t>(e.heading) >> 8);
  p[33] = static_cast<char>(e.heading);
  p[34] = e.kind;
  put32(p + 36, e.alive ? 1 : 0);
  put32(p + 40, static_cast<std::uint32_t>(e.name.size()));
  std::memcpy(p + 44, e.name.data(), e.name.size());
  out.setData(p, length);
}

void handDecode(VariableLengthData const& in, Entity& e) {
  char const* p = static_cast<char const*>(in.data());
  size_t const size = in.size();
  if (size < 44) throw std::runtime_error("too short");
  auto const count = static_cast<std::int32_t>(get32(p + 40));
  if (count < 0 || static_cast<size_t>(count) > size - 44) throw std::runtime_error("bad name");
  e.id = static_cast<Integer32>(get32(p));
  e.x = getDouble(p + 8);
  e.y = getDouble(p + 16);
  e.z = getDouble(p + 24);
  e.heading = static_cast<Integer16>((static_cast<unsigned char>(p[32]) << 8) | static_cast<unsigned char>(p[33]));
  e.kind = p[34];
  e.alive = get32(p + 36) == 1;
  e.name.assign(p + 44, static_cast<size_t>(count));
}

// The record with every field bound to the entity's variables.
struct EntityRecord {
  explicit EntityRecord(Entity& e)
      : id(&e.id), x(&e.x), y(&e.y), z(&e.z), heading(&e.heading), kind(&e.kind),
        alive(&e.alive), name(&e.name) {
    for (DataElement* field : std::initializer_list<DataElement*>{&id, &x, &y, &z, &heading, &kind, &alive, &name}) {
      record.appendElementPointer(field);
    }
  }
  HLAinteger32BE id;
  HLAfloat64BE x, y, z;
  HLAinteger16BE heading;
  HLAoctet kind;
  HLAboolean alive;
  HLAASCIIstring name;
  HLAfixedRecord record;
};

void recordEncodeHelpers(benchmark::State& state) {
  Entity entity;
  EntityRecord fields(entity);
  VariableLengthData out;
  for (auto _ : state) {
    fields.record.encode(out);
    benchmark::DoNotOptimize(out.data());
  }
}

void recordEncodeHand(benchmark::State& state) {
  Entity entity;
  VariableLengthData out;
  for (auto _ : state) {
    handEncode(entity, out);
    benchmark::DoNotOptimize(out.data());
  }
}

void recordDecodeHelpers(benchmark::State& state) {
  Entity source;
  VariableLengthData in;
  handEncode(source, in);
  Entity entity;
  EntityRecord fields(entity);
  for (auto _ : state) {
    fields.record.decode(in);
    benchmark::DoNotOptimize(&entity);
  }
  if (entity.name != source.name || entity.z != source.z) state.SkipWithError("decoded wrong");
}

void recordDecodeHand(benchmark::State& state) {
  Entity source;
  VariableLengthData in;
  handEncode(source, in);
  Entity entity;
  for (auto _ : state) {
    handDecode(in, entity);
    benchmark::DoNotOptimize(&entity);
  }
  if (entity.name != source.name || entity.z != source.z) state.SkipWithError("decoded wrong");
}

// ---- (b) a variable array of 1000 HLAinteger32BE -----------------------------------

constexpr int kCount = 1000;

std::vector<Integer32> sampleValues() {
  std::vector<Integer32> values(kCount);
  for (int i = 0; i < kCount; ++i) values[i] = i * 7919 - 3000000;
  return values;
}

void handEncodeArray(std::vector<Integer32> const& values, VariableLengthData& out) {
  std::vector<char> bytes(4 + 4 * values.size());
  put32(bytes.data(), static_cast<std::uint32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) put32(bytes.data() + 4 + 4 * i, static_cast<std::uint32_t>(values[i]));
  out.setData(bytes.data(), bytes.size());
}

void handDecodeArray(VariableLengthData const& in, std::vector<Integer32>& values) {
  char const* p = static_cast<char const*>(in.data());
  if (in.size() < 4) throw std::runtime_error("too short");
  auto const count = static_cast<std::int32_t>(get32(p));
  if (count < 0 || static_cast<size_t>(count) > (in.size() - 4) / 4) throw std::runtime_error("bad count");
  values.resize(static_cast<size_t>(count));
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<Integer32>(get32(p + 4 + 4 * i));
}

HLAvariableArray helperArray(std::vector<Integer32> const& values) {
  HLAvariableArray array(HLAinteger32BE{});
  for (Integer32 v : values) array.addElement(HLAinteger32BE(v));
  return array;
}

void arrayEncodeHelpers(benchmark::State& state) {
  HLAvariableArray const array = helperArray(sampleValues());
  VariableLengthData out;
  for (auto _ : state) {
    array.encode(out);
    benchmark::DoNotOptimize(out.data());
  }
}

void arrayEncodeHand(benchmark::State& state) {
  std::vector<Integer32> const values = sampleValues();
  VariableLengthData out;
  for (auto _ : state) {
    handEncodeArray(values, out);
    benchmark::DoNotOptimize(out.data());
  }
}

void arrayDecodeHelpers(benchmark::State& state) {
  std::vector<Integer32> const values = sampleValues();
  VariableLengthData in;
  handEncodeArray(values, in);
  HLAvariableArray array(HLAinteger32BE{});
  for (auto _ : state) {
    array.decode(in);
    benchmark::DoNotOptimize(&array);
  }
  if (array.size() != values.size() ||
      static_cast<HLAinteger32BE const&>(array[kCount - 1]).get() != values.back()) {
    state.SkipWithError("decoded wrong");
  }
}

void arrayDecodeHand(benchmark::State& state) {
  std::vector<Integer32> const values = sampleValues();
  VariableLengthData in;
  handEncodeArray(values, in);
  std::vector<Integer32> decoded;
  for (auto _ : state) {
    handDecodeArray(in, decoded);
    benchmark::DoNotOptimize(decoded.data());
  }
  if (decoded != values) state.SkipWithError("decoded wrong");
}

// ---- (c) a record of two nested records --------------------------------------------

struct Kinematics {
  double x = 1.5, y = -2.25, z = 1000.0;
  Integer16 heading = 270, pitch = -5;
  float speed = 12.5f;
  char kind = 'T';
  bool alive = true;
};

inline void put16(char* p, std::uint16_t v) {
  p[0] = static_cast<char>(v >> 8);
  p[1] = static_cast<char>(v);
}
inline std::uint16_t get16(char const* p) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]));
}
inline void putFloat(char* p, float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, 4);
  put32(p, bits);
}
inline float getFloat(char const* p) {
  std::uint32_t const bits = get32(p);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

// x@0, y@8, z@16 | heading@24, pitch@26, speed@28, kind@32, pad, alive@36; 40 bytes.
constexpr size_t kKinematicsLength = 40;

void handEncode(Kinematics const& k, VariableLengthData& out) {
  char p[kKinematicsLength] = {};
  putDouble(p, k.x);
  putDouble(p + 8, k.y);
  putDouble(p + 16, k.z);
  put16(p + 24, static_cast<std::uint16_t>(k.heading));
  put16(p + 26, static_cast<std::uint16_t>(k.pitch));
  putFloat(p + 28, k.speed);
  p[32] = k.kind;
  put32(p + 36, k.alive ? 1 : 0);
  out.setData(p, kKinematicsLength);
}

void handDecode(VariableLengthData const& in, Kinematics& k) {
  char const* p = static_cast<char const*>(in.data());
  if (in.size() < kKinematicsLength) throw std::runtime_error("too short");
  k.x = getDouble(p);
  k.y = getDouble(p + 8);
  k.z = getDouble(p + 16);
  k.heading = static_cast<Integer16>(get16(p + 24));
  k.pitch = static_cast<Integer16>(get16(p + 26));
  k.speed = getFloat(p + 28);
  k.kind = p[32];
  k.alive = get32(p + 36) == 1;
}

struct KinematicsRecord {
  explicit KinematicsRecord(Kinematics& k)
      : x(&k.x), y(&k.y), z(&k.z), heading(&k.heading), pitch(&k.pitch), speed(&k.speed), kind(&k.kind),
        alive(&k.alive) {
    for (DataElement* field : std::initializer_list<DataElement*>{&x, &y, &z}) position.appendElementPointer(field);
    for (DataElement* field : std::initializer_list<DataElement*>{&heading, &pitch, &speed, &kind, &alive}) {
      attitude.appendElementPointer(field);
    }
    record.appendElementPointer(&position);
    record.appendElementPointer(&attitude);
  }
  HLAfloat64BE x, y, z;
  HLAinteger16BE heading, pitch;
  HLAfloat32BE speed;
  HLAoctet kind;
  HLAboolean alive;
  HLAfixedRecord position, attitude, record;
};

void nestedEncodeHelpers(benchmark::State& state) {
  Kinematics k;
  KinematicsRecord fields(k);
  VariableLengthData out;
  for (auto _ : state) {
    fields.record.encode(out);
    benchmark::DoNotOptimize(out.data());
  }
}

void nestedEncodeHand(benchmark::State& state) {
  Kinematics k;
  VariableLengthData out;
  for (auto _ : state) {
    handEncode(k, out);
    benchmark::DoNotOptimize(out.data());
  }
}

void nestedDecodeHelpers(benchmark::State& state) {
  Kinematics source;
  VariableLengthData in;
  handEncode(source, in);
  Kinematics k{0, 0, 0, 0, 0, 0, 0, false};
  KinematicsRecord fields(k);
  for (auto _ : state) {
    fields.record.decode(in);
    benchmark::DoNotOptimize(&k);
  }
  if (k.z != source.z || k.speed != source.speed || !k.alive) state.SkipWithError("decoded wrong");
}

void nestedDecodeHand(benchmark::State& state) {
  Kinematics source;
  VariableLengthData in;
  handEncode(source, in);
  Kinematics k{0, 0, 0, 0, 0, 0, 0, false};
  for (auto _ : state) {
    handDecode(in, k);
    benchmark::DoNotOptimize(&k);
  }
  if (k.z != source.z || k.speed != source.speed || !k.alive) state.SkipWithError("decoded wrong");
}

// ---- (d) a variable array of 100 fixed records ---------------------------------------

constexpr int kTracks = 100;

struct Track {
  Integer32 id;
  double x, y;
  Integer16 heading;
  char kind;
};

std::vector<Track> sampleTracks() {
  std::vector<Track> tracks(kTracks);
  for (int i = 0; i < kTracks; ++i) tracks[i] = Track{i, i * 1.5, -i * 0.25, static_cast<Integer16>(i * 3), 'A'};
  return tracks;
}

// count@0, then each record at 8 + 32 i: id@0, pad, x@8, y@16, heading@24, kind@26 (27 bytes).
constexpr size_t kTrackStride = 32, kTrackLength = 27;

void handEncodeTracks(std::vector<Track> const& tracks, VariableLengthData& out) {
  size_t const length = tracks.empty() ? 4 : 8 + kTrackStride * (tracks.size() - 1) + kTrackLength;
  std::vector<char> bytes(length);
  char* p = bytes.data();
  put32(p, static_cast<std::uint32_t>(tracks.size()));
  for (size_t i = 0; i < tracks.size(); ++i) {
    char* r = p + 8 + kTrackStride * i;
    put32(r, static_cast<std::uint32_t>(tracks[i].id));
    putDouble(r + 8, tracks[i].x);
    putDouble(r + 16, tracks[i].y);
    put16(r + 24, static_cast<std::uint16_t>(tracks[i].heading));
    r[26] = tracks[i].kind;
  }
  out.setData(p, length);
}

void handDecodeTracks(VariableLengthData const& in, std::vector<Track>& tracks) {
  char const* p = static_cast<char const*>(in.data());
  size_t const size = in.size();
  if (size < 4) throw std::runtime_error("too short");
  auto const count = static_cast<std::int32_t>(get32(p));
  if (count < 0 || (count > 0 && (size < 8 + kTrackLength || static_cast<size_t>(count - 1) > (size - 8 - kTrackLength) / kTrackStride))) {
    throw std::runtime_error("bad count");
  }
  tracks.resize(static_cast<size_t>(count));
  for (size_t i = 0; i < tracks.size(); ++i) {
    char const* r = p + 8 + kTrackStride * i;
    tracks[i].id = static_cast<Integer32>(get32(r));
    tracks[i].x = getDouble(r + 8);
    tracks[i].y = getDouble(r + 16);
    tracks[i].heading = static_cast<Integer16>(get16(r + 24));
    tracks[i].kind = r[26];
  }
}

HLAfixedRecord trackRecord(Track const& t) {
  HLAfixedRecord record;
  record.appendElement(HLAinteger32BE(t.id));
  record.appendElement(HLAfloat64BE(t.x));
  record.appendElement(HLAfloat64BE(t.y));
  record.appendElement(HLAinteger16BE(t.heading));
  record.appendElement(HLAoctet(t.kind));
  return record;
}

HLAvariableArray helperTracks(std::vector<Track> const& tracks) {
  HLAvariableArray array(trackRecord(Track{}));
  for (Track const& t : tracks) array.addElement(trackRecord(t));
  return array;
}

void tracksEncodeHelpers(benchmark::State& state) {
  HLAvariableArray const array = helperTracks(sampleTracks());
  VariableLengthData out;
  for (auto _ : state) {
    array.encode(out);
    benchmark::DoNotOptimize(out.data());
  }
}

void tracksEncodeHand(benchmark::State& state) {
  std::vector<Track> const tracks = sampleTracks();
  VariableLengthData out;
  for (auto _ : state) {
    handEncodeTracks(tracks, out);
    benchmark::DoNotOptimize(out.data());
  }
}

void tracksDecodeHelpers(benchmark::State& state) {
  std::vector<Track> const tracks = sampleTracks();
  VariableLengthData in;
  handEncodeTracks(tracks, in);
  HLAvariableArray array(trackRecord(Track{}));
  for (auto _ : state) {
    array.decode(in);
    benchmark::DoNotOptimize(&array);
  }
  auto const& last = static_cast<HLAfixedRecord const&>(array[kTracks - 1]);
  if (array.size() != tracks.size() || static_cast<HLAfloat64BE const&>(last.get(1)).get() != tracks.back().x) {
    state.SkipWithError("decoded wrong");
  }
}

void tracksDecodeHand(benchmark::State& state) {
  std::vector<Track> const tracks = sampleTracks();
  VariableLengthData in;
  handEncodeTracks(tracks, in);
  std::vector<Track> decoded;
  for (auto _ : state) {
    handDecodeTracks(in, decoded);
    benchmark::DoNotOptimize(decoded.data());
  }
  if (decoded.size() != tracks.size() || decoded.back().x != tracks.back().x) state.SkipWithError("decoded wrong");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("record_encode/helpers", recordEncodeHelpers);
  benchmark::RegisterBenchmark("record_encode/hand_written", recordEncodeHand);
  benchmark::RegisterBenchmark("record_decode/helpers", recordDecodeHelpers);
  benchmark::RegisterBenchmark("record_decode/hand_written", recordDecodeHand);
  benchmark::RegisterBenchmark("array1000_encode/helpers", arrayEncodeHelpers);
  benchmark::RegisterBenchmark("array1000_encode/hand_written", arrayEncodeHand);
  benchmark::RegisterBenchmark("array1000_decode/helpers", arrayDecodeHelpers);
  benchmark::RegisterBenchmark("array1000_decode/hand_written", arrayDecodeHand);
  benchmark::RegisterBenchmark("nested_encode/helpers", nestedEncodeHelpers);
  benchmark::RegisterBenchmark("nested_encode/hand_written", nestedEncodeHand);
  benchmark::RegisterBenchmark("nested_decode/helpers", nestedDecodeHelpers);
  benchmark::RegisterBenchmark("nested_decode/hand_written", nestedDecodeHand);
  benchmark::RegisterBenchmark("tracks100_encode/helpers", tracksEncodeHelpers);
  benchmark::RegisterBenchmark("tracks100_encode/hand_written", tracksEncodeHand);
  benchmark::RegisterBenchmark("tracks100_decode/helpers", tracksDecodeHelpers);
  benchmark::RegisterBenchmark("tracks100_decode/hand_written", tracksDecodeHand);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter({{"record_encode/helpers", "record_encode/hand_written"},
                          {"record_decode/helpers", "record_decode/hand_written"},
                          {"array1000_encode/helpers", "array1000_encode/hand_written"},
                          {"array1000_decode/helpers", "array1000_decode/hand_written"},
                          {"nested_encode/helpers", "nested_encode/hand_written"},
                          {"nested_decode/helpers", "nested_decode/hand_written"},
                          {"tracks100_encode/helpers", "tracks100_encode/hand_written"},
                          {"tracks100_decode/helpers", "tracks100_decode/hand_written"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
