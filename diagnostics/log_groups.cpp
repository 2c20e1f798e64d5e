// The process-wide table of log-group names.
//
// Each entry packs its three characters and NUL into one 32-bit atomic, so a
// reader never sees a half-written name while another thread registers.
#include "diagnostics/log_groups.h"

#include <atomic>
#include <iterator>
#include <mutex>
#include <utility>

namespace zun {

namespace {

using PackedName = uint32_t;

constexpr PackedName Pack(const char (&name)[4]) {
  return static_cast<PackedName>(static_cast<uint8_t>(name[0])) |
         static_cast<PackedName>(static_cast<uint8_t>(name[1])) << 8 |
         static_cast<PackedName>(static_cast<uint8_t>(name[2])) << 16;
}

// First three characters of a text (fewer when it is shorter).
PackedName PackPrefix(const char* name) {
  PackedName packed = 0;
  for (int i = 0; i < 3 && name[i] != '\0'; ++i) {
    packed |= static_cast<PackedName>(static_cast<uint8_t>(name[i])) << (8 * i);
  }
  return packed;
}

constexpr PackedName kUnregistered = Pack("???");

// "LOC", the library's own group, is in the table from the start so that no
// order of static initialisation can give its bit to another group.
constexpr const char kInitialNames[][4] = {"DBG", "GEN", "XTR", "PRF", "MEM",
                                            "DSK", "NET", "TST", "LOC"};
constexpr size_t kInitialCount = std::size(kInitialNames);

constexpr PackedName InitialName(size_t index) {
  return index < kInitialCount ? Pack(kInitialNames[index]) : kUnregistered;
}

struct GroupTable {
  template <size_t... Index>
  constexpr explicit GroupTable(std::index_sequence<Index...>)
      : names{InitialName(Index)...}, lastUsed{kInitialCount - 1} {}

  std::atomic<PackedName> names[log_groups::kMaxGroups];
  std::atomic<size_t> lastUsed;  // index of the last registered entry
};

constinit GroupTable groupTable{std::make_index_sequence<log_groups::kMaxGroups>{}};

std::mutex& RegistrationMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

LogGroupMask RegisterLogGroup(const char* name) {
  if (name == nullptr || name[0] == '\0') return 0;
  const PackedName wanted = PackPrefix(name);
  std::lock_guard<std::mutex> lock(RegistrationMutex());
  const size_t lastUsed = groupTable.lastUsed.load(std::memory_order_relaxed);
  for (size_t i = 0; i <= lastUsed; ++i) {
    if (groupTable.names[i].load(std::memory_order_relaxed) == wanted) return LogGroupMask{1} << i;
  }
  const size_t next = lastUsed + 1;
  if (next >= log_groups::kMaxGroups) return 0;
  groupTable.names[next].store(wanted, std::memory_order_relaxed);
  groupTable.lastUsed.store(next, std::memory_order_release);
  return LogGroupMask{1} << next;
}

size_t LogGroupNames(LogGroupMask mask, char* buffer, size_t size) {
  if (size == 0) return 0;
  size_t length = 0;
  bool first = true;
  for (size_t bit = 0; bit < log_groups::kMaxGroups; ++bit) {
    if ((mask & (LogGroupMask{1} << bit)) == 0) continue;
    if (!first && length + 1 < size) buffer[length++] = ';';
    first = false;
    const PackedName packed = groupTable.names[bit].load(std::memory_order_relaxed);
    for (int i = 0; i < 3 && length + 1 < size; ++i) {
      const char c = static_cast<char>((packed >> (8 * i)) & 0xFF);
      if (c == '\0') break;
      buffer[length++] = c;
    }
  }
  buffer[length] = '\0';
  return length;
}

}  // namespace zun
