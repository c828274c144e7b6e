// The command-line splitter over wide, narrow-copied and ANSI texts.
#include "fuzz/FuzzSupport.h"
#include "common/ArgumentSplitting.h"

using namespace vexal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::bytesOf(data, size);
    const std::u16string wide = fuzz::utf16Of(bytes);

    ArgumentList list;
    splitArgumentText(wide, list);
    std::size_t total = 0;
    for (const std::u16string& argument : list) {
        total += argument.size();
        narrowArgument(argument);
    }
    // Splitting only removes separators and quotes.
    FUZZ_CHECK(total <= wide.size());

    NarrowArgumentList narrow;
    splitNarrowText(wide, narrow);
    FUZZ_CHECK(narrow.size() == list.size());

    NarrowArgumentList ansi;
    splitAnsiText(bytes, ansi);
    return 0;
}
