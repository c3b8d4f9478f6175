// The Variant costs the interpreter pays on every instruction: copies,
// operators on the fast and slow paths, comparisons, and a dictionary called
// through its dispatch interface.
#include <benchmark/benchmark.h>

#include <vector>

#include "dispatch/DispatchObject.h"
#include "dispatch/VariantOps.h"
#include "engine/language/scripting/Dictionary.h"

using namespace tarvix;

static void CopyLong(benchmark::State& state) {
  const Variant source(std::int32_t{42});
  for (auto _ : state) {
    Variant copy = source;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(CopyLong);

static void CopyString(benchmark::State& state) {
  const Variant source(QStringLiteral("a text of some length"));
  for (auto _ : state) {
    Variant copy = source;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(CopyString);

static void AddLongs(benchmark::State& state) {
  Variant sum(std::int32_t{0});
  const Variant one(std::int32_t{1});
  for (auto _ : state) {
    sum = ops::add(sum, one);
    if (sum.rawLong() > 1000000000) sum = Variant(std::int32_t{0});
  }
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(AddLongs);

static void AddIntegerToDouble(benchmark::State& state) {
  Variant sum(0.0);
  const Variant one(std::int16_t{1});
  for (auto _ : state) sum = ops::add(sum, one);
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(AddIntegerToDouble);

static void CompareLongs(benchmark::State& state) {
  const Variant a(std::int32_t{1}), b(std::int32_t{2});
  for (auto _ : state) benchmark::DoNotOptimize(ops::less(a, b));
}
BENCHMARK(CompareLongs);

static void ConcatAppend(benchmark::State& state) {
  for (auto _ : state) {
    Variant s(QString{});
    const Variant piece(QStringLiteral("x"));
    for (int i = 0; i < 100000; ++i)
      if (!s.appendInPlace(piece.rawString())) s = ops::concat(s, piece);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(ConcatAppend)->Unit(benchmark::kMillisecond);

// 100,000 insertions and lookups through Item let / Item get.
static void DictionaryInsertAndLookUp(benchmark::State& state) {
  for (auto _ : state) {
    Ref<scripting::Dictionary> dict(new scripting::Dictionary);
    const int item = dict->memberId(u"Item");
    std::vector<Variant> args(2);
    for (std::int32_t i = 0; i < 100000; ++i) {
      args[0] = Variant(QString::number(i));
      args[1] = Variant(i);
      dict->invoke(item, CallKind::PropertyLet, args);
    }
    double total = 0;
    std::vector<Variant> key(1);
    for (std::int32_t i = 0; i < 100000; ++i) {
      key[0] = Variant(QString::number(i));
      total += dict->invoke(item, CallKind::PropertyGet, key).rawLong();
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(DictionaryInsertAndLookUp)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
