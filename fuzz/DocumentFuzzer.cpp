// kxctl's settings document reader (`restore`, `diff`, `set NAME=VALUE`) fed any bytes as a
// document. Besides crashes and sanitizer reports it checks what `backup` and `restore` rely
// on: an error names a line of the document; a document that reads is stored over the
// emulated adapter's settings (as `restore` stores it over what it read), written out, and that
// text reads again to the same records and is written out the same (a backup always restores);
// every line written is a comment, blank, or one "name = value" with no CR, LF or other control
// byte in it, so a value can never start a second line.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/program/AllAreas.h"
#include "cli/Document.h"
#include "cli/Kxctl.h"
#include "fuzz/FuzzCheck.h"

namespace {

using kx::cli::DocumentError;
using kx::cli::DocumentValue;
using kx::cli::Records;

std::size_t lineCount(std::string_view text) {
    std::size_t lines = 0;
    for (std::size_t at = 0; at < text.size(); ++lines) {
        const std::size_t end = text.find('\n', at);
        at = end == std::string_view::npos ? text.size() : end + 1;
    }
    return lines;
}

// What the emulated adapter holds when it starts, as `kxctl --demo backup` reads it.
Records base;

// The document's values laid over `base`, as a restore lays them (a read-only item is never
// stored: a backup keeps it as a comment line).
Records stored(const std::vector<DocumentValue>& values) {
    Records records = base;
    for (const DocumentValue& value : values)
        if (!value.field->readOnly)
            kx::cli::storeValue(*value.field, value.value, records);
    return records;
}

void checkWritten(std::string_view text) {
    kx::fuzz::check(text.empty() || text.back() == '\n', "a written document ends mid-line");
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        for (char c : line)
            kx::fuzz::check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f,
                            "a control byte inside a written line");
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find(" = ");
        kx::fuzz::check(equals != std::string_view::npos && equals > 0,
                        "a written line that is not \"name = value\"");
        kx::fuzz::check(kx::cli::findField(line.substr(0, equals)) != nullptr,
                        "a written line with an unknown name");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kx-document-fuzz-" + std::to_string(::getpid()) + ".txt"))
                                 .string();
    std::ostringstream out;
    std::ostringstream err;
    std::vector<std::string> args{"--demo", "--quiet", "backup", path};
    for (const kx::area::AreaModule* module : kx::allModules()) args.emplace_back(module->name);
    const int status = kx::cli::runKxctl(args, out, err);
    std::ifstream in(path, std::ios::binary);
    const std::string backup(std::istreambuf_iterator<char>(in), {});
    std::filesystem::remove(path);
    if (status != kx::cli::kExitOk) {
        std::fprintf(stderr, "%s", err.str().c_str());
        kx::fuzz::fail("kxctl --demo backup failed");
    }
    DocumentError error;
    const auto values = kx::cli::parseDocument(backup, error);
    kx::fuzz::check(values.has_value(), "the emulated adapter's backup does not read");
    base = stored(*values);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DocumentError error;
    const auto values = kx::cli::parseDocument(text, error);
    if (!values) {
        kx::fuzz::check(!error.message.empty() && !error.japanese.empty(),
                        "a refused document without a reason in both languages");
        kx::fuzz::check(error.line >= 1 && error.line <= lineCount(text),
                        "an error outside the document's lines");
        kx::fuzz::check(error.message.find('\n') == std::string::npos,
                        "an error message of more than one line");
        return 0;
    }
    std::size_t previous = 0;
    for (const DocumentValue& value : *values) {
        kx::fuzz::check(value.field != nullptr, "a value without its field");
        kx::fuzz::check(value.line > previous && value.line <= lineCount(text),
                        "values out of the document's line order");
        previous = value.line;
        if (value.field->isText())
            for (char c : value.value.text)
                kx::fuzz::check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f,
                                "a control byte inside a text value read");
    }

    const Records first = stored(*values);
    const std::string written = kx::cli::writeDocument(first, {}, {"fuzz"});
    checkWritten(written);

    DocumentError again;
    const auto reread = kx::cli::parseDocument(written, again);
    if (!reread) {
        std::fprintf(stderr, "line %zu: %s\n", again.line, again.message.c_str());
        kx::fuzz::fail("a written document does not read back");
    }
    const Records second = stored(*reread);
    kx::fuzz::check(second == first, "a written document reads back to other records");
    kx::fuzz::check(kx::cli::writeDocument(second, {}, {"fuzz"}) == written,
                    "a document read back is written out differently");
    return 0;
}
