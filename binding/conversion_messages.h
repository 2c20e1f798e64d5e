// Message texts of the conversions between values and native records, with
// their placeholders. Tests pin them by name and by exact text.
#pragma once

namespace zun::conversion_messages {

// %1 path.
inline constexpr char kRequired[] = "A value for '%1' is required.";

// %1 the text, %2 path.
inline constexpr char kBoolFormat[] =
    "Value %1 for '%2' of type bool is in an incorrect format. Options are \"true\", \"false\", "
    "\"1\", \"0\".";
// %1 path, %2 kind name.
inline constexpr char kBoolInvalidType[] =
    "Couldn't assign value to '%1' of type bool because the input is of an invalid type %2.";

// Numbers. %1 the value as the input has it, %2 path, %3 type name. Neither
// ends with a full stop.
inline constexpr char kNumberFormat[] = "Value %1 for '%2' of type %3 is in an incorrect format";
inline constexpr char kNumberRange[] = "Value %1 for '%2' of type %3 is out of range";
// %1 path, %2 type name, %3 kind name.
inline constexpr char kNumberInvalidType[] =
    "Couldn't assign value to '%1' of type %2 because the input is of an invalid type %3.";

// %1 path.
inline constexpr char kTextInvalidType[] =
    "Couldn't assign value to '%1' because the input is not a string.";
// %1 the enumeration value, %2 path.
inline constexpr char kTextEnumValue[] = "%1 is not a valid enumeration value for '%2'.";

// %1 path.
inline constexpr char kBlobCharacters[] =
    "Couldn't assign string value to '%1' of type blob because the input has invalid base64 "
    "characters.";
inline constexpr char kBlobInvalidType[] =
    "Couldn't assign value to '%1' of type blob because the input is not a blob.";

// %1 path, %2 kind name.
inline constexpr char kEnumInvalidType[] =
    "Couldn't assign value to '%1' of enum type because the input is of an invalid type %2.";
// %1 the number or the text as given, %2 the enumeration's name, %3 path.
inline constexpr char kEnumValue[] = "%1 is not a valid %2 enumeration value for '%3'.";

// %1 path.
inline constexpr char kStructUnregistered[] =
    "Couldn't assign value to '%1' because the input is an unregistered structure or not a "
    "structure at all.";
// %1 path, %2 the record's name.
inline constexpr char kStructNotStructure[] =
    "Couldn't assign value to '%1' of type %2 because the input not a structure.";
// %1 path, %2 the record's name, %3 the member's name.
inline constexpr char kStructMissingRequired[] =
    "Couldn't assign value to '%1' of type %2 because the input structure doesn't have required "
    "field '%3'.";

// %1 path.
inline constexpr char kVectorNotCollection[] =
    "Couldn't assign value to '%1' of type vector because the input not a collection.";
inline constexpr char kMapNotStructure[] =
    "Couldn't assign value to '%1' of type map because the input not a structure.";

// Native to value: a record, or a member's record or enumeration, whose type
// is not registered.
inline constexpr char kValueUnregistered[] =
    "Couldn't convert native value because it's an unregistered structure.";

}  // namespace zun::conversion_messages
