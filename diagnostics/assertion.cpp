// Assertion report texts and their layout.
#include "diagnostics/assertion.h"

#include <cstdio>

#include "diagnostics/log_message.h"
#include "diagnostics/log_record.h"

namespace zun {

namespace {

constexpr const char* kAssertionHeading = "Assertion failed!\n\n";
constexpr const char* kFileLabel = "File: ";
constexpr const char* kLineLabel = "Line: ";
constexpr const char* kFunctionLabel = "Function: ";
constexpr const char* kExpressionLabel = "Expression: ";
constexpr const char* kDescriptionLabel = "\n\nDescription: ";

bool Present(const char* text) { return text != nullptr && text[0] != '\0'; }

class ReportWriter {
 public:
  ReportWriter(char* buffer, size_t size) : buffer_(buffer), size_(size) { Terminate(); }

  void Put(const char* text) {
    for (; *text != '\0' && length_ + 1 < size_; ++text) buffer_[length_++] = *text;
    Terminate();
  }
  void PutNumber(uint32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof(digits), "%u", value);
    Put(digits);
  }
  [[nodiscard]] size_t Length() const { return length_; }

 private:
  void Terminate() {
    if (size_ > 0) buffer_[length_] = '\0';
  }

  char* buffer_;
  size_t size_;
  size_t length_ = 0;
};

}  // namespace

size_t FormatAssertionReport(char* buffer, size_t size, const char* expression, const char* description,
                             const char* file, uint32_t line, const char* function) {
  ReportWriter report(buffer, size);
  report.Put(kAssertionHeading);
  if (Present(file)) {
    report.Put(kFileLabel);
    report.Put(file);
    report.Put("\n");
  }
  if (line != 0) {
    report.Put(kLineLabel);
    report.PutNumber(line);
    report.Put("\n\n");
  }
  if (Present(function)) {
    report.Put(kFunctionLabel);
    report.Put(function);
    report.Put("\n\n");
  }
  if (Present(expression)) {
    report.Put(kExpressionLabel);
    report.Put(expression);
  }
  if (Present(description)) {
    report.Put(kDescriptionLabel);
    report.Put(description);
  }
  return report.Length();
}

void ReportAssertion(const char* expression, const char* description, const char* file, uint32_t line,
                     const char* function) {
  char report[kLogMessageCapacity];
  FormatAssertionReport(report, sizeof(report), expression, description, file, line, function);
  LogMessage(LogLevel::Error, log_groups::DBG, "%s", report);
}

}  // namespace zun
