// The built-in targets: standard error, standard output and the debugger's
// output, over a common base that renders the line under the target's lock.
#pragma once

#include "diagnostics/log_target.h"

namespace zun {

inline constexpr const char* kConsoleLineFormat = "#E(#T): #L| #M";
inline constexpr const char* kPlainLineFormat = "#M";
inline constexpr size_t kLogLineCapacity = 4096;

class BaseConsoleLogTarget : public LogTarget {
 public:
  [[nodiscard]] const char* Name() const override;
  // Renders the record with its line format, then outputs and flushes the
  // line, all under the target's lock.
  bool Write(const LogRecord& record) final;
  virtual void Flush() = 0;

 protected:
  virtual void Output(const char* line) = 0;
};

class StdErrLogTarget final : public BaseConsoleLogTarget {
 public:
  StdErrLogTarget();
  ~StdErrLogTarget() override;
  [[nodiscard]] const char* Name() const override;
  void Flush() override;

 protected:
  void Output(const char* line) override;
};

class StdOutLogTarget final : public BaseConsoleLogTarget {
 public:
  StdOutLogTarget();
  ~StdOutLogTarget() override;
  [[nodiscard]] const char* Name() const override;
  void Flush() override;

 protected:
  void Output(const char* line) override;
};

class DebuggerConsoleLogTarget final : public BaseConsoleLogTarget {
 public:
  DebuggerConsoleLogTarget();
  ~DebuggerConsoleLogTarget() override;
  [[nodiscard]] const char* Name() const override;
  // The debugger output keeps nothing back.
  void Flush() override {}

 protected:
  void Output(const char* line) override;
};

}  // namespace zun
