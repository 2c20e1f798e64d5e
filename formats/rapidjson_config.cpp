// The failure path of the tokenizer's internal checks.
#include "formats/rapidjson_config.h"

#include "diagnostics/assertion.h"

namespace zun {

void FailRapidJsonCheck(const char* condition, const char* file, unsigned line) {
  ReportAssertion(condition, "JSON tokenizer check failed", file, line, "RAPIDJSON_ASSERT");
  throw RapidJsonCheckFailure(condition);
}

}  // namespace zun
