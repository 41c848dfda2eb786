#pragma once

// The settings document: UTF-8 text, `name = value` lines in the areas' order, after a header of
// "#" comments (device name, firmware, date). Blank lines and lines whose first non-blank
// character is "#" are ignored. A value keeps its inner blanks; one that begins or ends with a
// blank, or begins with a double quote, is written in double quotes, and a value in a pair of
// double quotes is read without them.

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Fields.h"

namespace kx::cli {

// One setting of a document, already checked.
struct DocumentValue {
    std::size_t line = 0;  // 1-based
    const Field* field = nullptr;
    FieldValue value;
    // A password given as the mask `show` prints: not a value, the adapter's is kept.
    bool masked = false;
};

// The fields whose labels the adapter's replies lacked: their values are unknown.
using MissingFields = std::set<const Field*>;

struct DocumentError {
    std::size_t line = 0;  // 0 when the error is not about a line
    std::string message;   // kxctl's English
    std::string japanese;  // the program's
};

// Parses and checks every line: an unknown name, a name given twice, a line without "=" or a
// value the field's check refuses is an error naming its line. Stops at the first error.
std::optional<std::vector<DocumentValue>> parseDocument(std::string_view text,
                                                        DocumentError& error);

// A whole document as a file holds it: a leading byte-order mark skipped, then parsed as
// parseDocument does. A document with no line, or none but comments, is an error of line 0
// ("is empty: not a settings document", "holds no settings (no name = value line)").
std::optional<std::vector<DocumentValue>> readDocumentText(std::string_view text,
                                                           DocumentError& error);

// One `name = value` line of a NAME=VALUE argument of `set` (no line number).
std::optional<DocumentValue> parseAssignment(std::string_view text, DocumentError& error);

// The document of `records` for the fields of `areas` (all when empty), with the header lines
// given (each written after "# "). A read-only item is a comment line
// ("# router.hardwareAddress = ...  (read-only)"), and so is an item the adapter did not
// report ("# name: not reported by the adapter"): neither is restored.
std::string writeDocument(const Records& records, const std::vector<std::string>& areas,
                          const std::vector<std::string>& header,
                          const MissingFields& missing = {});

// "name = value" lines of `areas` (all when empty), as `show` prints them: passwords masked
// (a backup document holds them), an item the adapter did not report as its comment line.
std::string showLines(const Records& records, const std::vector<std::string>& areas,
                      const MissingFields& missing = {});

// The comment line of an item the adapter did not report, without its line end.
std::string missingLine(const Field& field);

// `text` fit to be written in a message on one line: control bytes and bytes that are not
// valid UTF-8 escaped ("\x1B", "\xFF"), valid UTF-8 as it is.
std::string messageText(std::string_view text);

// Whether `field` belongs to one of `areas` (all when empty).
bool inAreas(const Field& field, const std::vector<std::string>& areas);

}  // namespace kx::cli
