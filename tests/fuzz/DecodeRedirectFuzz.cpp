// Fuzz target: the decoding of redirect targets over any text.
#include <cstddef>
#include <cstdint>

#include "search/ResultPageRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto decoded = ResultPageRules::DecodeRedirectTarget(text)) {
        // The decoding never makes a text longer than its input.
        if (decoded->size() > text.size()) {
            __builtin_trap();
        }
    }
    (void)ResultPageRules::TypeOfLink(text);
    return 0;
}
