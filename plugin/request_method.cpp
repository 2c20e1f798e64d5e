// Request method names.
#include "plugin/request_method.h"

namespace zun {

namespace {
constexpr const char* kMethodNames[] = {"", "DELETE", "GET", "HEAD", "OPTIONS", "PATCH", "POST", "PUT"};
constexpr uint32_t kMethodNameCount = sizeof(kMethodNames) / sizeof(kMethodNames[0]);
}  // namespace

const char* RequestMethodName(uint32_t method) { return method < kMethodNameCount ? kMethodNames[method] : ""; }

uint32_t RequestMethodCode(uint32_t method) { return method <= kRequestMethodOther ? method : 0; }

}  // namespace zun
