// The table from tokenizer error codes to the system's error texts.
#include "formats/json_messages.h"

namespace zun {

const char* JsonErrorText(rapidjson::ParseErrorCode code) {
  switch (code) {
    case rapidjson::kParseErrorNone: return "No error.";
    case rapidjson::kParseErrorDocumentEmpty: return "The document is empty.";
    case rapidjson::kParseErrorDocumentRootNotSingular: return kJsonTextRootNotSingular;
    case rapidjson::kParseErrorValueInvalid: return kJsonTextInvalidValue;
    case rapidjson::kParseErrorObjectMissName: return kJsonTextMissName;
    case rapidjson::kParseErrorObjectMissColon: return kJsonTextMissColon;
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket: return kJsonTextMissCommaOrBrace;
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket: return kJsonTextMissCommaOrBracket;
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex: return kJsonTextBadHexEscape;
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid: return kJsonTextBadSurrogate;
    case rapidjson::kParseErrorStringEscapeInvalid: return kJsonTextBadEscape;
    case rapidjson::kParseErrorStringMissQuotationMark: return kJsonTextMissQuote;
    case rapidjson::kParseErrorStringInvalidEncoding: return kJsonTextBadEncoding;
    case rapidjson::kParseErrorNumberTooBig: return kJsonTextNumberTooBig;
    case rapidjson::kParseErrorNumberMissFraction: return kJsonTextMissFraction;
    case rapidjson::kParseErrorNumberMissExponent: return kJsonTextMissExponent;
    case rapidjson::kParseErrorTermination: return kJsonTextTermination;
    case rapidjson::kParseErrorUnspecificSyntaxError: return kJsonTextUnspecific;
  }
  return kJsonTextUnknown;
}

}  // namespace zun
