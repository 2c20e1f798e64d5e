// What the benchmarks share: the standard documents, read once, and the bytes
// of memory the process holds, for "bytes held per input byte" figures.
#pragma once

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "binding/page_pool.h"
#include "platform/virtual_memory.h"

namespace zun::bench {

// The bytes of a benchmark document (e.g. "twitter.json"), read on first use;
// a missing document ends the program with a message.
inline const std::string& Document(const std::string& name) {
  static std::map<std::string, std::string> documents;
  auto [at, inserted] = documents.try_emplace(name);
  if (inserted) {
    std::ifstream file(std::string(ZUN_BENCH_DATA) + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    at->second = content.str();
    if (at->second.empty()) {
      std::fprintf(stderr, "cannot read %s from %s\n", name.c_str(), ZUN_BENCH_DATA);
      std::exit(1);
    }
  }
  return at->second;
}

// Bytes the process holds: the malloc arena in use plus the value heaps'
// page reservations, which come straight from the system.
inline size_t HeldBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd + platform::LiveRegionCount() * BindingPagePool::kReservationSize;
}

// Bytes held by what `build()` returns, per input byte, measured while it lives.
template <typename Build>
double HeldPerInputByte(size_t inputBytes, Build build) {
  malloc_trim(0);
  const size_t before = HeldBytes();
  const auto tree = build();
  const size_t after = HeldBytes();
  return static_cast<double>(after - before) / static_cast<double>(inputBytes);
}

}  // namespace zun::bench
