// Interpreter throughput in commands per second: the four-bar assembly and the
// velocity and acceleration base that every velocity topic runs.
//
//   build-*/bench/planimove_bench --benchmark_filter=Interpreter
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string_view>

#include "script/engine.h"
#include "script/vector.h"

namespace {

constexpr std::u32string_view kAssembly = U":25X(a,b):29d=(d):22Y=X+d:22A=X+a:42SB=b+AY+c";

constexpr std::u32string_view kVelocityBase[] = {
    U":42SC=e+AB+f",
    U":41P=XA*BY:48x=A:25O(e,f):22a=A+A:46bBP~aAP:46cCP~aAP",
    U":21j=O+aA:21k=O+bB:21l=O+cC",
    U":46nAa~aAX:46mBA~aAP:46oBm~mBA:46pBb~bBY",
    U":25Q(g,h):214=Q+An:229=4+x:215=9+Bo:217=Q+Bp:46h59~XAa:46i7Q~XAa",
    U":22Á=A+x:416=5h*7i:46869~CBA:46UBA~Q69:46Æ69~PBA:21Ç=P+ÆQ",
    U"21q=Á+4Q:21r=B+6Q:21s=C+8Q:21Ã=A+An:21Ä=B+Bp:21Å=B+Bo",
};

// Commands in a script: every piece between colons, empty ones included.
std::int64_t commandCount(std::u32string_view script) {
  if (script.empty()) return 0;
  return 1 + std::count(script.begin(), script.end(), U':');
}

// The four-bar of the first mechanism type at a crank angle of 60°.
void loadFourBar(pm::Engine& e) {
  e.beginCommand();
  auto& r = e.reg;
  r.valOf(U'a') = 300;
  r.valOf(U'b') = 560;
  r.valOf(U'd') = 0;
  r.valOf(U'e') = 700;
  r.valOf(U'f') = 300;
  r.valOf(U'g') = 700;
  r.valOf(U'h') = 600;
  r.lenOf(U'a') = 80;
  r.lenOf(U'b') = 150;
  r.lenOf(U'c') = -120;
  r.lenOf(U'd') = 180;
  r.lenOf(U'e') = 100;
  r.lenOf(U'f') = 90;
  r.lenOf(U'v') = 5;
  r.lenOf(U'x') = 40;
  r.angOf(U'a') = 60 * pm::kDeg;
  r.lenOf(U'A') = r.lenOf(U'a') * r.lenOf(U'v') / 5;
  r.angOf(U'A') = r.angOf(U'a') + pm::kPi / 2;
}

void BM_InterpreterFourBarAssembly(benchmark::State& state) {
  pm::Engine e;
  loadFourBar(e);
  for (auto _ : state) {
    e.run(kAssembly);
    benchmark::DoNotOptimize(e.reg.px[pm::code(U'B')]);
  }
  if (e.s.kks != 0) state.SkipWithError("four-bar did not assemble");
  state.SetItemsProcessed(state.iterations() * commandCount(kAssembly));
}
BENCHMARK(BM_InterpreterFourBarAssembly);

void BM_InterpreterVelocityBase(benchmark::State& state) {
  pm::Engine e;
  loadFourBar(e);
  e.run(kAssembly);
  std::int64_t perIteration = 0;
  for (std::u32string_view script : kVelocityBase) perIteration += commandCount(script);
  for (auto _ : state) {
    for (std::u32string_view script : kVelocityBase) e.run(script);
    benchmark::DoNotOptimize(e.reg.px[pm::code(U'U')]);
  }
  if (!e.errors().empty()) state.SkipWithError("velocity base reported a fault");
  state.SetItemsProcessed(state.iterations() * perIteration);
}
BENCHMARK(BM_InterpreterVelocityBase);

// A whole key event's worth: fresh register file, assembly, velocity base.
void BM_InterpreterKeyEvent(benchmark::State& state) {
  pm::Engine e;
  std::int64_t perIteration = commandCount(kAssembly);
  for (std::u32string_view script : kVelocityBase) perIteration += commandCount(script);
  for (auto _ : state) {
    loadFourBar(e);
    e.run(kAssembly);
    for (std::u32string_view script : kVelocityBase) e.run(script);
    benchmark::DoNotOptimize(e.reg.px[pm::code(U'U')]);
  }
  state.SetItemsProcessed(state.iterations() * perIteration);
}
BENCHMARK(BM_InterpreterKeyEvent);

}  // namespace
