#pragma once

#include "base/CodePage.h"
#include "json/Value.h"

#include <cstddef>
#include <string>

namespace velkaro::json {

// Why a body was not JSON: where the parser stopped (a byte offset in the body after code page
// decoding) and a short Spanish description.
struct ParseFailure {
    std::size_t offset = 0;
    std::string reason;
};

// Parses a reply body into its document root, or an absent value when the body is not JSON.
//
// The body is UTF-8; each run of bytes that is not valid UTF-8 reads in `codePage` (servers written
// for Windows send either, often mixed). A leading UTF-8 byte order mark is skipped. The first
// complete JSON value is the document and any text after it is ignored; the parser does not recurse,
// so any depth of nesting is safe. \u escapes, surrogate pairs included, are decoded; an unpaired
// low surrogate becomes U+FFFD (an unpaired high one makes the text not JSON). A member name that
// occurs twice in an object keeps the value of its last occurrence. Numbers convert correctly
// rounded; one too small for a double reads as 0, one beyond its range makes the text not JSON.
//
// The body is taken over as the document's storage (move it in to avoid a copy). When `failure` is
// given it receives the reason of a failed parse. Throws velkaro::Error for a body of 4 GiB or more.
[[nodiscard]] Value parse(std::string body, CodePage codePage = userCodePage(),
                          ParseFailure* failure = nullptr);

} // namespace velkaro::json
