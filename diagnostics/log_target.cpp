// LogTarget: filters, line format, attachment, and the LogSink table that
// forwards to them.
#include "diagnostics/log_target.h"

#include "diagnostics/framework_allocator.h"
#include "diagnostics/log_manager.h"

namespace zun {

namespace {

constexpr const char* kLogTargetName = "LogTarget";

LogTarget& Owner(LogSink* sink) { return *LogTarget::FromSink(sink); }

int32_t SinkVersion(LogSink*) { return kLogSinkVersion; }
void SinkSetLevel(LogSink* sink, LogLevel level) { Owner(sink).SetLevel(level); }
LogLevel SinkGetLevel(LogSink* sink) { return Owner(sink).Level(); }
void SinkSetGroups(LogSink* sink, LogGroupMask include, LogGroupMask exclude) {
  Owner(sink).SetGroups(include, exclude);
}
LogGroupMask SinkGetIncludeGroups(LogSink* sink) { return Owner(sink).IncludeGroups(); }
LogGroupMask SinkGetExcludeGroups(LogSink* sink) { return Owner(sink).ExcludeGroups(); }
const char* SinkName(LogSink* sink) { return Owner(sink).Name(); }
const char* SinkLineFormat(LogSink* sink, const LogRecord* record) {
  return Owner(sink).LineFormatFor(*record);
}
void SinkAttach(LogSink* sink) { Owner(sink).Attach(); }
void SinkDetach(LogSink* sink) { Owner(sink).Detach(); }
bool SinkIsAttached(LogSink* sink) { return Owner(sink).IsAttached(); }
bool SinkWrite(LogSink* sink, const LogRecord* record) { return Owner(sink).Write(*record); }

constexpr LogSink kTargetSinkTable = {
    SinkVersion,          SinkSetLevel, SinkGetLevel,   SinkSetGroups,
    SinkGetIncludeGroups, SinkGetExcludeGroups, SinkName, SinkLineFormat,
    SinkAttach,           SinkDetach,   SinkIsAttached, SinkWrite,
};

}  // namespace

LogTarget::LogTarget() : slot_{kTargetSinkTable, this} {
  lineFormat_ = FrameworkAllocator::DuplicateText(kDefaultLogLineFormat);
}

LogTarget::~LogTarget() {
  LogTarget::Detach();
  FrameworkAllocator::Free(lineFormat_);
}

LogTarget* LogTarget::FromSink(LogSink* sink) { return reinterpret_cast<SinkSlot*>(sink)->owner; }

void LogTarget::Detach() {
  LogManager& manager = LogManager::Object();
  platform::CriticalSectionGuard guard(manager.Lock());
  if (!IsAttached()) return;
  MarkAttached(false);
  manager.RemoveSink(Sink());
}

void LogTarget::Attach() {
  LogManager& manager = LogManager::Object();
  platform::CriticalSectionGuard guard(manager.Lock());
  if (IsAttached()) return;
  manager.AppendSink(Sink());
  MarkAttached(true);
}

bool LogTarget::IsAttached() const { return attached_.load(std::memory_order_relaxed); }

const char* LogTarget::Name() const { return kLogTargetName; }

const char* LogTarget::LineFormatFor(const LogRecord&) const {
  return lineFormat_ != nullptr ? lineFormat_ : "";
}

void LogTarget::SetLevel(LogLevel level) {
  platform::CriticalSectionGuard guard(lock_);
  level_ = level;
}

LogLevel LogTarget::Level() const {
  platform::CriticalSectionGuard guard(lock_);
  return level_;
}

void LogTarget::SetGroups(LogGroupMask include, LogGroupMask exclude) {
  platform::CriticalSectionGuard guard(lock_);
  includeGroups_ = include & ~exclude;
  excludeGroups_ = exclude;
}

LogGroupMask LogTarget::IncludeGroups() const {
  platform::CriticalSectionGuard guard(lock_);
  return includeGroups_;
}

LogGroupMask LogTarget::ExcludeGroups() const {
  platform::CriticalSectionGuard guard(lock_);
  return excludeGroups_;
}

void LogTarget::SetLineFormat(const char* lineFormat) {
  if (lineFormat == nullptr) return;
  char* copy = FrameworkAllocator::DuplicateText(lineFormat);
  if (copy == nullptr) return;
  platform::CriticalSectionGuard guard(lock_);
  FrameworkAllocator::Free(lineFormat_);
  lineFormat_ = copy;
}

void LogTarget::Apply(const LogTargetSettings& settings) {
  Detach();
  SetLevel(settings.level);
  SetGroups(settings.includeGroups, settings.excludeGroups);
  SetLineFormat(settings.lineFormat);
  Attach();
}

}  // namespace zun
